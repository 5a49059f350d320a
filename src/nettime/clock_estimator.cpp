#include "clock_estimator.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

using namespace std::chrono_literals;

// How far the probes first aim past the clocks found; each probe that finds
// another clock there sends the next one twice as far.
constexpr Seconds kAheadStep = 2ms;
constexpr Seconds kBehindStep = 2ms;
constexpr Seconds kFarthestStep = 500ms;
constexpr Seconds kStalenessMargin = 1ms;

} // namespace

void ClockEstimator::AddAnswer(MachineTime sentAt, MachineTime receivedAt,
                               std::int64_t serverSecond) {
    shortestRoundTrip_ = std::min(shortestRoundTrip_, receivedAt - sentAt);
    facts_.SetOneWay(shortestRoundTrip_ / 2);
    bool first = facts_.Empty();
    OffsetInterval aheadBefore = LikelyAhead();
    OffsetInterval behindBefore = LikelyBehind();
    if (facts_.Add(sentAt, receivedAt, serverSecond)) {
        ++restarts_;
        first = true;
    }
    if (first) {
        aheadStep_ = kAheadStep;
        behindStep_ = kBehindStep;
        search_.reset();
        staleness_ = Seconds{0};
    } else {
        Searched(aheadBefore, behindBefore);
    }
    const AnswerFacts::Edges& edges = facts_.Latest();
    if (edges.ahead > edges.behind) {
        staleness_ = std::max(staleness_, edges.ahead - edges.behind + kStalenessMargin);
    }
    ServerTime date{std::chrono::seconds(serverSecond)};
    tracks_.Add({OffsetOf(date, receivedAt), OffsetOf(date + 1s, sentAt)}, shortestRoundTrip_ / 2,
                receivedAt);
    lastRoundTrip_ = receivedAt - sentAt;
    updatedAt_ = receivedAt;
}

// Two machines in turn apart: the next answer shows whose turn it is.
// Otherwise the turns are to be learnt again.
void ClockEstimator::Missed() {
    if (tracks_.Apart()) {
        tracks_.Missed();
    } else {
        tracks_.StartOver(updatedAt_);
    }
}

// An answer past where the clock ahead likely is, or short of where the
// clock behind likely is, found another clock or a stamp staler than
// thought: the next probe on that side goes twice as far. Two answers in a
// row that find nothing end the search.
void ClockEstimator::Searched(const OffsetInterval& aheadBefore,
                              const OffsetInterval& behindBefore) {
    const AnswerFacts::Edges& after = facts_.Latest();
    std::optional<Probe> found;
    if (after.ahead > aheadBefore.high) {
        found = Probe::Ahead;
    } else if (after.behind < behindBefore.low) {
        found = Probe::Behind;
    }
    if (!found) {
        if (search_ && ++searchMisses_ >= 3) {
            search_.reset();
            aheadStep_ = kAheadStep;
            behindStep_ = kBehindStep;
        }
        return;
    }
    Seconds& step = *found == Probe::Ahead ? aheadStep_ : behindStep_;
    if (search_ == found) {
        step = std::min(2 * step, kFarthestStep);
    }
    search_ = found;
    searchMisses_ = 0;
}

// The answers prove machines further apart than stale stamps explain, and
// the turns do not tell them apart.
bool ClockEstimator::Pool() const {
    const AnswerFacts::Edges& edges = facts_.Latest();
    return HasEstimate() && !tracks_.Apart() && edges.ahead - edges.behind > kStaleStamps;
}

// One clock, as far as the answers show: where all of them agree it lies.
OffsetInterval ClockEstimator::Agreed() const {
    const AnswerFacts::Edges& edges = facts_.Latest();
    return {edges.ahead, std::max(edges.ahead, edges.behind)};
}

// Where the clock ahead likely is: above the greatest lower edge, below the
// answers that agree with it (one of them may have come from another
// machine behind: lookups past it find out). The clock behind likewise.
OffsetInterval ClockEstimator::LikelyAhead() const {
    const AnswerFacts::Edges& edges = facts_.Latest();
    return {edges.ahead, std::max(edges.ahead, edges.aheadTop)};
}

OffsetInterval ClockEstimator::LikelyBehind() const {
    const AnswerFacts::Edges& edges = facts_.Latest();
    return {std::min(edges.behindBottom, edges.behind), edges.behind};
}

// Where the clock ahead may be: at least where an answer proved it, at most
// where enough answers agree.
OffsetInterval ClockEstimator::Ahead() const {
    const AnswerFacts::Edges& edges = facts_.Latest();
    return {edges.ahead, std::max(edges.ahead, edges.highest)};
}

OffsetInterval ClockEstimator::Behind() const {
    const AnswerFacts::Edges& edges = facts_.Latest();
    return {std::min(edges.lowest, edges.behind), edges.behind};
}

// One clock: where the answers agree. Two apart: where the one ahead likely
// is.
Seconds ClockEstimator::ShownOffset() const {
    if (tracks_.Apart()) {
        return tracks_.AheadShown().Centre();
    }
    return Pool() ? LikelyAhead().Centre() : Agreed().Centre();
}

std::optional<ServerTime> ClockEstimator::ServerTimeAt(MachineTime at) const {
    if (!HasEstimate()) {
        return std::nullopt;
    }
    return OnServer(at, ShownOffset());
}

// Two machines in turn: from the one behind to the one ahead as their
// tracks hold them, and whatever the answers prove beyond. Otherwise as far
// as the lookups past the clocks found witness.
Seconds ClockEstimator::UncertaintyAt(MachineTime at) const {
    Seconds shown = ShownOffset();
    Seconds growth = kDrift * std::max(Seconds{0}, at - updatedAt_);
    Seconds witnessed = std::max(shown - Behind().low, Ahead().high - shown) + growth;
    if (tracks_.Apart()) {
        // Two tracks may also each settle between machines at random: what
        // the lookups past them witness still holds.
        return std::max(
            {shown - tracks_.BehindAt(at).low, tracks_.AheadAt(at).high - shown, witnessed});
    }
    // Answers that crossed by less than another machine would were stale
    // stamps: a "not yet" may have been that late, and the clock that far
    // beyond it.
    Seconds stale = Pool() ? Seconds{0} : staleness_;
    return std::max(shown - Behind().low, Ahead().high + stale - shown) + growth;
}

// Nothing left for lookups at the middle to halve.
bool ClockEstimator::ConvergedAt(MachineTime at, Seconds width) const {
    if (tracks_.Apart()) {
        return tracks_.AheadShown().Width() <= width && tracks_.BehindShown().Width() <= width;
    }
    Seconds growth = 2 * kLikelyDrift * std::max(Seconds{0}, at - updatedAt_);
    if (!Pool()) {
        return HasEstimate() && Agreed().Width() + growth <= width;
    }
    return LikelyAhead().Width() + growth <= width && LikelyBehind().Width() + growth <= width;
}

// Both outer edges witnessed, close to where the clocks likely are.
bool ClockEstimator::Checked() const {
    constexpr Seconds kSlack = 10ms;
    const AnswerFacts::Edges& edges = facts_.Latest();
    bool witnessed = HasEstimate() && edges.highestWitnessed && edges.lowestWitnessed;
    if (tracks_.Apart()) {
        Seconds unsure = (tracks_.AheadShown().Width() + tracks_.BehindShown().Width()) / 2;
        return witnessed && unsure <= std::max(Seconds{4ms}, DisagreementAt(updatedAt_) / 5) &&
               edges.highest <= tracks_.AheadShown().high + kSlack &&
               edges.lowest >= tracks_.BehindShown().low - kSlack;
    }
    return witnessed && Ahead().high <= LikelyAhead().high + kSlack &&
           Behind().low >= LikelyBehind().low - kSlack;
}

Seconds ClockEstimator::DisagreementAt(MachineTime) const {
    if (tracks_.Apart()) {
        return tracks_.AheadShown().Centre() - tracks_.BehindShown().Centre();
    }
    const AnswerFacts::Edges& edges = facts_.Latest();
    return Pool() ? edges.ahead - edges.behind : Seconds{0};
}

MachineTime ClockEstimator::AimedSendTime(MachineTime earliest, Probe probe) const {
    if (!HasEstimate()) {
        return earliest;
    }
    Seconds target = Target(probe);
    Seconds oneWay = shortestRoundTrip_ / 2;
    ServerTime boundary =
        std::chrono::ceil<std::chrono::seconds>(OnServer(earliest + oneWay, target));
    return OnMachine(boundary, target) - oneWay;
}

// A little past where the clock ahead likely is, or short of where the
// clock behind likely is; otherwise in the middle of what is left to
// narrow: where the answers agree, or of two clocks apart the less narrowed.
Seconds ClockEstimator::Target(Probe probe) const {
    if (tracks_.Apart()) {
        return TurnTarget(probe);
    }
    if (probe == Probe::Ahead) {
        return InNextTurn(LikelyAhead().high + aheadStep_);
    }
    if (probe == Probe::Behind) {
        return InNextTurn(LikelyBehind().low - behindStep_);
    }
    if (!Pool()) {
        return InNextTurn(Agreed().Centre());
    }
    OffsetInterval ahead = LikelyAhead();
    OffsetInterval behind = LikelyBehind();
    return InNextTurn(behind.Width() > ahead.Width() ? behind.Centre() : ahead.Centre());
}

// Two machines in turn: at the next turn's track, or just past it where the
// plan checks a side; after a failed lookup, between them, where the answer
// shows whose turn it is.
Seconds ClockEstimator::TurnTarget(Probe probe) const {
    OffsetInterval own = tracks_.Next();
    if (!tracks_.TurnKnown()) {
        return tracks_.Between();
    }
    if (probe == Probe::Centre) {
        return own.Centre();
    }
    // Past the machine's own side: above the clock ahead, below the one
    // behind, where another clock would answer otherwise.
    return own.Centre() >= tracks_.Between() ? own.high + kAheadStep : own.low - kBehindStep;
}

// Kept within the middle quarter of the next turn's track: an answer there
// halves the track nearly as well, so that machines in turn each narrow
// their own, and one clock is narrowed at full speed. Over a path whose
// round trips vary widely an answer lands by chance: the target stands.
Seconds ClockEstimator::InNextTurn(Seconds target) const {
    constexpr Seconds kNarrowTrack = 4ms;
    OffsetInterval own = tracks_.Next();
    bool steady = lastRoundTrip_ <= 2 * shortestRoundTrip_ + kNarrowTrack;
    if (!tracks_.BothAnswered() || !steady || own.Width() <= kNarrowTrack) {
        return target;
    }
    Seconds eighth = own.Width() / 8;
    return std::clamp(target, own.low + 3 * eighth, own.high - 3 * eighth);
}

} // namespace orvane
