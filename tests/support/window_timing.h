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
    Seconds apart = 0;   // how far the second clock is behind the first; 0: one clock
    Seconds phase = 0.3; // of the first clock's seconds against this machine's
    Order order = Order::AheadFirst;
    // Every so many requests, one is answered but the answer is lost: the
    // lookup fails after 3 s, the server having counted its turn.
    int lostEvery = 0;
    // A larger pool: its clocks behind the first's (then `apart` is unused),
    // and how often each of all answers at random (equally when empty).
    std::vector<Seconds> behind = {};
    std::vector<double> weights = {};
    // Every clock's place behind the first, the first's 0 included.
    std::vector<Seconds> Clocks() const;
};

// What a run showed from 15 s on, each turn of the shown second timed
// against the nearer clock and set against the bound stated at that moment.
struct WindowRun {
    double outsideShare = 0;    // of the turns, outside the bound stated
    Seconds stated = 0;         // the clocks' difference stated at the end
    Seconds foundAfter = 0;     // since when the difference stated is within 20 %
    Seconds bound = 0;          // the median bound stated
    Seconds widestExcess = 0;   // the most the bound exceeded the difference stated
    Seconds aheadError = 0;     // the farthest the second shown was from the clock ahead
    Seconds checkedAfter = 0;   // since when the check is done
    Seconds narrowAfter = -1;   // when the bound first came within 10 ms
    int machines = 0;           // the machines the estimate found at the end
    Seconds largestAfter30 = 0; // the widest bound stated after 30 s
    // Of the turns, how many left a clock that had answered outside the
    // bound: the bound is to cover every machine, not only the nearer.
    double anyClockOutsideShare = 0;
};

// A run of `length` seconds as the real window has it: its opening, ticks
// every 0.9 s from `tickPhase`, and each answer, let a lookup leave at its aimed moment
// when it is due within a second, one at a time; answers come over loopback
// (0.2 to 1 ms each way); the panel turns its second when the estimate's
// does. The turns are weighed from `from` seconds on.
WindowRun SimulateWindow(const SimulatedMachines& machines, Seconds tickPhase, unsigned seed,
                         Seconds length = 80, Seconds from = 15);

} // namespace orvane
