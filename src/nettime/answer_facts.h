#pragma once

#include "offset_interval.h"
#include "turn_tracks.h"

#include <cstdint>
#include <deque>

namespace orvane {

// What the answers of the last minutes prove of the machines behind the
// server's name, whichever machine gave each. An answer stamped `second`
// puts its machine's offset (server time minus monotonic time) within
// [second - received, second + 1 - sent], narrowed by the least each way
// takes: its machine's clock had, or had not yet, passed a second boundary
// when the request arrived. A Date may lag its clock (a stale stamp) but
// never lead it.
//
// The greatest lower edge proves a clock at least that far ahead; the least
// upper edge one at most that far. When they cross by more than a stale
// stamp explains, two machines answer at least that far apart, in whatever
// order.
class AnswerFacts {
public:
    struct Edges {
        Seconds ahead = 0;    // the greatest lower edge: a clock at least here
        Seconds behind = 0;   // the least upper edge: a clock at most here
        Seconds aheadTop = 0; // the least upper edge not below `ahead`
    };

    void Add(Seconds sentAt, Seconds receivedAt, std::int64_t second, Seconds oneWay);
    bool Empty() const { return facts_.empty(); }
    // As of the latest answer, grown by the drift since.
    Edges At(Seconds at) const;
    // The clocks are at least this far apart; 0 while one may explain all.
    Seconds SpreadAt(Seconds at) const;

private:
    struct Fact {
        OffsetInterval likely;
        Seconds at = 0;
    };

    std::deque<Fact> facts_;
    Edges edges_;
    Seconds updatedAt_ = 0;
};

} // namespace orvane
