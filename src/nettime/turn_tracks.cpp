#include "turn_tracks.h"

namespace orvane {

namespace {

using namespace std::chrono_literals;

constexpr Seconds kStalenessMargin = 1ms;
// How long machines seen out of turn keep the bound wide.
constexpr Seconds kSpreadMemory = 300s;
// A contradiction wider than this is a step of the clock, not a machine.
constexpr Seconds kWidestSpread = 1s;
// Answers that only their own turn's clock can have given, before the turns
// are believed: machines at random give one to the other turn as often, so
// that ten in a row happen once in a thousand.
constexpr int kTurnProofs = 10;
constexpr Seconds kProofMargin = 1ms;

} // namespace

void TurnTracks::Add(OffsetInterval certain, Seconds oneWay, MachineTime at) {
    if (!turnKnown_ && BothAnswered() &&
        tracks_[(turn_ + 1) % 2].Outside(certain, at) < tracks_[turn_ % 2].Outside(certain, at)) {
        ++turn_;
    }
    turnKnown_ = true;
    Track& track = tracks_[turn_ % 2];
    const Track& other = tracks_[(turn_ + 1) % 2];
    bool proof = BothAnswered() && track.Outside(certain, at) == Seconds{0} &&
                 other.Outside(certain, at) > kProofMargin;
    Seconds contradiction = track.Add(certain, oneWay, at);
    proofs_ += proof ? 1 : 0;
    if (contradiction > kStaleStamps) {
        if (contradiction < kWidestSpread) {
            spread_ = std::max(contradiction, SpreadAt(at));
            spreadAt_ = at;
        }
        tracks_ = {};
        proofs_ = 0;
        tracks_[turn_ % 2].Add(certain, oneWay, at);
    }
    ++turn_;
    updatedAt_ = at;
}

// Narrows the track by an answer, reading contradictions as stale stamps.
Seconds TurnTracks::Track::Add(OffsetInterval answer, Seconds oneWay, MachineTime at) {
    answer.high += staleness;
    OffsetInterval aged = At(at);
    OffsetInterval agedHeld = Aged(held, updatedAt, at, kLikelyDrift);
    OffsetInterval agedLikely = Aged(likely, updatedAt, at, kLikelyDrift);
    updatedAt = at;
    if (answers++ == 0) {
        certain = held = likely = answer;
        return Seconds{0};
    }
    if (answer.low > aged.high) {
        // The answers that bounded it from above were stale.
        Seconds gap = answer.low - aged.high + kStalenessMargin;
        staleness += gap;
        aged.high += gap;
        agedHeld.high = std::max(agedHeld.high, aged.high);
    } else if (answer.high < aged.low) {
        // This one is stale.
        Seconds gap = aged.low - answer.high + kStalenessMargin;
        staleness += gap;
        answer.high += gap;
    }
    certain = Intersect(aged, answer);
    held = Intersect(agedHeld, answer);
    if (held.Empty()) {
        held = certain;
    }
    OffsetInterval answerLikely{answer.low + oneWay, answer.high - oneWay};
    likely = Intersect(Intersect(agedLikely, answerLikely), certain);
    if (likely.Empty()) {
        likely = Intersect(answerLikely, certain);
    }
    if (likely.Empty()) {
        likely = certain;
    }
    return staleness;
}

Seconds TurnTracks::Track::Outside(OffsetInterval answer, MachineTime at) const {
    OffsetInterval aged = At(at);
    return std::max({Seconds{0}, answer.low - aged.high, aged.low - (answer.high + staleness)});
}

OffsetInterval TurnTracks::Track::At(MachineTime at) const {
    return Aged(certain, updatedAt, at, kDrift);
}

OffsetInterval TurnTracks::Track::HeldAt(MachineTime at) const {
    return Aged(held, updatedAt, at, kLikelyDrift);
}

OffsetInterval TurnTracks::Track::Shown() const {
    return {likely.low, std::max(likely.low, likely.high - staleness)};
}

bool TurnTracks::Apart() const {
    return proofs_ >= kTurnProofs && Separate();
}

bool TurnTracks::Unproven() const {
    return proofs_ < kTurnProofs && Separate();
}

bool TurnTracks::Separate() const {
    return BothAnswered() && SpreadAt(updatedAt_) == Seconds{0} &&
           Ahead().certain.low > Behind().certain.high + kStaleStamps;
}

Seconds TurnTracks::SpreadAt(MachineTime at) const {
    return spreadAt_ && at - *spreadAt_ < kSpreadMemory ? spread_ : Seconds{0};
}

const TurnTracks::Track& TurnTracks::Ahead() const {
    return tracks_[0].certain.low >= tracks_[1].certain.low ? tracks_[0] : tracks_[1];
}

const TurnTracks::Track& TurnTracks::Behind() const {
    return tracks_[0].certain.low >= tracks_[1].certain.low ? tracks_[1] : tracks_[0];
}

// The span of what the answered tracks give; nothing before an answer.
template <typename Of> OffsetInterval TurnTracks::Spanned(Of of) const {
    OffsetInterval hull{Seconds{1e300}, Seconds{-1e300}};
    for (const Track& track : tracks_) {
        if (track.answers > 0) {
            OffsetInterval interval = of(track);
            hull = {std::min(hull.low, interval.low), std::max(hull.high, interval.high)};
        }
    }
    return hull;
}

// The clock shown is held to the drift any clock may have against this
// machine's; another machine's, once seen, to what working clocks keep to
// against each other.
OffsetInterval TurnTracks::BehindAt(MachineTime at) const {
    return Behind().HeldAt(at);
}

OffsetInterval TurnTracks::HullAt(MachineTime at) const {
    return Spanned([at](const Track& track) { return track.HeldAt(at); });
}

// Whichever machine answers next, its clock lies where the two tracks
// allowed: both begin again from all of that, not from nothing, so that a
// lost answer does not throw away what both had narrowed.
void TurnTracks::StartOver(MachineTime at) {
    if (!BothAnswered()) {
        tracks_ = {};
        return;
    }
    OffsetInterval hull = HullAt(at);
    OffsetInterval shown = ShownHull();
    Track seeded;
    seeded.certain = seeded.held = hull;
    seeded.likely = {std::max(hull.low, shown.low), std::min(hull.high, shown.high)};
    seeded.updatedAt = at;
    seeded.answers = 1;
    tracks_ = {seeded, seeded};
}

OffsetInterval TurnTracks::ShownHull() const {
    return Spanned([](const Track& track) { return track.Shown(); });
}

} // namespace orvane
