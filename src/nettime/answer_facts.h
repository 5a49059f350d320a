#pragma once

#include "offset_interval.h"
#include "turn_tracks.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace orvane {

// What the answers of the last half hour prove of the machines behind the
// server's name, whichever machine gave each. An answer stamped `second`
// puts its machine's offset (server time minus monotonic time) within
// [second - received, second + 1 - sent], narrowed by the least each way
// takes: it says the machine's clock had, or had not yet, passed a second
// boundary when the request arrived. A Date may lag its clock (a stale
// stamp) but never lead it.
//
// The greatest lower edge is proof of a clock at least that far ahead; the
// least upper edge of one at most that far. When they cross, two machines
// answer at least that far apart (or a stamp was that stale). How far the
// clock ahead may lie beyond its lower edge, no single answer says: the
// machine that said "not yet" may have been another. Each "not yet" above
// that edge is a lookup the clock ahead did not answer had it been beyond:
// once enough of them lie below a point that a clock answering its share
// of the lookups would have answered one (but once in a thousand), the
// clock ahead is taken to lie below it. The clock behind likewise, with
// "passed".
class AnswerFacts {
public:
    struct Edges {
        Seconds ahead{0};  // the greatest lower edge: a clock at least here
        Seconds behind{0}; // the least upper edge: a clock at most here
        // Beyond these no clock lies, as enough answers say; without them,
        // as far as all answers allow.
        Seconds highest{0};
        Seconds lowest{0};
        bool highestWitnessed = false;
        bool lowestWitnessed = false;
        // The nearest "not yet" past the clock ahead's lower edge: the clock
        // likely lies below it, the answer there having been its own.
        Seconds aheadTop{0};
        // The edges cross by more than a round trip's play: two machines,
        // or stamps that lag their clock, which the bound covers alike.
        bool crossed = false;
    };

    // Returns whether the answer stepped away from all before it, which are
    // then forgotten.
    bool Add(MachineTime sentAt, MachineTime receivedAt, std::int64_t second);
    // Each way takes at least this long.
    void SetOneWay(Seconds oneWay) { oneWay_ = oneWay; }
    // The machines are known to answer in turn: a few answers in a row have
    // heard each of them.
    void SetInTurn(bool inTurn) { inTurn_ = inTurn; }
    bool Empty() const { return facts_.empty(); }
    // As of the latest answer.
    const Edges& Latest() const { return edges_; }

private:
    struct Fact {
        MachineTime sentAt;
        MachineTime receivedAt;
        std::int64_t second = 0;
    };

    OffsetInterval Likely(const Fact& fact, MachineTime at) const;
    void Update(MachineTime at);
    size_t WitnessesNeeded(const Edges& edges) const;

    std::deque<Fact> facts_;
    Seconds oneWay_{0};
    bool inTurn_ = false;
    Edges edges_;
};

} // namespace orvane
