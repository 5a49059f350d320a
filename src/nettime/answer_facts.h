#pragma once

#include "offset_interval.h"
#include "turn_tracks.h"

#include <cstdint>
#include <deque>

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
// least upper edge of one at most that far. When they cross by more than a
// stale stamp explains, two machines answer at least that far apart. How
// far the clock ahead may lie beyond, no single answer says: the machine
// that said "not yet" may have been another. The edges beyond are taken
// where several lookups aimed past the clocks found agree (witnesses): a
// clock beyond would have answered one of them otherwise, unless each went
// to another machine. Lookups that narrow the clocks found do not count:
// two machines either side of the estimate answer them as one clock would.
class AnswerFacts {
public:
    struct Edges {
        Seconds ahead{0};        // the greatest lower edge: a clock at least here
        Seconds behind{0};       // the least upper edge: a clock at most here
        Seconds aheadTop{0};     // the least upper edge not below `ahead`
        Seconds behindBottom{0}; // the greatest lower edge not above `behind`
        // No clock beyond, as enough witnesses say; without them, as far as
        // all answers allow.
        Seconds highest{0};
        Seconds lowest{0};
        bool highestWitnessed = false;
        bool lowestWitnessed = false;
    };

    // Returns whether the answer stepped away from all before it, which are
    // then forgotten.
    bool Add(MachineTime sentAt, MachineTime receivedAt, std::int64_t second);
    // Each way takes at least this long.
    void SetOneWay(Seconds oneWay) { oneWay_ = oneWay; }
    bool Empty() const { return facts_.empty(); }
    // As of the latest answer.
    const Edges& Latest() const { return edges_; }

private:
    struct Fact {
        MachineTime sentAt;
        MachineTime receivedAt;
        std::int64_t second = 0;
        // Aimed past where the clocks likely were, ahead or behind: a clock
        // there would have answered otherwise, had it been asked.
        bool pastAhead = false;
        bool pastBehind = false;
    };
    OffsetInterval Likely(const Fact& fact, MachineTime at) const;
    void Update(MachineTime at);

    std::deque<Fact> facts_;
    Seconds oneWay_{0};
    Edges edges_;
};

} // namespace orvane
