#pragma once

// The clock estimate and its lookup plan as the window drives them, on
// simulated time against a server of one clock or two, for the tests and the
// clock simulation.
#include "nettime/offset_interval.h"

#include <vector>

namespace orvane {

// Which clock answers a request: in turn, starting from the one ahead or
// behind, or at random, as a balancer serving many users may.
enum class Order { AheadFirst, BehindFirst, Random };

struct SimulatedMachines {
    double apart = 0;   // how far the second clock is behind the first; 0: one clock
    double phase = 0.3; // of the first clock's seconds against this machine's
    Order order = Order::AheadFirst;
    // Every so many requests, one is answered but the answer is lost: the
    // lookup fails after 3 s, the server having counted its turn.
    int lostEvery = 0;
    // A larger pool: its clocks behind the first's (then `apart` is unused),
    // and how often each of all answers at random (equally when empty).
    std::vector<double> behind = {};
    std::vector<double> weights = {};
    // Every clock's place behind the first, the first's 0 included.
    std::vector<double> Clocks() const;
};

// What a run showed from 15 s on, each turn of the shown second timed
// against the nearer clock and set against the bound stated at that moment.
struct WindowRun {
    double outsideShare = 0;   // of the turns, outside the bound stated
    double stated = 0;         // the clocks' difference stated at the end
    double foundAfter = 0;     // since when the difference stated is within 20 %
    double bound = 0;          // the median bound stated
    double widestExcess = 0;   // the most the bound exceeded the difference stated
    double aheadError = 0;     // the farthest the second shown was from the clock ahead
    double checkedAfter = 0;   // since when the check is done
    double narrowAfter = -1;   // when the bound first came within 10 ms
    int machines = 0;          // the machines the estimate found at the end
    double largestAfter30 = 0; // the widest bound stated after 30 s
    // Of the turns, how many left a clock that had answered outside the
    // bound: the bound is to cover every machine, not only the nearer.
    double anyClockOutsideShare = 0;
    // Of the turns, how many left a clock outside the bound wherever its own
    // answers allow it: the bound proven wrong by what was answered, had the
    // answers said which machine gave each.
    double provenOutsideShare = 0;
    // The most a turn was farther from a clock that had answered than the
    // bound stated.
    double mostOver = 0;
};

// A run of `length` seconds as the real window has it: its opening, ticks
// every 0.9 s from `tickPhase`, and each answer, let a lookup leave at its aimed moment
// when it is due within a second, one at a time; answers come over loopback
// (0.2 to 1 ms each way); the panel turns its second when the estimate's
// does. The turns are weighed from `from` seconds on.
WindowRun SimulateWindow(const SimulatedMachines& machines, double tickPhase, unsigned seed,
                         double length = 80, double from = 15);

} // namespace orvane
