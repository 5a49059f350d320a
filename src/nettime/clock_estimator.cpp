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
// Past the clocks apart, the nearest a lookup aims: beyond a round trip's
// play, so that its "not yet" tells of the clock past the edge.
constexpr Seconds kSideStep = 4ms;

} // namespace

void ClockEstimator::AddAnswer(MachineTime sentAt, MachineTime receivedAt,
                               std::int64_t serverSecond) {
    ServerTime date{std::chrono::seconds(serverSecond)};
    OffsetInterval answer{OffsetOf(date, receivedAt), OffsetOf(date + 1s, sentAt)};
    shortestRoundTrip_ = std::min(shortestRoundTrip_, receivedAt - sentAt);
    facts_.SetOneWay(shortestRoundTrip_ / 2);
    facts_.SetInTurn(tracks_.Apart());
    bool first = facts_.Empty();
    OffsetInterval before = Agreed();
    AnswerFacts::Edges edgesBefore = facts_.Latest();
    if (facts_.Add(sentAt, receivedAt, serverSecond)) {
        ++restarts_;
        first = true;
    }
    if (first) {
        aheadStep_ = kAheadStep;
        behindStep_ = kBehindStep;
        aheadSide_ = behindSide_ = kSideStep;
        search_.reset();
        staleness_ = Seconds{0};
    } else {
        Searched(before);
        Stepped(edgesBefore, answer);
    }
    const AnswerFacts::Edges& edges = facts_.Latest();
    if (edges.ahead > edges.behind) {
        staleness_ = std::max(staleness_, edges.ahead - edges.behind + kStalenessMargin);
    }
    tracks_.Add(answer, shortestRoundTrip_ / 2, receivedAt);
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

// An answer past where the answers agreed the clock is, ahead or behind,
// found another clock or a stamp staler than thought: the next probe on
// that side goes twice as far. Answers that find nothing end the search.
void ClockEstimator::Searched(const OffsetInterval& before) {
    const AnswerFacts::Edges& after = facts_.Latest();
    std::optional<Probe> found;
    if (after.ahead > before.high) {
        found = Probe::Ahead;
    } else if (after.behind < before.low) {
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

// Clocks apart: an answer past the clock ahead's lower edge that moved it
// found the clock further on, and the next lookup on that side goes twice
// as far; a "not yet" just past it was the clock's own, or another's, and
// the next goes half as far, so that lookups close in on the clock from
// both sides and the "not yet"s gather just past it. The clock behind
// likewise.
void ClockEstimator::Stepped(const AnswerFacts::Edges& before, OffsetInterval answer) {
    const AnswerFacts::Edges& after = facts_.Latest();
    ++sideTurn_;
    if (!after.crossed) {
        aheadSide_ = behindSide_ = kSideStep;
        return;
    }
    if (after.ahead > before.ahead + kStalenessMargin) {
        aheadSide_ = std::min(2 * aheadSide_, kFarthestStep);
    } else if (after.behind < before.behind - kStalenessMargin) {
        behindSide_ = std::min(2 * behindSide_, kFarthestStep);
    } else if (answer.high >= after.ahead && answer.high <= after.ahead + 2 * aheadSide_) {
        aheadSide_ = std::max(aheadSide_ / 2, kSideStep);
    } else if (answer.low <= after.behind && answer.low >= after.behind - 2 * behindSide_) {
        behindSide_ = std::max(behindSide_ / 2, kSideStep);
    }
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

// Clocks apart: where the one ahead likely is, from its lower edge to the
// nearest "not yet" past it.
OffsetInterval ClockEstimator::LikelyAhead() const {
    const AnswerFacts::Edges& edges = facts_.Latest();
    return {edges.ahead, std::max(edges.ahead, edges.aheadTop)};
}

// Where the clock ahead may be: at least where an answer proved it, at most
// where enough answers agree. The clock behind likewise.
OffsetInterval ClockEstimator::Ahead() const {
    const AnswerFacts::Edges& edges = facts_.Latest();
    return {edges.ahead, std::max(edges.ahead, edges.highest)};
}

OffsetInterval ClockEstimator::Behind() const {
    const AnswerFacts::Edges& edges = facts_.Latest();
    return {std::min(edges.lowest, edges.behind), edges.behind};
}

// One clock: where the answers agree. Clocks apart: where the one ahead
// likely is.
Seconds ClockEstimator::ShownOffset() const {
    if (tracks_.Apart()) {
        return tracks_.AheadShown().Centre();
    }
    return facts_.Latest().crossed ? LikelyAhead().Centre() : Agreed().Centre();
}

std::optional<ServerTime> ClockEstimator::ServerTimeAt(MachineTime at) const {
    if (!HasEstimate()) {
        return std::nullopt;
    }
    return OnServer(at, ShownOffset());
}

// Two machines in turn: from the one behind to the one ahead as their
// tracks hold them, and whatever the answers prove beyond. Otherwise from
// the lowest to the highest edge the answers leave any clock.
Seconds ClockEstimator::UncertaintyAt(MachineTime at) const {
    Seconds shown = ShownOffset();
    Seconds growth = kDrift * std::max(Seconds{0}, at - updatedAt_);
    Seconds witnessed = std::max(shown - Behind().low, Ahead().high - shown) + growth;
    if (tracks_.Apart()) {
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
    if (!facts_.Latest().crossed) {
        return HasEstimate() && Agreed().Width() + growth <= width;
    }
    return Ahead().Width() + growth <= width && Behind().Width() + growth <= width;
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
    if (edges.crossed) {
        Seconds slack = std::max(Seconds{kSlack}, DisagreementAt(updatedAt_) / 5);
        return witnessed && Ahead().Width() <= slack && Behind().Width() <= slack;
    }
    return witnessed && Ahead().high <= Agreed().high + kSlack &&
           Behind().low >= Agreed().low - kSlack;
}

// Two machines in turn: their tracks' middles once each track is narrow
// beside the difference; before, only the gap between the tracks is proven,
// and a wide track's middle may lie anywhere in it, the difference taken
// from it then more than the truth.
Seconds ClockEstimator::DisagreementAt(MachineTime) const {
    if (tracks_.Apart()) {
        OffsetInterval ahead = tracks_.AheadShown();
        OffsetInterval behind = tracks_.BehindShown();
        Seconds middles = ahead.Centre() - behind.Centre();
        bool narrow = std::max(ahead.Width(), behind.Width()) <= middles / 5;
        return narrow ? middles : ahead.low - behind.high;
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

// One clock: a little past its edges, or in the middle of where the answers
// agree. Two turns apart whose machines are not yet shown to keep to them:
// between the two, where each answer shows whose it is. Clocks apart: a
// step past the one ahead's lower edge or short of the one behind's upper,
// the sides taking turns in fours, so that each of two machines in turn
// meets both.
Seconds ClockEstimator::Target(Probe probe) const {
    if (tracks_.Apart()) {
        return TurnTarget(probe);
    }
    if (tracks_.Unproven()) {
        return tracks_.Between();
    }
    const AnswerFacts::Edges& edges = facts_.Latest();
    if (edges.crossed) {
        constexpr bool kSides[] = {true, false, false, true};
        bool ahead = probe == Probe::Ahead || (probe == Probe::Centre && kSides[sideTurn_ % 4]);
        return InNextTurn(ahead ? edges.ahead + aheadSide_ : edges.behind - behindSide_);
    }
    if (probe == Probe::Ahead) {
        return InNextTurn(Agreed().high + aheadStep_);
    }
    if (probe == Probe::Behind) {
        return InNextTurn(Agreed().low - behindStep_);
    }
    return InNextTurn(Agreed().Centre());
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
// round trips vary widely an answer lands by chance: the target stands. So
// it does when the track is wider than one machine's clock can be and the
// target lies outside it: machines at random leave such tracks, and an
// answer in their middle, far from every clock, would say nothing.
Seconds ClockEstimator::InNextTurn(Seconds target) const {
    constexpr Seconds kNarrowTrack = 4ms;
    constexpr Seconds kMachineTrack = 200ms;
    OffsetInterval own = tracks_.Next();
    bool steady = lastRoundTrip_ <= 2 * shortestRoundTrip_ + kNarrowTrack;
    bool within = (target >= own.low && target <= own.high) || own.Width() <= kMachineTrack;
    if (!tracks_.BothAnswered() || !steady || !within || own.Width() <= kNarrowTrack) {
        return target;
    }
    Seconds eighth = own.Width() / 8;
    return std::clamp(target, own.low + 3 * eighth, own.high - 3 * eighth);
}

} // namespace orvane
