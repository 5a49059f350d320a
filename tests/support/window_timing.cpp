#include "window_timing.h"

#include "nettime/clock_estimator.h"
#include "nettime/lookup_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace orvane {

namespace {

// The server's clock ahead of ours, in whole seconds.
constexpr Seconds kWholeOffset = 1796598319;

Seconds Uniform(std::mt19937& random, Seconds low, Seconds high) {
    return std::uniform_real_distribution<Seconds>(low, high)(random);
}

// How late a turn at `now` came after the boundary of the clock at `offset`.
Seconds LateAfter(Seconds now, Seconds offset) {
    Seconds since = std::fmod(now + offset, 1.0);
    return since < 0.5 ? since : since - 1;
}

} // namespace

std::vector<Seconds> SimulatedMachines::Clocks() const {
    if (!behind.empty()) {
        std::vector<Seconds> clocks{0};
        clocks.insert(clocks.end(), behind.begin(), behind.end());
        return clocks;
    }
    return apart > 0 ? std::vector<Seconds>{0, apart} : std::vector<Seconds>{0};
}

WindowRun SimulateWindow(const SimulatedMachines& machines, Seconds tickPhase, unsigned seed,
                         Seconds length, Seconds from) {
    std::mt19937 random(seed);
    ClockEstimator clock;
    LookupPlan plan;
    const Seconds ahead = kWholeOffset + machines.phase;
    const std::vector<Seconds> clocks = machines.Clocks();
    const Seconds spread = *std::max_element(clocks.begin(), clocks.end());
    std::vector<double> weights = machines.weights;
    weights.resize(clocks.size(), weights.empty() ? 1.0 : 0.0);
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
    std::vector<bool> answered(clocks.size(), false);
    // In turn, the first request goes to the clock ahead or to the last one.
    size_t firstTurn = machines.order == Order::BehindFirst ? clocks.size() - 1 : 0;
    auto answering = [&](int request) {
        size_t which = machines.order == Order::Random
                           ? pick(random)
                           : (firstTurn + size_t(request)) % clocks.size();
        answered[which] = true;
        return ahead - clocks[which];
    };
    int request = 0;
    bool inFlight = false;
    bool justAnswered = false;
    Seconds sendAt = 0;
    Seconds failAt = -1;
    Seconds nextTick = 0; // the window's opening, then each tick
    bool opened = false;
    std::optional<std::int64_t> shownSecond;
    int turns = 0;
    int outside = 0;
    int anyOutside = 0;
    std::vector<Seconds> bounds;
    WindowRun run;
    for (Seconds now = 0; now < length; now += 0.001) {
        if (now >= nextTick || justAnswered) {
            if (now >= nextTick) {
                nextTick = opened ? nextTick + 0.9 : tickPhase;
                opened = true;
            }
            Seconds due = plan.NextSendTime(clock, now);
            if (!inFlight && due <= now + 1.0) {
                inFlight = true;
                sendAt = due;
            }
        }
        justAnswered = false;
        if (inFlight && failAt >= 0 && now >= failAt) {
            plan.Failed(failAt);
            clock.Missed();
            inFlight = false;
            justAnswered = true;
            failAt = -1;
        } else if (inFlight && failAt < 0 && now >= sendAt && machines.lostEvery > 0 &&
                   request % machines.lostEvery == machines.lostEvery - 1) {
            answering(request++);
            plan.Sent(sendAt);
            failAt = sendAt + 3;
        } else if (inFlight && failAt < 0 && now >= sendAt) {
            Seconds out = Uniform(random, 0.0002, 0.001);
            Seconds back = Uniform(random, 0.0002, 0.001);
            Seconds stamp = sendAt + out + answering(request++);
            plan.Sent(sendAt);
            clock.AddAnswer(sendAt, sendAt + out + back, std::int64_t(std::floor(stamp)));
            plan.Answered(clock, sendAt + out + back);
            inFlight = false;
            justAnswered = true;
        }
        if (justAnswered && run.narrowAfter < 0 && clock.UncertaintyAt(now) <= 0.010) {
            run.narrowAfter = now; // it narrows only at an answer
        }
        std::optional<Seconds> server = clock.ServerTimeAt(now);
        if (!server || shownSecond == std::int64_t(std::floor(*server))) {
            continue;
        }
        shownSecond = std::int64_t(std::floor(*server));
        Seconds nearer = 1;
        Seconds farthest = 0;
        for (size_t i = 0; i < clocks.size(); ++i) {
            Seconds late = std::fabs(LateAfter(now, ahead - clocks[i]));
            nearer = std::min(nearer, late);
            farthest = answered[i] ? std::max(farthest, late) : farthest;
        }
        Seconds bound = clock.UncertaintyAt(now);
        run.stated = clock.DisagreementAt(now);
        run.machines = clock.Machines();
        if (spread > 0 && std::fabs(run.stated - spread) > 0.2 * spread) {
            run.foundAfter = now;
        }
        if (!clock.Checked()) {
            run.checkedAfter = now;
        }
        if (now < from) {
            continue;
        }
        ++turns;
        outside += nearer > bound + 0.001;
        anyOutside += farthest > bound + 0.001;
        bounds.push_back(bound);
        if (now >= 30) {
            run.largestAfter30 = std::max(run.largestAfter30, bound);
        }
        run.widestExcess = std::max(run.widestExcess, bound - run.stated);
        run.aheadError = std::max(run.aheadError, std::fabs(LateAfter(now, ahead)));
    }
    run.outsideShare = turns > 0 ? double(outside) / turns : 0;
    run.anyClockOutsideShare = turns > 0 ? double(anyOutside) / turns : 0;
    std::sort(bounds.begin(), bounds.end());
    run.bound = bounds.empty() ? 0 : bounds[bounds.size() / 2];
    return run;
}

} // namespace orvane
