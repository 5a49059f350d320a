#pragma once

#include "runtime/lifetime.h"
#include "storage/page_settings.h"
#include "typing/hot_key.h"
#include "typing/typing_engine.h"
#include "window_timer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

class Window;
class WorkQueue;

// The hot key that types the next applicant into another program, and the
// sequence it types: taken from the 配置 page, kept in the information
// file. A line in the status bar says which group is next, which one a
// press typed, or why a press typed nothing, with a sound; no box comes up
// in front of the page the user types into.
class HotKeyTyping {
public:
    // `keyboard`: the desktop's, or none where it allows no typing.
    HotKeyTyping(Window& window, WorkQueue& files, std::string file,
                 std::unique_ptr<Keyboard> keyboard);
    // Gives the hot key back.
    ~HotKeyTyping();
    HotKeyTyping(const HotKeyTyping&) = delete;
    HotKeyTyping& operator=(const HotKeyTyping&) = delete;

    // At start, before the window is shown: the settings into their boxes,
    // the hot key taken.
    void Start(const PageSettings& settings);
    // "设置": takes the hot key and the sequence in their boxes and stores
    // them, or says what is wrong with them.
    void OnSetClicked();
    // A press of the hot key: types the next group into the focused window
    // of another program and greys its copy buttons once it arrived.
    void OnHotKey();
    // The line: which group a press types next.
    void ShowNext();
    // A group changed (a field, a copy, a restore): the line follows once
    // the change is done, so that a load of 75 fields looks for the next
    // group once, not 75 times.
    void OnGroupChanged();

    // A rehearsal's presses: each types the group `next` gives (none: the
    // rehearsal said why not) into the practice form, and what it typed
    // goes to `typed` once some keys went; no group is marked used.
    struct Practice {
        std::function<std::optional<int>()> next;
        std::function<void(int group, const std::vector<SequenceStep>& filled,
                           const TypingReport& report)>
            typed;
    };
    void Practise(Practice practice);
    void EndPractice();
    // The line while practising: what the rehearsal waits for or found.
    void ShowPracticeLine(const std::string& line, const std::string& tip, bool refused);
    // A line that stays `shown` milliseconds before the next group's.
    void Say(const std::string& line, const std::string& tip, int shown) {
        Tell(line, tip, false, shown);
    }
    // Why a press would type nothing now (no key in force, no sequence);
    // none when it can.
    std::optional<std::string> NotReady() const;
    const std::vector<SequenceStep>& Sequence() const { return sequence_; }
    const std::string& KeyText() const { return keyText_; }

private:
    bool TakeTyping();
    Result<> Grab(const HotKey& key);
    void OnTyped(int group, const std::vector<SequenceStep>& filled, const TypingReport& report,
                 bool practising);
    void Tell(const std::string& line, const std::string& tip, bool refused,
              int shown = kLineShown);
    void ShowNextLater(int shown);

    // How long a press's line stays before the line shows the next group
    // again.
    static constexpr int kLineShown = 4000;

    Window& window_;
    WorkQueue& files_;
    const std::string file_;
    std::unique_ptr<Keyboard> keyboard_;
    WindowTimer timer_;
    std::unique_ptr<TypingEngine> engine_;
    std::vector<SequenceStep> sequence_;
    HotKey key_;
    std::string keyText_;      // the key taken, as the file keeps it
    std::string sequenceText_; // the sequence taken, as the file keeps it
    std::string notInForce_;   // why the hot key is not in force; empty while it is
    bool nextPending_ = false; // OnGroupChanged's look is under way
    int told_ = 0;             // only the latest line goes back to the next group
    std::optional<Practice> practice_;
    std::string practiceLine_;
    std::string practiceTip_;
    Lifetime lifetime_; // last, so that its steps end before the members go
};

} // namespace orvane
