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
constexpr Seconds kSettled = 15;

Seconds Uniform(std::mt19937& random, Seconds low, Seconds high) {
    return std::uniform_real_distribution<Seconds>(low, high)(random);
}

// How late a turn at `now` came after the boundary of the clock at `offset`.
Seconds LateAfter(Seconds now, Seconds offset) {
    Seconds since = std::fmod(now + offset, 1.0);
    return since < 0.5 ? since : since - 1;
}

} // namespace

WindowRun SimulateWindow(const SimulatedMachines& machines, Seconds tickPhase, unsigned seed,
                         Seconds length) {
    std::mt19937 random(seed);
    ClockEstimator clock;
    LookupPlan plan;
    const Seconds ahead = kWholeOffset + machines.phase;
    const Seconds behind = ahead - machines.apart;
    auto answering = [&](int request) {
        bool first = machines.order == Order::Random
                         ? random() % 2 == 0
                         : (request % 2 == 0) == (machines.order == Order::AheadFirst);
        return first ? ahead : behind;
    };
    int request = 0;
    bool inFlight = false;
    bool answered = false;
    Seconds sendAt = 0;
    Seconds failAt = -1;
    Seconds nextTick = 0; // the window's opening, then each tick
    bool opened = false;
    std::optional<std::int64_t> shownSecond;
    int turns = 0;
    int outside = 0;
    std::vector<Seconds> bounds;
    WindowRun run;
    for (Seconds now = 0; now < length; now += 0.001) {
        if (now >= nextTick || answered) {
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
        answered = false;
        if (inFlight && failAt >= 0 && now >= failAt) {
            plan.Failed(failAt);
            clock.Missed();
            inFlight = false;
            answered = true;
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
            answered = true;
        }
        if (answered && run.narrowAfter < 0 && clock.UncertaintyAt(now) <= 0.010) {
            run.narrowAfter = now; // it narrows only at an answer
        }
        std::optional<Seconds> server = clock.ServerTimeAt(now);
        if (!server || shownSecond == std::int64_t(std::floor(*server))) {
            continue;
        }
        shownSecond = std::int64_t(std::floor(*server));
        Seconds late = LateAfter(now, ahead);
        Seconds lateBehind = LateAfter(now, behind);
        Seconds nearer = std::min(std::fabs(late), std::fabs(lateBehind));
        Seconds bound = clock.UncertaintyAt(now);
        run.stated = clock.DisagreementAt(now);
        if (machines.apart > 0 && std::fabs(run.stated - machines.apart) > 0.2 * machines.apart) {
            run.foundAfter = now;
        }
        if (!clock.Checked()) {
            run.checkedAfter = now;
        }
        if (now < kSettled) {
            continue;
        }
        ++turns;
        outside += nearer > bound + 0.001;
        bounds.push_back(bound);
        run.widestExcess = std::max(run.widestExcess, bound - run.stated);
        run.aheadError = std::max(run.aheadError, std::fabs(late));
    }
    run.outsideShare = turns > 0 ? double(outside) / turns : 0;
    std::sort(bounds.begin(), bounds.end());
    run.bound = bounds.empty() ? 0 : bounds[bounds.size() / 2];
    return run;
}

} // namespace orvane
