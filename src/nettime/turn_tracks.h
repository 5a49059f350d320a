#pragma once

#include "offset_interval.h"

#include <array>
#include <optional>

namespace orvane {

// Beyond this, a lag is no server's cached time but a second clock.
constexpr Seconds kStaleStamps{0.05};
// How fast two clocks may drift apart: 100 parts per million, far more than
// any working quartz clock. What such clocks do: 10.
constexpr double kDrift = 1e-4;
constexpr double kLikelyDrift = 1e-5;

// The answers in turn, even and odd, each narrowed as one clock's. Two
// machines behind one name that answer in turn each keep to one turn: their
// clocks show up as two tracks lying apart, each narrowed by its own
// answers, where one estimate of all answers would settle between them. One
// clock narrows both tracks alike. A track contradicted by more than a stale
// stamp can explain is no one clock's (the machines do not answer in turn,
// or the clock stepped): both start over, and for five minutes the
// contradiction stands for how far apart the machines may be, while two
// tracks lying apart prove nothing. Machines at random may still leave two
// tracks apart that no answer contradicts, when every answer lands where
// either clock would give it: the turns are believed only once enough
// answers fitted their own turn's track and not the other's.
class TurnTracks {
public:
    // An answer's interval as a fresh stamp gives it, and the least each
    // way takes.
    void Add(OffsetInterval certain, Seconds oneWay, MachineTime at);
    // A lookup failed: the server may still have counted it among its
    // turns. The next answer goes to the track it fits.
    void Missed() { turnKnown_ = false; }
    // The turns are lost: both tracks begin again from all that either
    // allowed.
    void StartOver(MachineTime at);
    bool TurnKnown() const { return turnKnown_; }
    // Halfway between two clocks apart: an answer aimed there shows which
    // machine gave it.
    Seconds Between() const { return (Behind().certain.high + Ahead().certain.low) / 2; }

    // The two turns' clocks lie apart, further than stale stamps explain,
    // and the turns have kept to their clocks: enough answers fitted their
    // own turn's clock and not the other's.
    bool Apart() const;
    // The two turns' clocks lie apart but too few answers have shown that
    // the turns keep to them: an answer aimed between them tells.
    bool Unproven() const;
    // How far apart the clocks of machines that do not keep to turns were
    // seen; 0 when none were.
    Seconds SpreadAt(MachineTime at) const;
    // Both turns have answered since the tracks last started over.
    bool BothAnswered() const { return tracks_[0].answers > 0 && tracks_[1].answers > 0; }
    // Where the next answer's clock was last narrowed to.
    OffsetInterval Next() const { return tracks_[turn_ % 2].Shown(); }
    // The clock ahead and the clock behind, as shown and as certain by `at`.
    OffsetInterval AheadShown() const { return Ahead().Shown(); }
    OffsetInterval BehindShown() const { return Behind().Shown(); }
    OffsetInterval AheadAt(MachineTime at) const { return Ahead().At(at); }
    OffsetInterval BehindAt(MachineTime at) const;
    // Everything the turns allow by `at`: the answering clocks lie within.
    OffsetInterval HullAt(MachineTime at) const;
    // The turns' clocks as shown, both within this.
    OffsetInterval ShownHull() const;

private:
    struct Track {
        OffsetInterval certain; // at updatedAt, its upper edge widened by staleness
        OffsetInterval held;    // the same, had the clocks drifted as working ones do
        OffsetInterval likely;  // and had each way taken its least
        MachineTime updatedAt;
        Seconds staleness{0}; // how far this turn's stamps lagged
        int answers = 0;
        OffsetInterval At(MachineTime at) const;
        OffsetInterval HeldAt(MachineTime at) const;
        // Its clock's likeliest place: a stale stamp says little of the
        // upper edge.
        OffsetInterval Shown() const;
        // How far the track's answers contradicted each other since it
        // started.
        Seconds Add(OffsetInterval answer, Seconds oneWay, MachineTime at);
        // How far an answer lies outside the track.
        Seconds Outside(OffsetInterval answer, MachineTime at) const;
    };
    const Track& Ahead() const;
    bool Separate() const;
    template <typename Of> OffsetInterval Spanned(Of of) const;
    const Track& Behind() const;

    std::array<Track, 2> tracks_;
    int turn_ = 0;
    bool turnKnown_ = true;
    int proofs_ = 0; // answers only their own turn's clock explains
    MachineTime updatedAt_;
    Seconds spread_{0}; // the contradictions of tracks that started over
    std::optional<MachineTime> spreadAt_;
};

} // namespace orvane
