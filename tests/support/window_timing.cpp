#include "window_timing.h"

#include "nettime/clock_estimator.h"
#include "nettime/lookup_plan.h"
#include "nettime/shown_second.h"
#include "scripted_time.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace orvane {

namespace {

// The server's clock ahead of ours, in whole seconds.
constexpr double kWholeOffset = 1796598319;

double Uniform(std::mt19937& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

// The offsets a clock's answers allow it: each answer stamped between the
// request's leaving and its answer's return.
struct Allowed {
    double low = -1e18;
    double high = 1e18;
    void Narrow(double answerLow, double answerHigh) {
        low = std::max(low, answerLow);
        high = std::min(high, answerHigh);
    }
    // How far the nearest offset allowed is from `offset`.
    double Distance(double offset) const { return std::max({0.0, low - offset, offset - high}); }
};

} // namespace

std::vector<double> SimulatedMachines::Clocks() const {
    if (!behind.empty()) {
        std::vector<double> clocks{0};
        clocks.insert(clocks.end(), behind.begin(), behind.end());
        return clocks;
    }
    return apart > 0 ? std::vector<double>{0, apart} : std::vector<double>{0};
}

WindowRun SimulateWindow(const SimulatedMachines& machines, double tickPhase, unsigned seed,
                         double length, double from) {
    std::mt19937 random(seed);
    ClockEstimator clock;
    LookupPlan plan;
    const double ahead = kWholeOffset + machines.phase;
    const std::vector<double> clocks = machines.Clocks();
    const double spread = *std::max_element(clocks.begin(), clocks.end());
    std::vector<double> weights = machines.weights;
    weights.resize(clocks.size(), weights.empty() ? 1.0 : 0.0);
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
    std::vector<bool> answered(clocks.size(), false);
    // Where each clock's own answers allow its offset: what an estimate that
    // knew which machine gave each answer could prove.
    std::vector<Allowed> allowed(clocks.size());
    // In turn, the first request goes to the clock ahead or to the last one.
    size_t firstTurn = machines.order == Order::BehindFirst ? clocks.size() - 1 : 0;
    auto answering = [&](int request) {
        size_t which = machines.order == Order::Random
                           ? pick(random)
                           : (firstTurn + size_t(request)) % clocks.size();
        answered[which] = true;
        return which;
    };
    int request = 0;
    bool inFlight = false;
    bool justAnswered = false;
    double sendAt = 0;
    double failAt = -1;
    double nextTick = 0; // the window's opening, then each tick
    bool opened = false;
    ShownSecond panel;
    std::optional<std::int64_t> shownSecond;
    int turns = 0;
    int outside = 0;
    int anyOutside = 0;
    int provenOutside = 0;
    std::vector<double> bounds;
    WindowRun run;
    for (long milli = 0; double(milli) / 1000 < length; ++milli) {
        double now = double(milli) / 1000;
        if (now >= nextTick || justAnswered) {
            if (now >= nextTick) {
                nextTick = opened ? nextTick + 0.9 : tickPhase;
                opened = true;
            }
            double due = SecondsOf(plan.NextSendTime(clock, At(now)));
            if (!inFlight && due <= now + 1.0) {
                inFlight = true;
                sendAt = due;
            }
        }
        justAnswered = false;
        if (inFlight && failAt >= 0 && now >= failAt) {
            plan.Failed(At(failAt));
            clock.Missed();
            inFlight = false;
            justAnswered = true;
            failAt = -1;
        } else if (inFlight && failAt < 0 && now >= sendAt && machines.lostEvery > 0 &&
                   request % machines.lostEvery == machines.lostEvery - 1) {
            answering(request++);
            plan.Sent(At(sendAt));
            failAt = sendAt + 3;
        } else if (inFlight && failAt < 0 && now >= sendAt) {
            double out = Uniform(random, 0.0002, 0.001);
            double back = Uniform(random, 0.0002, 0.001);
            size_t which = answering(request++);
            double second = std::floor(sendAt + out + ahead - clocks[which]);
            plan.Sent(At(sendAt));
            clock.AddAnswer(At(sendAt), At(sendAt + out + back), std::int64_t(second));
            allowed[which].Narrow(second - (sendAt + out + back), second + 1 - sendAt);
            plan.Answered(clock, At(sendAt + out + back));
            inFlight = false;
            justAnswered = true;
        }
        if (justAnswered && run.narrowAfter < 0 &&
            SecondsOf(clock.UncertaintyAt(At(now))) <= 0.010) {
            run.narrowAfter = now; // it narrows only at an answer
        }
        std::optional<ServerTime> server = clock.ServerTimeAt(At(now));
        if (!server) {
            continue;
        }
        // The panel's second: held, never shown twice, while the estimate
        // steps back.
        std::int64_t second =
            panel.Next(std::int64_t(std::floor(SecondsOf(*server))), clock.Restarts());
        if (shownSecond == second) {
            continue;
        }
        shownSecond = second;
        // How far each clock's time was from the second just shown.
        double nearer = 1e9;
        double farthest = 0;
        double proven = 0;
        for (size_t i = 0; i < clocks.size(); ++i) {
            double late = std::fabs(now + ahead - clocks[i] - double(*shownSecond));
            nearer = std::min(nearer, late);
            farthest = answered[i] ? std::max(farthest, late) : farthest;
            proven = std::max(proven, allowed[i].Distance(double(*shownSecond) - now));
        }
        double bound = SecondsOf(clock.UncertaintyAt(At(now)));
        run.stated = SecondsOf(clock.DisagreementAt(At(now)));
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
        provenOutside += proven > bound + 0.001;
        run.mostOver = std::max(run.mostOver, farthest - bound);
        bounds.push_back(bound);
        if (now >= 30) {
            run.largestAfter30 = std::max(run.largestAfter30, bound);
        }
        run.widestExcess = std::max(run.widestExcess, bound - run.stated);
        run.aheadError = std::max(run.aheadError, std::fabs(now + ahead - double(*shownSecond)));
    }
    run.outsideShare = turns > 0 ? double(outside) / turns : 0;
    run.anyClockOutsideShare = turns > 0 ? double(anyOutside) / turns : 0;
    run.provenOutsideShare = turns > 0 ? double(provenOutside) / turns : 0;
    std::sort(bounds.begin(), bounds.end());
    run.bound = bounds.empty() ? 0 : bounds[bounds.size() / 2];
    return run;
}

} // namespace orvane
