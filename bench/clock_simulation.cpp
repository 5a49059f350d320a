// The clock estimate and its lookup plan against simulated time servers,
// on simulated time: 60 minutes per server model, 60 ms round trip, at six
// phases of the server's seconds against ours. Prints, for each model, the
// error of the shown second at each turn-over (median, p95, max), the share
// of seconds whose error the stated bound does not cover, requests per
// minute after minute 2, how long after a step of the server's clock the
// shown second is within 100 ms of it, and how often the shown second went
// back. Then the window's own timing against pools of machines
// (WindowTable).
#include "nettime/clock_estimator.h"
#include "nettime/lookup_plan.h"
#include "nettime/shown_second.h"
#include "nettime/turn_tracks.h"
#include "scripted_time.h"
#include "window_timing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace orvane {

namespace {

constexpr double kRun = 3600;
constexpr double kOneWay = 0.030;
// The server's clock ahead of ours, in whole seconds; the fraction is the
// phase of its seconds against ours, which the runs vary.
constexpr double kWholeOffset = 1796598319;
constexpr double kPhases[] = {0.345, 0.02, 0.1, 0.55, 0.8, 0.95};

// A server as the client meets it: the clocks that may answer, and how an
// answer comes.
struct Model {
    std::string name;
    // The offsets of the server's clocks at a moment; the first answers now.
    std::function<std::vector<double>(double at, int request)> clocks;
    // The Date stamped at the server's time `serverTime`.
    std::function<std::int64_t(double serverTime, std::mt19937& random)> stamp;
    // Delays out and back.
    std::function<std::pair<double, double>(std::mt19937& random)> delays;
    // An answer that is no reading of the clock (a cache's copy).
    std::function<bool(double at)> cached = [](double) { return false; };
};

std::int64_t Fresh(double serverTime, std::mt19937&) {
    return std::int64_t(std::floor(serverTime));
}

std::pair<double, double> Steady(std::mt19937&) {
    return {kOneWay, kOneWay};
}

double Uniform(std::mt19937& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

std::vector<Model> Models(double kOffset) {
    auto one = [kOffset](double, int) { return std::vector<double>{kOffset}; };
    auto twoApart = [kOffset](double apart) {
        return [apart, kOffset](double, int request) {
            return request % 2 == 0 ? std::vector<double>{kOffset, kOffset + apart}
                                    : std::vector<double>{kOffset + apart, kOffset};
        };
    };
    return {
        {"fresh stamps", one, Fresh, Steady},
        {"stamps 0-20 ms stale", one,
         [](double t, std::mt19937& r) {
             return std::int64_t(std::floor(t - Uniform(r, 0, 0.02)));
         },
         Steady},
        {"30 s cache with Age", one, Fresh, Steady,
         [](double at) { return std::fmod(at, 30.0) > 0.5; }},
        {"two clocks 80 ms apart", twoApart(0.080), Fresh, Steady},
        {"two clocks 700 ms apart", twoApart(0.700), Fresh, Steady},
        {"a +10 s step at minute 30",
         [kOffset](double at, int) { return std::vector<double>{kOffset + (at >= 1800 ? 10 : 0)}; },
         Fresh, Steady},
        {"a -300 ms step at minute 30",
         [kOffset](double at, int) {
             return std::vector<double>{kOffset - (at >= 1800 ? 0.3 : 0)};
         },
         Fresh, Steady},
        {"jitter 0-300 ms each way", one, Fresh,
         [](std::mt19937& r) {
             return std::pair{kOneWay + Uniform(r, 0, 0.3), kOneWay + Uniform(r, 0, 0.3)};
         }},
        {"one way held 20-80 ms", one, Fresh,
         [](std::mt19937& r) {
             double held = Uniform(r, 0, 1) < 0.2 ? Uniform(r, 0.02, 0.08) : 0;
             return std::pair{kOneWay + held, kOneWay};
         }},
    };
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

struct Figures {
    double median = 0;
    double p95 = 0;
    double max = 0;
    double outsideShare = 0;
    double requestsPerMinute = 0;
    double stepFollowed = -1;
    int backward = 0;
};

Figures Run(const Model& model) {
    std::mt19937 random(1);
    ClockEstimator clock;
    LookupPlan plan;
    ShownSecond shown;
    std::vector<double> errors;
    int outside = 0;
    int requestsLate = 0;
    int backward = 0;
    std::int64_t lastShown = 0;
    double stepFollowed = -1;
    int request = 0;
    double nextSend = SecondsOf(plan.NextSendTime(clock, At(0)));
    for (double now = 0; now < kRun; now += 0.1) {
        while (nextSend <= now) {
            std::vector<double> clocks = model.clocks(nextSend, request++);
            auto [out, back] = model.delays(random);
            double received = nextSend + out + back;
            plan.Sent(At(nextSend));
            requestsLate += nextSend >= 120;
            if (model.cached(nextSend)) {
                plan.Failed(At(received));
            } else {
                clock.AddAnswer(At(nextSend), At(received),
                                model.stamp(nextSend + out + clocks.front(), random));
                plan.Answered(clock, At(received));
            }
            nextSend = SecondsOf(plan.NextSendTime(clock, At(received)));
        }
        std::optional<ServerTime> estimate = clock.ServerTimeAt(At(now));
        if (!estimate) {
            continue;
        }
        std::optional<double> server = SecondsOf(*estimate);
        // The error of the shown time against every clock that answers.
        double error = 0;
        for (double offset : model.clocks(now, 0)) {
            error = std::max(error, std::fabs(*server - (now + offset)));
        }
        std::int64_t second = shown.Next(std::int64_t(std::floor(*server)), clock.Restarts());
        backward += lastShown != 0 && second < lastShown;
        lastShown = second;
        if (now >= 120 && std::fmod(now, 1.0) < 0.1) {
            errors.push_back(error);
            outside += error > SecondsOf(clock.UncertaintyAt(At(now)));
        }
        if (now >= 1800 && stepFollowed < 0 && error < 0.1) {
            stepFollowed = now - 1800;
        }
    }
    return {Percentile(errors, 0.5),
            Percentile(errors, 0.95),
            Percentile(errors, 1.0),
            double(outside) / double(errors.size()),
            requestsLate / ((kRun - 120) / 60),
            stepFollowed,
            backward};
}

void Print(const std::string& name, const Figures& f) {
    std::string step = name.find("step") != std::string::npos
                           ? std::to_string(int(f.stepFollowed)) + " s"
                           : std::string("-");
    std::printf("%-26s %7.1f %7.1f %8.1f %8.2f %%  %5.2f  %8s  %4d\n", name.c_str(),
                f.median * 1000, f.p95 * 1000, f.max * 1000, 100 * f.outsideShare,
                f.requestsPerMinute, step.c_str(), f.backward);
}

// The worst of each figure over the runs.
Figures Worst(const Figures& a, const Figures& b) {
    return {std::max(a.median, b.median),
            std::max(a.p95, b.p95),
            std::max(a.max, b.max),
            std::max(a.outsideShare, b.outsideShare),
            std::max(a.requestsPerMinute, b.requestsPerMinute),
            std::max(a.stepFollowed, b.stepFollowed),
            std::max(a.backward, b.backward)};
}

struct PoolModel {
    std::string name;
    SimulatedMachines machines;
};

// The pools a client meets: in turn as when alone on a balancer, at random
// as when thousands share it, with answers lost, weighted, and a well-kept
// pool that must read as one clock.
std::vector<PoolModel> PoolModels() {
    std::vector<PoolModel> models;
    for (int lost : {0, 10}) {
        std::string suffix = lost > 0 ? ", 1/10 lost" : "";
        models.push_back({"one clock" + suffix, {0, 0, Order::AheadFirst, lost}});
        for (double apart : {0.080, 0.700}) {
            std::string ms = std::to_string(int(apart * 1000));
            models.push_back(
                {"2 in turn " + ms + " ms" + suffix, {apart, 0, Order::AheadFirst, lost}});
            models.push_back({"2 random " + ms + " ms" + suffix, {apart, 0, Order::Random, lost}});
        }
        models.push_back(
            {"3 random 0/300/700" + suffix, {0, 0, Order::Random, lost, {0.300, 0.700}}});
        models.push_back(
            {"2 random 80 ms, 9:1" + suffix, {0, 0, Order::Random, lost, {0.080}, {9, 1}}});
        models.push_back(
            {"2 random 80 ms, 1:9" + suffix, {0, 0, Order::Random, lost, {0.080}, {1, 9}}});
        models.push_back({"5 random within 20 ms" + suffix,
                          {0, 0, Order::Random, lost, {0.005, 0.010, 0.015, 0.020}}});
    }
    return models;
}

// `runs` runs of each model at random phases of the server's seconds and of
// the window's ticks, in turn either clock answering first; from 20 s on.
// Out: runs with a turn farther from the nearer clock than the bound; every:
// from any clock that had answered; proven: from wherever a clock's own
// answers allow it, the bound proven wrong by what was answered; worst: the
// largest share of "every" turns in a run; over: the most a turn went past
// the bound. Bound: median, and largest after 30 s. Found: the share of runs
// that ended telling the machines apart (at least two), or a pool within
// 50 ms as one; since when the difference stated is within a fifth of the
// truth (90th percentile), and the largest stated. Excess: how far the
// largest bound after 30 s went past the true spread. Ahead: the farthest a
// turn was from the clock ahead. Narrow: when the bound first came within
// 10 ms (90th percentile; never: 80 s), and the share of runs in which it
// did by 5 s.
void WindowTable(int runs) {
    std::printf("\nThe window's timing, %d runs of 80 s each, loopback round trips; from 20 s "
                "on:\n%-30s %6s %6s %6s %6s %8s %8s %8s %6s %7s %8s %8s %8s %7s %6s\n",
                runs, "server", "out", "every", "proven", "worst", "over", "bound", "largest",
                "found", "found", "stated", "excess", "ahead", "narrow", "by 5 s");
    for (const PoolModel& model : PoolModels()) {
        SimulatedMachines machines = model.machines;
        std::vector<double> clocks = machines.Clocks();
        double spread = *std::max_element(clocks.begin(), clocks.end());
        std::mt19937 random(42);
        int out = 0;
        int everyOut = 0;
        int provenOut = 0;
        int allFound = 0;
        int narrowBy5 = 0;
        double worst = 0;
        double over = 0;
        double excess = 0;
        double offAhead = 0;
        double stated = 0;
        std::vector<double> bounds;
        std::vector<double> largest;
        std::vector<double> found;
        std::vector<double> narrow;
        bool inTurn = machines.order != Order::Random;
        for (int run = 0; run < runs; ++run) {
            machines.phase = Uniform(random, 0, 1);
            if (inTurn) {
                machines.order = random() % 2 == 0 ? Order::AheadFirst : Order::BehindFirst;
            }
            WindowRun r =
                SimulateWindow(machines, Uniform(random, 0, 0.9), unsigned(random()), 80, 20);
            out += r.outsideShare > 0;
            everyOut += r.anyClockOutsideShare > 0;
            provenOut += r.provenOutsideShare > 0;
            worst = std::max(worst, r.anyClockOutsideShare);
            over = std::max(over, r.mostOver);
            allFound += spread > kStaleStamps.count() ? r.machines >= 2 : r.machines == 1;
            excess = std::max(excess, r.largestAfter30 - spread);
            offAhead = std::max(offAhead, r.aheadError);
            stated = std::max(stated, r.stated);
            bounds.push_back(r.bound);
            largest.push_back(r.largestAfter30);
            found.push_back(r.foundAfter);
            narrow.push_back(r.narrowAfter < 0 ? 80 : r.narrowAfter);
            narrowBy5 += r.narrowAfter >= 0 && r.narrowAfter <= 5;
        }
        double share = 100.0 / runs;
        std::printf(
            "%-30s %5.1f%% %5.1f%% %5.1f%% %5.1f%% %5.0f ms %5.1f ms %5.0f ms %5.1f%% %6.1f s "
            "%5.0f ms %5.0f ms %5.1f ms %5.1f s %5.1f%%\n",
            model.name.c_str(), out * share, everyOut * share, provenOut * share, worst * 100,
            over * 1000, Percentile(bounds, 0.5) * 1000, Percentile(largest, 1) * 1000,
            allFound * share, Percentile(found, 0.9), stated * 1000, excess * 1000, offAhead * 1000,
            Percentile(narrow, 0.9), narrowBy5 * share);
    }
}

void Header(const char* title) {
    std::printf("%s\n%-26s %7s %7s %8s %10s %6s %9s %5s\n", title, "server", "median", "p95", "max",
                "outside", "req/min", "step", "back");
    std::printf("%-26s %7s %7s %8s %10s\n", "", "ms", "ms", "ms", "bound");
}

} // namespace

} // namespace orvane

// With "window RUNS", only the window's table, of that many runs a model.
int main(int argc, char** argv) {
    using namespace orvane;
    if (argc == 3 && std::string(argv[1]) == "window") {
        WindowTable(std::max(1, std::atoi(argv[2])));
        return 0;
    }
    Header("One run per server, its seconds 0.345 s ahead of ours:");
    std::vector<Figures> worst;
    for (const Model& model : Models(kWholeOffset + kPhases[0])) {
        worst.push_back(Run(model));
        Print(model.name, worst.back());
    }
    for (double phase : kPhases) {
        std::vector<Model> models = Models(kWholeOffset + phase);
        for (size_t i = 0; i < models.size(); ++i) {
            worst[i] = Worst(worst[i], Run(models[i]));
        }
    }
    Header("\nThe worst of each figure over six phases of the server's seconds:");
    std::vector<Model> models = Models(kWholeOffset);
    for (size_t i = 0; i < models.size(); ++i) {
        Print(models[i].name, worst[i]);
    }
    WindowTable(1000);
    return 0;
}
