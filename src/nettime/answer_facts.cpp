#include "answer_facts.h"

#include <algorithm>
#include <limits>
#include <vector>

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
// How many answers must agree that no clock lies beyond an edge: each may
// have come from another machine, at worst one in two.
constexpr size_t kWitnesses = 4;
// A witness said "not yet" this far beyond the edge at least: one at the
// edge cannot tell a clock there from one a little beyond.
constexpr Seconds kWitnessGap = 1ms;
constexpr Seconds kEndless{std::numeric_limits<double>::infinity()};

// The kWitnesses-th nearest of the edges given, or `otherwise` with fewer.
Seconds Witnessed(std::vector<Seconds>& edges, Seconds otherwise) {
    if (edges.size() < kWitnesses) {
        return otherwise;
    }
    std::nth_element(edges.begin(), edges.begin() + kWitnesses - 1, edges.end());
    return edges[kWitnesses - 1];
}

} // namespace

bool AnswerFacts::Add(MachineTime sentAt, MachineTime receivedAt, std::int64_t second) {
    MachineTime at = receivedAt;
    Fact added{sentAt, receivedAt, second};
    OffsetInterval fresh = Likely(added, at);
    added.pastAhead = !facts_.empty() && fresh.high > edges_.aheadTop + kWitnessGap;
    added.pastBehind = !facts_.empty() && fresh.low < edges_.behindBottom - kWitnessGap;
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
    edges.ahead = edges.highest = -kEndless;
    edges.behind = edges.lowest = kEndless;
    for (const Fact& fact : facts_) {
        OffsetInterval likely = Likely(fact, at);
        edges.ahead = std::max(edges.ahead, likely.low);
        edges.behind = std::min(edges.behind, likely.high);
        edges.highest = std::max(edges.highest, likely.high);
        edges.lowest = std::min(edges.lowest, likely.low);
    }
    edges.aheadTop = edges.highest;
    edges.behindBottom = edges.lowest;
    std::vector<Seconds> above;
    std::vector<Seconds> below;
    for (const Fact& fact : facts_) {
        OffsetInterval likely = Likely(fact, at);
        if (likely.high >= edges.ahead) {
            edges.aheadTop = std::min(edges.aheadTop, likely.high);
        }
        if (likely.low <= edges.behind) {
            edges.behindBottom = std::max(edges.behindBottom, likely.low);
        }
        if (fact.pastAhead && likely.high >= edges.ahead + kWitnessGap) {
            above.push_back(likely.high);
        }
        if (fact.pastBehind && likely.low <= edges.behind - kWitnessGap) {
            below.push_back(-likely.low);
        }
    }
    edges.highestWitnessed = above.size() >= kWitnesses;
    edges.lowestWitnessed = below.size() >= kWitnesses;
    edges.highest = Witnessed(above, edges.highest);
    edges.lowest = -Witnessed(below, -edges.lowest);
    edges_ = edges;
}

} // namespace orvane
