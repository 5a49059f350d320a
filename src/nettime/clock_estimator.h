#pragma once

#include "answer_facts.h"
#include "offset_interval.h"
#include "turn_tracks.h"

#include <cstdint>
#include <optional>

namespace orvane {

// Where a lookup is aimed: at the estimated second boundary, or a little
// past the clocks found ahead or behind, where another clock would give
// itself away.
enum class Probe { Centre, Ahead, Behind };

// The server's clock, estimated from the whole-second Date of its answers
// (AnswerFacts). The server stamped an answer between the moment the request
// left and the moment it came back, so each answer bounds the offset of the
// machine that gave it; a request that reaches the server right at the
// estimated second boundary halves what is left, so a few answers pin a
// clock to milliseconds.
//
// Behind one name there may be a pool of machines, each lookup answered by
// any of them. The time shown follows the clock ahead, the earliest the
// opening can be accepted; the bound covers every clock the answers allow,
// from the furthest behind to the furthest ahead. Once the answers cross,
// the pool is proven: lookups step past the clock ahead's lower edge and
// short of the clock behind's upper, closing in on each, and its far edge
// is taken where enough "not yet"s (or "passed") agree that a clock of the
// pool answering at random would have given one otherwise. Two machines
// that answer in turn are told apart by their turns (TurnTracks), once
// enough answers aimed between them have kept to the turns, which narrows
// each as fast as one clock.
class ClockEstimator {
public:
    void AddAnswer(MachineTime sentAt, MachineTime receivedAt, std::int64_t serverSecond);
    // A lookup failed: the server may still have counted its turn.
    void Missed();

    bool HasEstimate() const { return !facts_.Empty(); }
    // The server's time at a monotonic moment; nothing before the first
    // answer.
    std::optional<ServerTime> ServerTimeAt(MachineTime at) const;
    // How far any of the server's clocks can be from the time shown at that
    // moment, grown by the clocks' drift since the last answer.
    Seconds UncertaintyAt(MachineTime at) const;
    // The clocks found are pinned within `width` (by default 10 ms).
    bool ConvergedAt(MachineTime at, Seconds width = std::chrono::milliseconds(10)) const;
    MachineTime LastAnswerAt() const { return updatedAt_; }
    // How often the server's clock stepped away from all it said before.
    int Restarts() const { return restarts_; }
    // How far apart the answers prove the server's clocks; 0 while one
    // clock may explain them all.
    Seconds DisagreementAt(MachineTime at) const;
    // The machines the answers prove: one, or at least two.
    int Machines() const { return Pool() || tracks_.Apart() ? 2 : 1; }
    // Enough lookups past the clocks found, ahead and behind, agree that no
    // other lies beyond: until then another clock may hide in what the
    // answers allow.
    bool Checked() const;
    // The direction a probe found another clock in, while the search goes
    // on there.
    std::optional<Probe> Search() const {
        return tracks_.Apart() || facts_.Latest().crossed ? std::nullopt : search_;
    }

    // The first moment not before `earliest` at which a request should
    // leave so that it reaches the server at one of its second boundaries,
    // or as far past the clocks found as the probe asks.
    MachineTime AimedSendTime(MachineTime earliest, Probe probe = Probe::Centre) const;

private:
    bool Pool() const;
    void Searched(const OffsetInterval& before);
    void Stepped(const AnswerFacts::Edges& before, OffsetInterval answer);
    OffsetInterval Agreed() const;
    OffsetInterval LikelyAhead() const;
    OffsetInterval Ahead() const;
    OffsetInterval Behind() const;
    Seconds ShownOffset() const;
    Seconds Target(Probe probe) const;
    Seconds TurnTarget(Probe probe) const;
    Seconds InNextTurn(Seconds target) const;

    AnswerFacts facts_;
    MachineTime updatedAt_;
    Seconds shortestRoundTrip_{1e9};
    Seconds lastRoundTrip_{0};
    int restarts_ = 0;
    // How far the probes aim past the clocks found.
    Seconds aheadStep_{0};
    Seconds behindStep_{0};
    // How far past the clocks apart the next lookup on each side aims.
    Seconds aheadSide_{0};
    Seconds behindSide_{0};
    int sideTurn_ = 0;
    std::optional<Probe> search_;
    int searchMisses_ = 0;
    Seconds staleness_{0}; // the most the answers crossed, as stale stamps
    TurnTracks tracks_;    // two machines in turn, told apart by their turns
};

} // namespace orvane
