// The estimate of the server's clock and the plan of lookups, on scripted
// answers with a simulated clock.
#include "nettime/clock_estimator.h"
#include "nettime/lookup_plan.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace orvane {

namespace {

// A server whose clock is `offset` ahead of the monotonic one, reached after
// `oneWay` seconds each way.
// With `apart` set, a second clock that much behind answers every other
// request; with `stale` set, stamps lag by up to that much.
struct SimulatedServer {
    Seconds offset = 1796598319.345;
    Seconds oneWay = 0.030;
    Seconds apart = 0;
    Seconds stale = 0;
    mutable int answered = 0;
    std::int64_t DateOfRequestSentAt(Seconds sentAt) const {
        int turn = answered++;
        Seconds lag = (turn % 2 == 1 ? apart : 0) + stale * ((turn * 7919) % 100) / 100;
        return std::int64_t(std::floor(sentAt + oneWay + offset - lag));
    }
};

// Lookups as the plan times them, from monotonic time `start` to `end`;
// the send times.
std::vector<Seconds> Lookups(const SimulatedServer& server, ClockEstimator& clock, LookupPlan& plan,
                             Seconds start, Seconds end) {
    std::vector<Seconds> sent;
    for (Seconds now = start; now < end;) {
        Seconds at = plan.NextSendTime(clock, now);
        if (at >= end) {
            break;
        }
        plan.Sent(at);
        clock.AddAnswer(at, at + 2 * server.oneWay, server.DateOfRequestSentAt(at));
        plan.Answered(clock, at + 2 * server.oneWay);
        sent.push_back(at);
        now = at + 2 * server.oneWay;
    }
    return sent;
}

TEST(ClockEstimator, AimedLookupsPinTheServersClockToMilliseconds) {
    SimulatedServer server;
    ClockEstimator clock;
    LookupPlan plan;
    std::vector<Seconds> sent = Lookups(server, clock, plan, 1000, 1040);
    ASSERT_TRUE(clock.ConvergedAt(1040));
    EXPECT_NEAR(*clock.ServerTimeAt(1040), 1040 + server.offset, 0.005);
    EXPECT_TRUE(clock.Checked()) << "lookups on both sides agree";
    EXPECT_LE(clock.UncertaintyAt(1040), 0.010);
    EXPECT_LE(sent.size(), 42u) << "one request a second, and two saved";
    for (size_t i = 1; i < sent.size(); ++i) {
        EXPECT_GE(sent[i] - sent[i - 1], 0.499) << "never two within half a second";
    }
}

TEST(ClockEstimator, OnceConvergedItLooksAgainEveryThirteenSeconds) {
    SimulatedServer server;
    ClockEstimator clock;
    LookupPlan plan;
    Lookups(server, clock, plan, 0, 30);
    std::vector<Seconds> later = Lookups(server, clock, plan, 30, 630);
    for (size_t i = 0; i < later.size(); ++i) {
        size_t inMinute = 0;
        for (Seconds other : later) {
            inMinute += other >= later[i] && other < later[i] + 60;
        }
        EXPECT_LE(inMinute, 5u) << "at " << later[i];
    }
    EXPECT_GE(later.size(), 40u) << "one aimed request about every 13 s";
    for (size_t i = 1; i < later.size(); ++i) {
        EXPECT_LE(later[i] - later[i - 1], 15.0) << "a step is seen within 15 s";
    }
    EXPECT_NEAR(*clock.ServerTimeAt(630), 630 + server.offset, 0.005);
}

TEST(ClockEstimator, AServerWhoseClockStepsStartsTheEstimateOver) {
    SimulatedServer server;
    ClockEstimator clock;
    LookupPlan plan;
    Lookups(server, clock, plan, 0, 20);
    server.offset += 10.5;
    Lookups(server, clock, plan, 20, 35);
    EXPECT_EQ(clock.Restarts(), 1) << "seen within 15 s";
    EXPECT_NEAR(*clock.ServerTimeAt(35), 35 + server.offset, 1.0);
    Lookups(server, clock, plan, 35, 200);
    EXPECT_NEAR(*clock.ServerTimeAt(200), 200 + server.offset, 0.005);
}

TEST(ClockEstimator, AnOldEstimateGrowsWiderAndFailuresWaitLonger) {
    SimulatedServer server;
    ClockEstimator clock;
    EXPECT_FALSE(clock.ServerTimeAt(0).has_value());
    LookupPlan plan;
    Lookups(server, clock, plan, 0, 20);
    Seconds fresh = clock.UncertaintyAt(20);
    EXPECT_NEAR(clock.UncertaintyAt(10020) - fresh, 1.0, 0.01) << "100 ppm of 10000 s";
    EXPECT_FALSE(clock.ConvergedAt(10020));

    LookupPlan failing;
    ClockEstimator none;
    Seconds now = 0;
    std::vector<Seconds> gaps;
    for (int i = 0; i < 8; ++i) {
        Seconds at = failing.NextSendTime(none, now);
        gaps.push_back(at - now);
        failing.Sent(at);
        failing.Failed(at + 3);
        now = at + 3;
    }
    EXPECT_EQ(gaps, (std::vector<Seconds>{0, 1, 2, 4, 8, 16, 32, 60}));
}

// Every answer agrees with an estimate that sits between two clocks aimed at
// from the middle: only probes off the boundary find them out.
TEST(ClockEstimator, TwoClocksAnsweringInTurnAreFoundAndTheBoundCoversBoth) {
    for (Seconds apart : {0.080, 0.700}) {
        SimulatedServer server;
        server.apart = apart;
        ClockEstimator clock;
        LookupPlan plan;
        Lookups(server, clock, plan, 0, 900);
        Seconds shown = *clock.ServerTimeAt(900);
        Seconds error = std::max(std::fabs(shown - (900 + server.offset)),
                                 std::fabs(shown - (900 + server.offset - apart)));
        EXPECT_GE(clock.UncertaintyAt(900), error) << apart;
        EXPECT_GT(clock.DisagreementAt(900), 0.05) << apart;
        EXPECT_NEAR(shown, 900 + server.offset, 0.02) << "on the clock ahead, " << apart;
    }
}

// A Date never leads its server's clock: stale stamps may leave the time
// shown a little late, never early, and the bound holds.
TEST(ClockEstimator, StaleStampsKeepTheTimeShownWithinItsBound) {
    SimulatedServer server;
    server.stale = 0.020;
    ClockEstimator clock;
    LookupPlan plan;
    for (Seconds at = 120; at <= 1200; at += 60) {
        Lookups(server, clock, plan, at - 60, at);
        Seconds error = *clock.ServerTimeAt(at) - (at + server.offset);
        EXPECT_LE(std::fabs(error), clock.UncertaintyAt(at)) << at;
        EXPECT_LT(error, 0.003) << at;
        EXPECT_EQ(clock.DisagreementAt(at), 0) << "one clock";
    }
}

// Each way takes 30 to 330 ms at random: the time shown is wherever the
// answers allow, and the bound says how far that is.
TEST(ClockEstimator, JitterNeverLeavesTheTimeOutsideItsBound) {
    const Seconds offset = 1796598319.345;
    std::minstd_rand random(3);
    auto delay = [&random] { return 0.030 + 0.3 * double(random() % 1000) / 1000; };
    ClockEstimator clock;
    LookupPlan plan;
    int outside = 0;
    int checked = 0;
    Seconds next = plan.NextSendTime(clock, 0);
    for (Seconds now = 0; now < 1800; now += 0.25) {
        while (next <= now) {
            Seconds out = delay();
            Seconds back = delay();
            plan.Sent(next);
            clock.AddAnswer(next, next + out + back, std::int64_t(std::floor(next + out + offset)));
            plan.Answered(clock, next + out + back);
            next = plan.NextSendTime(clock, next + out + back);
        }
        if (now >= 120) {
            ++checked;
            outside +=
                std::fabs(*clock.ServerTimeAt(now) - (now + offset)) > clock.UncertaintyAt(now);
        }
    }
    EXPECT_LE(outside, checked / 100) << "of " << checked;
}

} // namespace

} // namespace orvane
