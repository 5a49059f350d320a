#include "clock_estimator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

// The most a Date may lag its server's clock, as event-loop servers stamp
// from a time they keep per turn; answers further behind come from a clock
// that stepped back, unless a clock that far ahead was seen too.
constexpr Seconds kMostStaleness = 0.25;
constexpr Seconds kStalenessMargin = 0.001;
// How long a second clock seen ahead keeps the bound wide.
constexpr Seconds kAheadMemory = 300;
// How far above the earliest consistent time a stale server's lookups aim:
// only an answer stamped after the boundary can raise it.
constexpr Seconds kClimb = 0.002;
// The answers weighed; older ones have grown wide with the drift anyway.
constexpr size_t kKept = 128;
constexpr Seconds kEndless = std::numeric_limits<Seconds>::infinity();

} // namespace

void ClockEstimator::AddAnswer(Seconds sentAt, Seconds receivedAt, std::int64_t serverSecond) {
    shortestRoundTrip_ = std::min(shortestRoundTrip_, receivedAt - sentAt);
    lastRoundTrip_ = receivedAt - sentAt;
    Answer answer{sentAt, receivedAt, serverSecond};
    if (!answers_.empty()) {
        Rebuild(receivedAt);
        Weigh(answer);
    }
    Seconds before = Shown().Centre();
    answers_.push_back(answer);
    if (answers_.size() > kKept) {
        answers_.pop_front();
    }
    Rebuild(receivedAt);
    rising_ = staleness_ > 0 && Shown().Centre() > before + kStalenessMargin;
    auto date = Seconds(serverSecond);
    tracks_.Add({date - receivedAt, date + 1 - sentAt}, shortestRoundTrip_ / 2, receivedAt);
    facts_.Add(sentAt, receivedAt, serverSecond, shortestRoundTrip_ / 2);
}

// Two clocks apart: the next answer shows whose turn it is. One clock
// checked: turns do not matter. Otherwise answers from here on might fall to
// the other turn's track, narrowing it between two clocks: the check begins
// again.
void ClockEstimator::Missed() {
    if (tracks_.Apart()) {
        tracks_.Missed();
    } else if (!Checked()) {
        tracks_.StartOver(updatedAt_);
    }
}

// Compares a new answer with the estimate so far. Ahead of the certain
// interval, it is another clock for sure: everything starts over on it.
// Behind it, it is a stale stamp, or the other clock of one seen before:
// every upper bound widens by the gap. Against the likely interval only,
// ahead starts the likely narrowing over, behind widens the same way.
void ClockEstimator::Weigh(const Answer& answer) {
    Interval certain = CertainOf(answer);
    if (certain.low > certain_.high) {
        Seconds gap = certain.low - certain_.high;
        if (gap > kMostStaleness) {
            restartGap_ = gap;
            anotherClock_ = true;
            Restart();
            return;
        }
        Staler(gap);
        Rebuild(answer.receivedAt);
    }
    if (certain.high < certain_.low) {
        Seconds gap = certain_.low - certain.high;
        if (gap > std::max(kMostStaleness, restartGap_ + kMostStaleness)) {
            restartGap_ = gap;
            Restart();
            return;
        }
        Behind(gap);
        Rebuild(answer.receivedAt);
    }
    Interval likely = LikelyOf(answer);
    if (likely.low > likely_.high) {
        Ahead(likely.low - likely_.high, likely.high, answer.receivedAt);
    } else if (likely.high < likely_.low) {
        Behind(likely_.low - likely.high);
    } else if (search_ && ++searchMisses_ >= 2) {
        search_.reset();
    }
}

// An answer ahead of the likely interval: the answers that bounded it from
// above were staler than thought, or another clock answered. Either way the
// upper bounds widen by the gap, which moves the estimate up to the new
// answer, and the probes look further ahead.
void ClockEstimator::Ahead(Seconds gap, Seconds farthest, Seconds at) {
    if (anotherClock_) {
        // Somewhere in the answer's likely interval: all of it is covered
        // until the search has found where.
        aheadSeen_ = std::max(farthest - Shown().Centre(), AheadSeenAt(at));
        aheadSeenAt_ = at;
    }
    Staler(gap);
    Searching(Probe::Ahead, aheadStep_);
}

// A stale stamp or a clock behind: every upper bound widens by the gap.
void ClockEstimator::Behind(Seconds gap) {
    Staler(gap);
    Searching(Probe::Behind, behindStep_);
}

// Stamps staler than a server's cached time are another clock's.
void ClockEstimator::Staler(Seconds gap) {
    staleness_ += gap + kStalenessMargin;
    if (staleness_ > kStaleStamps) {
        anotherClock_ = true;
    }
}

Seconds ClockEstimator::AheadSeenAt(Seconds at) const {
    return at - aheadSeenAt_ < kAheadMemory ? aheadSeen_ : 0;
}

// A contradiction found by a probe is followed by probes twice as far, in
// the same direction, until two in a row find nothing.
void ClockEstimator::Searching(Probe direction, Seconds& step) {
    if (search_ == direction) {
        step = std::min(2 * step, kMostStaleness);
    }
    search_ = direction;
    searchMisses_ = 0;
}

void ClockEstimator::Restart() {
    answers_.clear();
    ++restarts_;
}

void ClockEstimator::Rebuild(Seconds at) {
    Interval certain{-kEndless, kEndless};
    Interval likely = certain;
    for (const Answer& answer : answers_) {
        certain = Intersect(certain, Aged(CertainOf(answer), answer.receivedAt, at, kDrift));
        likely = Intersect(likely, Aged(LikelyOf(answer), answer.receivedAt, at, kLikelyDrift));
    }
    const Answer& latest = answers_.back();
    if (certain.Empty()) {
        certain = CertainOf(latest);
    }
    likely = Intersect(likely, certain);
    if (likely.Empty()) {
        likely = Intersect(LikelyOf(latest), certain);
    }
    certain_ = certain;
    likely_ = likely.Empty() ? certain : likely;
    updatedAt_ = at;
}

ClockEstimator::Interval ClockEstimator::CertainOf(const Answer& answer) const {
    auto date = Seconds(answer.second);
    return {date - answer.receivedAt, date + 1 + staleness_ - answer.sentAt};
}

ClockEstimator::Interval ClockEstimator::LikelyOf(const Answer& answer) const {
    Seconds oneWay = shortestRoundTrip_ / 2;
    Interval certain = CertainOf(answer);
    return {certain.low + oneWay, certain.high - oneWay};
}

// The likely interval as if stamps were fresh: a stale server's answers
// that showed the old second say little, so its time is the earliest the
// answers that showed the new one allow.
ClockEstimator::Interval ClockEstimator::Shown() const {
    return {likely_.low, std::max(likely_.low, likely_.high - staleness_)};
}

Seconds ClockEstimator::ShownOffset() const {
    if (tracks_.Apart()) {
        return tracks_.AheadShown().Centre();
    }
    if (Pool()) {
        AnswerFacts::Edges edges = facts_.At(updatedAt_);
        return (edges.ahead + std::max(edges.ahead, edges.aheadTop)) / 2;
    }
    return Shown().Centre();
}

// The answers prove machines further apart than stale stamps explain, and
// the turns have not told them apart: they answer at random. The time shown
// then follows where the answers put the clock ahead.
bool ClockEstimator::Pool() const {
    return !tracks_.Apart() && facts_.SpreadAt(updatedAt_) > kStaleStamps;
}

// Whatever else was thought, the answers hold a machine at least as far
// ahead as their greatest lower edge and one at least as far behind as their
// least upper edge; of machines at random, the one ahead as far as the
// answers that agree with it allow.
Seconds ClockEstimator::ProvenAt(Seconds at) const {
    AnswerFacts::Edges edges = facts_.At(at);
    Seconds shown = ShownOffset();
    Seconds top = Pool() ? std::max(edges.ahead, edges.aheadTop) : edges.ahead;
    return std::max(shown - edges.behind, top - shown);
}

std::optional<Seconds> ClockEstimator::ServerTimeAt(Seconds at) const {
    if (!HasEstimate()) {
        return std::nullopt;
    }
    return at + ShownOffset();
}

Seconds ClockEstimator::UncertaintyAt(Seconds at) const {
    Seconds shown = ShownOffset();
    if (tracks_.Apart()) {
        return std::max(shown - tracks_.BehindAt(at).low, tracks_.AheadAt(at).high - shown);
    }
    // Another clock in turn may lie anywhere the turns allow; machines out
    // of turn as far apart as they were seen.
    Interval hull = tracks_.HullAt(at);
    return std::max({shown - hull.low, hull.high - shown, CombinedUncertaintyAt(at),
                     tracks_.SpreadAt(at), ProvenAt(at)});
}

Seconds ClockEstimator::CombinedUncertaintyAt(Seconds at) const {
    Interval certain = Aged(certain_, updatedAt_, at, kDrift);
    Seconds shown = ShownOffset();
    // Another clock behind lags by as much as was seen, or up to the next
    // probe, which has not found it yet; while a search goes on, the clock
    // it follows may lie as far as its next probe.
    Seconds behind = anotherClock_ || search_ == Probe::Behind ? staleness_ + behindStep_ : 0;
    Seconds ahead = search_ == Probe::Ahead ? Shown().high - shown + 2 * aheadStep_ : 0;
    return std::max({shown - certain.low, certain.high - shown, behind, ahead, AheadSeenAt(at)});
}

Seconds ClockEstimator::DisagreementAt(Seconds at) const {
    if (tracks_.Apart()) {
        return tracks_.AheadShown().Centre() - tracks_.BehindShown().Centre();
    }
    if (Pool()) {
        return facts_.SpreadAt(at);
    }
    return std::max(anotherClock_ ? std::max(staleness_, AheadSeenAt(at)) : 0,
                    tracks_.SpreadAt(at));
}

// One clock: the turns agree within a few milliseconds of the estimate. Two:
// the difference between them is known within a fifth.
bool ClockEstimator::Checked() const {
    constexpr Seconds kAgreement = 0.004;
    if (!tracks_.BothAnswered()) {
        return false;
    }
    if (tracks_.Apart()) {
        Seconds unsure = (tracks_.AheadShown().Width() + tracks_.BehindShown().Width()) / 2;
        return unsure <= std::max(kAgreement, DisagreementAt(updatedAt_) / 5);
    }
    return tracks_.ShownHull().Width() <= Shown().Width() + kAgreement;
}

bool ClockEstimator::ConvergedAt(Seconds at, Seconds width) const {
    if (tracks_.Apart()) {
        return tracks_.AheadShown().Width() <= width && tracks_.BehindShown().Width() <= width;
    }
    return HasEstimate() && Checked() &&
           Aged(Shown(), updatedAt_, at, kLikelyDrift).Width() <= width;
}

Seconds ClockEstimator::AimedSendTime(Seconds earliest, Probe probe) const {
    if (!HasEstimate()) {
        return earliest;
    }
    Seconds target = TurnTarget(Target(probe), probe);
    Seconds oneWay = shortestRoundTrip_ / 2;
    Seconds boundary = std::ceil(earliest + oneWay + target);
    return boundary - target - oneWay;
}

// Where the estimate of all answers would aim.
Seconds ClockEstimator::Target(Probe probe) const {
    Interval shown = Shown();
    if (probe == Probe::Ahead) {
        return shown.high + aheadStep_;
    }
    if (probe == Probe::Behind) {
        return shown.low - staleness_ - behindStep_;
    }
    if (staleness_ > 0) {
        constexpr double kShares[] = {0.1, 0.15, 0.2};
        return likely_.low + std::max(kClimb, kShares[answers_.size() % 3] * likely_.Width());
    }
    return shown.Centre();
}

// The next answer narrows its own turn's clock. Two clocks apart: aimed at
// its track, or just past it where the plan checks a side; after a failed
// lookup, between them, where the answer shows whose turn it is. Otherwise
// at the estimate of all answers, kept within the middle quarter of the
// track: an answer there halves the track nearly as well, so that one clock
// is narrowed at full speed and another in turn is found as fast as its own
// track can be.
Seconds ClockEstimator::TurnTarget(Seconds target, Probe probe) const {
    constexpr Seconds kNarrowTrack = 0.004;
    constexpr Seconds kPastAhead = 0.002;
    constexpr Seconds kPastBehind = 0.004;
    Interval own = tracks_.Next();
    if (tracks_.Apart()) {
        if (!tracks_.TurnKnown()) {
            return tracks_.Between();
        }
        if (probe == Probe::Ahead) {
            return own.high + kPastAhead;
        }
        return probe == Probe::Behind ? own.low - kPastBehind : own.Centre();
    }
    // Over a path whose round trips vary widely an answer lands by chance:
    // the estimate of all answers aims best.
    bool steady = lastRoundTrip_ <= 2 * shortestRoundTrip_ + kNarrowTrack;
    if (!tracks_.BothAnswered() || !steady || own.Width() <= kNarrowTrack) {
        return target;
    }
    Seconds eighth = own.Width() / 8;
    return std::clamp(target, own.low + 3 * eighth, own.high - 3 * eighth);
}

} // namespace orvane
