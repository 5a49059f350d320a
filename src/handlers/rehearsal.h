#pragma once

#include "process/child_process.h"
#include "rehearsal/press_check.h"
#include "runtime/lifetime.h"
#include "runtime/result.h"
#include "typing/typing_engine.h"
#include "window/practice_layout.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

class ClockDisplay;
class HotKeyTyping;
class Window;
class WorkQueue;

// The practice form as a rehearsal speaks to it: lines out, and lines in
// on any thread until it has ended.
class PracticeChannel {
public:
    virtual ~PracticeChannel() = default;
    virtual bool Send(const std::string& line) = 0;
};

using PracticeStarter = std::function<Result<std::unique_ptr<PracticeChannel>>(
    const std::vector<PracticeBox>& boxes, LineHandler line, std::function<void()> ended)>;

// The form in a process of its own: `program` (this one by default),
// started as a practice form.
PracticeStarter PracticeProcess(std::string program = {});

// "演练": the hot key tried on a practice form before the opening. The
// status bar counts down 15 s to a practice opening as to a real one; then
// each press types the next group into the form, whose boxes say what
// arrived, and one line per press tells whether it arrived as typed and how
// fast, or what differs and why. No group is marked used. Once every group
// was typed or the form is closed, a verdict for the day goes to the status
// bar and the failure log, without any applicant's data.
class Rehearsal {
public:
    // `lead`: how long the countdown to the practice opening runs.
    Rehearsal(Window& window, ClockDisplay& clock, HotKeyTyping& typing, WorkQueue& files,
              PracticeStarter start = PracticeProcess(), std::chrono::seconds lead = kLeadTime);
    ~Rehearsal();
    Rehearsal(const Rehearsal&) = delete;
    Rehearsal& operator=(const Rehearsal&) = delete;

    void OnRehearseClicked();

    static constexpr std::chrono::seconds kLeadTime{15};
    // No rehearsal this near the real opening: it would take the hot key
    // and the countdown.
    static constexpr std::chrono::seconds kOpeningMargin{120};

private:
    struct Press {
        int group = 0;
        std::vector<BoxCheck> boxes;
        std::chrono::steady_clock::time_point released;
        std::chrono::steady_clock::time_point checkBy;
    };

    std::optional<std::string> Refusal() const;
    void Begin(const std::vector<PracticeBox>& boxes);
    void OnOpening();
    std::optional<int> NextPress();
    void OnTyped(int group, const std::vector<SequenceStep>& filled, const TypingReport& report);
    void OnFormLine(const std::string& line);
    void CheckWhenSettled();
    void Check();
    void OnFormEnded();
    void Finish();
    void Show(const std::string& line, const std::string& tip, bool refused);

    Window& window_;
    ClockDisplay& clock_;
    HotKeyTyping& typing_;
    WorkQueue& files_;
    const PracticeStarter start_;
    const std::chrono::seconds lead_;
    std::unique_ptr<PracticeChannel> form_;
    std::vector<int> groups_; // the groups the presses type, in order
    size_t typed_ = 0;        // of them
    bool opened_ = false;
    bool finished_ = false;      // the verdict told; the form may still show it
    std::optional<Press> press_; // typed, its check to come
    std::vector<std::string> arrived_;
    std::optional<std::chrono::steady_clock::time_point> lastArrival_;
    std::vector<PressCheck> checks_;
    Lifetime formLife_; // what the form says reaches the rehearsal it was opened for
    Lifetime lifetime_; // last, so that its steps end before the members go
};

} // namespace orvane
