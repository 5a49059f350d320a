#include "answer_facts.h"

#include <algorithm>
#include <limits>

namespace orvane {

namespace {

// How long an answer counts: a machine not heard from for this long may
// have left the pool.
constexpr Seconds kFactMemory = 300;
constexpr size_t kMostFacts = 256;
// Answers further apart than this tell of a step of the clock, not of
// another machine: those before it no longer count.
constexpr Seconds kWidestSpread = 1;
constexpr Seconds kEndless = std::numeric_limits<Seconds>::infinity();

} // namespace

void AnswerFacts::Add(Seconds sentAt, Seconds receivedAt, std::int64_t second, Seconds oneWay) {
    auto date = Seconds(second);
    OffsetInterval likely{date - receivedAt + oneWay, date + 1 - sentAt - oneWay};
    std::erase_if(facts_, [&](const Fact& fact) {
        OffsetInterval old = Aged(fact.likely, fact.at, receivedAt, kLikelyDrift);
        return receivedAt - fact.at > kFactMemory || old.low > likely.high + kWidestSpread ||
               old.high < likely.low - kWidestSpread;
    });
    facts_.push_back({likely, receivedAt});
    if (facts_.size() > kMostFacts) {
        facts_.pop_front();
    }
    Edges edges{-kEndless, kEndless, kEndless};
    for (const Fact& fact : facts_) {
        OffsetInterval aged = Aged(fact.likely, fact.at, receivedAt, kLikelyDrift);
        edges.ahead = std::max(edges.ahead, aged.low);
        edges.behind = std::min(edges.behind, aged.high);
    }
    for (const Fact& fact : facts_) {
        OffsetInterval aged = Aged(fact.likely, fact.at, receivedAt, kLikelyDrift);
        if (aged.high >= edges.ahead) {
            edges.aheadTop = std::min(edges.aheadTop, aged.high);
        }
    }
    edges_ = edges;
    updatedAt_ = receivedAt;
}

AnswerFacts::Edges AnswerFacts::At(Seconds at) const {
    Seconds growth = kLikelyDrift * std::max(0.0, at - updatedAt_);
    return {edges_.ahead - growth, edges_.behind + growth, edges_.aheadTop + growth};
}

Seconds AnswerFacts::SpreadAt(Seconds at) const {
    Edges edges = At(at);
    return facts_.empty() ? 0 : std::max(0.0, edges.ahead - edges.behind);
}

} // namespace orvane
