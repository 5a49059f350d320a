#pragma once

#include "clock_estimator.h"
#include "http/request_service.h"
#include "lookup_plan.h"
#include "runtime/lifetime.h"
#include "runtime/result.h"
#include "runtime/work_queue.h"
#include "shown_second.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace orvane {

// The server's clock for the status bar. Lookups (HEAD requests for the Date
// header) run on a queue of their own, at most one at a time, each leaving at
// the moment the plan aims it at; answers come back on the window's thread,
// where everything else here runs.
class NetClock {
public:
    using AnswerHandler = std::function<void()>;

    // `onAnswer` runs on the window's thread after each lookup.
    NetClock(std::string url, WorkQueue::PostFunction postToWindow, AnswerHandler onAnswer);
    // Cancels the lookup under way and waits for its thread.
    ~NetClock();
    NetClock(const NetClock&) = delete;
    NetClock& operator=(const NetClock&) = delete;

    // The clock all estimates are on.
    static MachineTime Now();

    // On every tick of the display, and after each answer: queues the next
    // lookup once it is due within a second and none is under way.
    void Tick();

    // The panel's text now: the Beijing time, or what is being done for it.
    // The second shown never goes back (ShownSecond).
    std::string PanelText();
    // The second of the server's clock that PanelText showed last; none
    // while it showed no time.
    std::optional<std::int64_t> LastShownSecond() const { return lastShown_; }
    // Which server the clock follows, how old and how narrow the estimate
    // is, and how far this computer's clock is from it.
    std::string PanelTip() const;
    // When the shown second changes next; nothing without an estimate.
    std::optional<MachineTime> NextChangeAt() const;

    const ClockEstimator& Estimate() const { return clock_; }

private:
    struct Answer {
        MachineTime sentAt;
        MachineTime receivedAt;
        Result<std::int64_t> serverSecond = Failure{};
    };
    Answer Lookup(MachineTime sendAt);
    bool WaitUntil(MachineTime at);
    bool StuckDate(const Answer& answer);
    void Take(Answer answer);
    void LogChange(const std::string& failure);
    std::string ClocksText() const;

    const std::string url_;
    AnswerHandler onAnswer_;
    ClockEstimator clock_;
    LookupPlan plan_;
    bool inFlight_ = false;
    std::string lastFailure_;              // of the latest lookup; empty when it was answered
    std::string loggedFailure_;            // the queue's: the latest failure logged
    std::optional<std::int64_t> lastDate_; // the latest Date, and when it first came
    MachineTime lastDateAt_;
    ShownSecond shown_;
    std::optional<std::int64_t> lastShown_;
    SharedRequest request_; // one connection, kept for the timing
    Lifetime lifetime_;     // answers come only while this lives
    std::mutex mutex_;
    std::condition_variable stopped_;
    std::atomic<bool> stopping_ = false;
    WorkQueue queue_; // last: its thread ends before the rest goes
};

} // namespace orvane
