#pragma once

#include "answer_facts.h"
#include "offset_interval.h"
#include "turn_tracks.h"

#include <cstdint>
#include <deque>
#include <optional>

namespace orvane {

// Where a lookup is aimed: at the estimated second boundary, or a little
// after or before it, where a second clock ahead of or behind the estimate
// would give itself away.
enum class Probe { Centre, Ahead, Behind };

// The server's clock, estimated from the whole-second Date of its answers.
// The server stamped the answer between the moment the request left and the
// moment it came back, so one answer puts the offset (server time minus
// monotonic time) within [Date - received, Date + 1 - sent]: the certain
// interval. Each way takes at least half the shortest round trip seen, which
// narrows that to the likely interval. Answers are intersected; a request
// that reaches the server right at the estimated second boundary halves what
// is left, so a few answers pin the offset to milliseconds.
//
// A Date may lag its server's clock (a stale stamp) but never lead it. An
// answer that contradicts the likely interval teaches how stale stamps can
// be and widens every upper bound by it, so that the estimate follows the
// clock that is furthest ahead. Lags beyond what a stale stamp can be are a second clock
// behind the same name: the bound then covers it. An answer ahead of the
// certain interval (a step, or another machine) starts everything over, as
// does one far behind it.
//
// Two machines that answer in turn are told apart by the turns (TurnTracks):
// once their tracks lie apart, the estimate follows the one ahead and the
// bound reaches the one behind. Until the turns agree or lie apart the check
// is running: the bound covers all they allow.
//
// Machines of a pool answer in no order. Whatever the rest concludes, the
// bound reaches what the answers prove (AnswerFacts): a clock at least as
// far ahead as their greatest lower edge, one at least as far behind as
// their least upper edge. Once those lie apart and the turns do not explain
// it, the time shown is where the answers put the clock ahead.
class ClockEstimator {
public:
    void AddAnswer(Seconds sentAt, Seconds receivedAt, std::int64_t serverSecond);
    // A lookup failed: the server may still have counted its turn.
    void Missed();

    bool HasEstimate() const { return !answers_.empty(); }
    // The server's time at a monotonic moment; nothing before the first
    // answer.
    std::optional<Seconds> ServerTimeAt(Seconds at) const;
    // How far the server's time at that moment can be from the estimate:
    // from the time shown to the farther edge of the certain interval, grown
    // by the clocks' drift since, and covering a second clock's time.
    Seconds UncertaintyAt(Seconds at) const;
    // Narrow enough to stop refining: by default within 5 ms either way, as
    // the display changes its second within that.
    bool ConvergedAt(Seconds at, Seconds width = 0.010) const;
    Seconds LastAnswerAt() const { return updatedAt_; }
    int Restarts() const { return restarts_; }
    // How far apart the server's clocks were seen; 0 while one clock
    // answers.
    Seconds DisagreementAt(Seconds at) const;
    // The machines the answers prove: one, or at least two (in turn or at
    // random), the estimate then following the one ahead.
    int Machines() const { return tracks_.Apart() || Pool() ? 2 : 1; }
    // Both turns' answers have narrowed their clocks to one place, or to two
    // apart: until then another clock may hide in what they allow.
    bool Checked() const;
    // The direction a probe found another clock in, while the search goes
    // on there.
    std::optional<Probe> Search() const { return tracks_.Apart() ? std::nullopt : search_; }
    // The last answer moved a stale server's estimate up: more lookups just
    // above it may move it further.
    bool Rising() const { return rising_ && !tracks_.Apart(); }

    // The first moment not before `earliest` at which a request should
    // leave so that it reaches the server at one of its second boundaries,
    // or as far off it as the probe asks.
    Seconds AimedSendTime(Seconds earliest, Probe probe = Probe::Centre) const;

private:
    using Interval = OffsetInterval;
    struct Answer {
        Seconds sentAt = 0;
        Seconds receivedAt = 0;
        std::int64_t second = 0;
    };
    Interval CertainOf(const Answer& answer) const;
    Interval LikelyOf(const Answer& answer) const;
    void Rebuild(Seconds at);
    void Weigh(const Answer& answer);
    void Ahead(Seconds gap, Seconds farthest, Seconds at);
    Seconds AheadSeenAt(Seconds at) const;
    Seconds CombinedUncertaintyAt(Seconds at) const;
    bool Pool() const;
    Seconds ProvenAt(Seconds at) const;
    void Behind(Seconds gap);
    void Staler(Seconds gap);
    void Searching(Probe direction, Seconds& step);
    void Restart();
    // The offset shown, and the narrowest interval it stands for.
    Interval Shown() const;
    Seconds ShownOffset() const;
    Seconds Target(Probe probe) const;
    Seconds TurnTarget(Seconds target, Probe probe) const;

    std::deque<Answer> answers_; // since the last restart, the latest last
    Interval certain_;           // holds the offset whatever the network did
    Interval likely_;            // holds it if each way takes its least
    Seconds updatedAt_ = 0;
    Seconds shortestRoundTrip_ = 1e9;
    Seconds lastRoundTrip_ = 0;
    int restarts_ = 0;
    Seconds restartGap_ = 0; // how far the last restart's answer was off
    Seconds staleness_ = 0;  // how far the server's Dates have lagged its clock
    // How far the probes aim past the estimate, ahead and behind the
    // staleness seen.
    Seconds aheadStep_ = 0.002;
    Seconds behindStep_ = 0.004;
    bool rising_ = false;
    std::optional<Probe> search_;
    int searchMisses_ = 0;
    bool anotherClock_ = false;
    Seconds aheadSeen_ = 0; // how far ahead a second clock may be, when last seen
    Seconds aheadSeenAt_ = -1e18;
    TurnTracks tracks_;
    AnswerFacts facts_;
};

} // namespace orvane
