#include "answer_facts.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

using namespace std::chrono_literals;

// How long an answer counts: a machine not heard from for this long may
// have left the pool.
constexpr Seconds kFactMemory = 30min;
constexpr size_t kMostFacts = 128;
// Answers further apart than this tell of a step of the clock, not of
// another machine.
constexpr Seconds kWidestSpread = 1s;
// Machines that keep to turns are each heard within a few answers. Before
// the answers cross, a pool at random mostly shows itself by crossing them:
// a clock hidden beyond an edge that answers half is missed by seven in a
// row once in 128 times.
constexpr size_t kWitnessesInTurn = 4;
constexpr size_t kWitnessesAlone = 7;
// How rarely a clock of a pool beyond the edges may have gone unheard, and
// the share of the answers it gives at least: in a pool, one of three; where
// the answers cross but little, one of two.
constexpr double kUnheard = 1e-3;
constexpr double kPoolShare = 1.0 / 3;
constexpr double kCloseShare = 1.0 / 2;
// An answer's other edge this much beyond its round trip's play says
// something of a clock beyond.
constexpr Seconds kPlay = 1ms;
// Answers crossing by less may be one clock's stamps lagging, as event-loop
// servers stamp from a time they keep, a close pool, or two machines further
// apart whose answers have crossed but little yet; no answer tells them
// apart. They take the witnesses of two machines answering half each: a
// lagging server's bound still narrows within a minute and a half, and two
// machines further apart are seldom taken for one.
constexpr Seconds kStaleCrossing = 20ms;
constexpr Seconds kEndless{std::numeric_limits<double>::infinity()};

// How many answers in a row a clock answering `share` of them misses but
// once in 1 / kUnheard.
size_t WitnessesFor(double share) {
    return size_t(std::ceil(std::log(kUnheard) / std::log1p(-share)));
}

// The `count`-th of the distances, or `otherwise` with fewer; sorted.
Seconds Witnessed(const std::vector<Seconds>& distances, size_t count, Seconds otherwise) {
    return distances.size() >= count ? distances[count - 1] : otherwise;
}

} // namespace

bool AnswerFacts::Add(MachineTime sentAt, MachineTime receivedAt, std::int64_t second) {
    MachineTime at = receivedAt;
    Fact added{sentAt, receivedAt, second};
    OffsetInterval fresh = Likely(added, at);
    std::erase_if(facts_, [at](const Fact& fact) { return at - fact.receivedAt > kFactMemory; });
    size_t before = facts_.size();
    std::erase_if(facts_, [&](const Fact& fact) {
        OffsetInterval old = Likely(fact, at);
        return old.low > fresh.high + kWidestSpread || old.high < fresh.low - kWidestSpread;
    });
    bool stepped = facts_.size() < before;
    facts_.push_back(added);
    if (facts_.size() > kMostFacts) {
        facts_.pop_front();
    }
    Update(at);
    return stepped;
}

OffsetInterval AnswerFacts::Likely(const Fact& fact, MachineTime at) const {
    ServerTime date{std::chrono::seconds(fact.second)};
    OffsetInterval likely{OffsetOf(date, fact.receivedAt) + oneWay_,
                          OffsetOf(date + 1s, fact.sentAt) - oneWay_};
    return Aged(likely, fact.receivedAt, at, kLikelyDrift);
}

void AnswerFacts::Update(MachineTime at) {
    Edges edges;
    edges.ahead = -kEndless;
    edges.behind = kEndless;
    Seconds highest = -kEndless;
    Seconds lowest = kEndless;
    for (const Fact& fact : facts_) {
        OffsetInterval likely = Likely(fact, at);
        edges.ahead = std::max(edges.ahead, likely.low);
        edges.behind = std::min(edges.behind, likely.high);
        highest = std::max(highest, likely.high);
        lowest = std::min(lowest, likely.low);
    }
    // How far each answer's other edge lies beyond the proven edges. One
    // clock: past where all answers agree. A pool: past the clock ahead's
    // lower edge (the clock behind's upper), further than the answer's round
    // trip's play: nearer, it may have come from the clock at that edge
    // itself, a "not yet" in the same millisecond as a "passed".
    edges.crossed = edges.ahead - edges.behind > kPlay;
    bool random = edges.crossed && !inTurn_;
    Seconds top = std::max(edges.ahead, edges.behind);
    Seconds bottom = std::min(edges.ahead, edges.behind);
    std::vector<Seconds> above;
    std::vector<Seconds> below;
    for (const Fact& fact : facts_) {
        OffsetInterval likely = Likely(fact, at);
        Seconds play = random ? fact.receivedAt - fact.sentAt - 2 * oneWay_ + kPlay : kPlay;
        if (likely.high >= top + play) {
            above.push_back(likely.high - edges.ahead);
        }
        if (likely.low <= bottom - play) {
            below.push_back(edges.behind - likely.low);
        }
    }
    std::sort(above.begin(), above.end());
    std::sort(below.begin(), below.end());
    size_t witnesses = WitnessesNeeded(edges);
    edges.highestWitnessed = above.size() >= witnesses;
    edges.lowestWitnessed = below.size() >= witnesses;
    edges.highest = edges.ahead + Witnessed(above, witnesses, highest - edges.ahead);
    edges.lowest = edges.behind - Witnessed(below, witnesses, edges.behind - lowest);
    edges.aheadTop = edges.ahead + Witnessed(above, 1, highest - edges.ahead);
    edges_ = edges;
}

// Once the answers cross, machines not known to keep turns answer at
// random, each its share.
size_t AnswerFacts::WitnessesNeeded(const Edges& edges) const {
    if (inTurn_) {
        return kWitnessesInTurn;
    }
    if (!edges.crossed) {
        return kWitnessesAlone;
    }
    bool close = edges.ahead - edges.behind <= kStaleCrossing;
    return WitnessesFor(close ? kCloseShare : kPoolShare);
}

} // namespace orvane
