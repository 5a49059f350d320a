// The estimate of the server's clock and the plan of lookups, on scripted
// answers with a simulated clock.
#include "nettime/clock_estimator.h"
#include "nettime/lookup_plan.h"
#include "scripted_time.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <type_traits>
#include <vector>

namespace orvane {

namespace {

// The machine's clock and the server's meet only through an offset: their
// moments neither subtract, compare nor pass for each other, and a plain
// number passes for neither. The positive checks keep the negative honest.
template <class A, class B>
concept Subtractable = requires(A a, B b) {
    a - b;
};
template <class A, class B>
concept Comparable = requires(A a, B b) {
    a < b;
};
static_assert(Subtractable<MachineTime, MachineTime> && Comparable<ServerTime, ServerTime>);
static_assert(!Subtractable<ServerTime, MachineTime> && !Subtractable<MachineTime, ServerTime>);
static_assert(!Comparable<ServerTime, MachineTime>);
static_assert(!std::is_convertible_v<MachineTime, ServerTime> &&
              !std::is_convertible_v<ServerTime, MachineTime>);
static_assert(!std::is_convertible_v<double, MachineTime> &&
              !std::is_convertible_v<double, Seconds>);
static_assert(
    std::is_invocable_v<decltype(&ClockEstimator::UncertaintyAt), ClockEstimator&, MachineTime> &&
    !std::is_invocable_v<decltype(&ClockEstimator::UncertaintyAt), ClockEstimator&, ServerTime>);

// A server whose clock is `offset` ahead of the monotonic one, reached after
// `oneWay` seconds each way.
// With `apart` set, a second clock that much behind answers every other
// request; with `stale` set, stamps lag by up to that much.
struct SimulatedServer {
    double offset = 1796598319.345;
    double oneWay = 0.030;
    double apart = 0;
    double stale = 0;
    mutable int answered = 0;
    std::int64_t DateOfRequestSentAt(double sentAt) const {
        int turn = answered++;
        double lag = (turn % 2 == 1 ? apart : 0) + (stale * ((turn * 7919) % 100) / 100);
        return std::int64_t(std::floor(sentAt + oneWay + offset - lag));
    }
};

// Lookups as the plan times them, from monotonic time `start` to `end`;
// the send times.
std::vector<double> Lookups(const SimulatedServer& server, ClockEstimator& clock, LookupPlan& plan,
                            double start, double end) {
    std::vector<double> sent;
    for (double now = start; now < end;) {
        double at = SecondsOf(plan.NextSendTime(clock, At(now)));
        if (at >= end) {
            break;
        }
        plan.Sent(At(at));
        clock.AddAnswer(At(at), At(at + (2 * server.oneWay)), server.DateOfRequestSentAt(at));
        plan.Answered(clock, At(at + (2 * server.oneWay)));
        sent.push_back(at);
        now = at + (2 * server.oneWay);
    }
    return sent;
}

TEST(ClockEstimator, AimedLookupsPinTheServersClockToMilliseconds) {
    SimulatedServer server;
    ClockEstimator clock;
    LookupPlan plan;
    std::vector<double> sent = Lookups(server, clock, plan, 1000, 1040);
    ASSERT_TRUE(clock.ConvergedAt(At(1040)));
    EXPECT_NEAR(SecondsOf(*clock.ServerTimeAt(At(1040))), 1040 + server.offset, 0.005);
    EXPECT_TRUE(clock.Checked()) << "lookups on both sides agree";
    EXPECT_LE(SecondsOf(clock.UncertaintyAt(At(1040))), 0.010);
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
    std::vector<double> later = Lookups(server, clock, plan, 30, 630);
    for (size_t i = 0; i < later.size(); ++i) {
        size_t inMinute = 0;
        for (double other : later) {
            inMinute += other >= later[i] && other < later[i] + 60;
        }
        EXPECT_LE(inMinute, 5u) << "at " << later[i];
    }
    EXPECT_GE(later.size(), 40u) << "one aimed request about every 13 s";
    for (size_t i = 1; i < later.size(); ++i) {
        EXPECT_LE(later[i] - later[i - 1], 15.0) << "a step is seen within 15 s";
    }
    EXPECT_NEAR(SecondsOf(*clock.ServerTimeAt(At(630))), 630 + server.offset, 0.005);
}

TEST(ClockEstimator, AServerWhoseClockStepsStartsTheEstimateOver) {
    SimulatedServer server;
    ClockEstimator clock;
    LookupPlan plan;
    Lookups(server, clock, plan, 0, 20);
    server.offset += 10.5;
    Lookups(server, clock, plan, 20, 35);
    EXPECT_EQ(clock.Restarts(), 1) << "seen within 15 s";
    EXPECT_NEAR(SecondsOf(*clock.ServerTimeAt(At(35))), 35 + server.offset, 1.0);
    Lookups(server, clock, plan, 35, 200);
    EXPECT_NEAR(SecondsOf(*clock.ServerTimeAt(At(200))), 200 + server.offset, 0.005);
}

TEST(ClockEstimator, AnOldEstimateGrowsWiderAndFailuresWaitLonger) {
    SimulatedServer server;
    ClockEstimator clock;
    EXPECT_FALSE(clock.ServerTimeAt(At(0)).has_value());
    LookupPlan plan;
    Lookups(server, clock, plan, 0, 20);
    double fresh = SecondsOf(clock.UncertaintyAt(At(20)));
    EXPECT_NEAR(SecondsOf(clock.UncertaintyAt(At(10020))) - fresh, 1.0, 0.01)
        << "100 ppm of 10000 s";
    EXPECT_FALSE(clock.ConvergedAt(At(10020)));

    LookupPlan failing;
    ClockEstimator none;
    double now = 0;
    std::vector<double> gaps;
    for (int i = 0; i < 8; ++i) {
        double at = SecondsOf(failing.NextSendTime(none, At(now)));
        gaps.push_back(at - now);
        failing.Sent(At(at));
        failing.Failed(At(at + 3));
        now = at + 3;
    }
    EXPECT_EQ(gaps, (std::vector<double>{0, 1, 2, 4, 8, 16, 32, 60}));
}

// Every answer agrees with an estimate that sits between two clocks aimed at
// from the middle: only probes off the boundary find them out.
TEST(ClockEstimator, TwoClocksAnsweringInTurnAreFoundAndTheBoundCoversBoth) {
    for (double apart : {0.080, 0.700}) {
        SimulatedServer server;
        server.apart = apart;
        ClockEstimator clock;
        LookupPlan plan;
        Lookups(server, clock, plan, 0, 900);
        double shown = SecondsOf(*clock.ServerTimeAt(At(900)));
        double error = std::max(std::fabs(shown - (900 + server.offset)),
                                std::fabs(shown - (900 + server.offset - apart)));
        EXPECT_GE(SecondsOf(clock.UncertaintyAt(At(900))), error) << apart;
        EXPECT_GT(SecondsOf(clock.DisagreementAt(At(900))), 0.05) << apart;
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
    for (int minute = 2; minute <= 20; ++minute) {
        double at = 60.0 * minute;
        Lookups(server, clock, plan, at - 60, at);
        double error = SecondsOf(*clock.ServerTimeAt(At(at))) - (at + server.offset);
        EXPECT_LE(std::fabs(error), SecondsOf(clock.UncertaintyAt(At(at)))) << at;
        EXPECT_LT(error, 0.003) << at;
        EXPECT_EQ(SecondsOf(clock.DisagreementAt(At(at))), 0) << "one clock";
    }
}

// Each way takes 30 to 330 ms at random: the time shown is wherever the
// answers allow, and the bound says how far that is.
TEST(ClockEstimator, JitterNeverLeavesTheTimeOutsideItsBound) {
    const double offset = 1796598319.345;
    std::minstd_rand random(3); // NOLINT(bugprone-random-generator-seed): the same delays each run
    auto delay = [&random] { return 0.030 + (0.3 * double(random() % 1000) / 1000); };
    ClockEstimator clock;
    LookupPlan plan;
    int outside = 0;
    int checked = 0;
    double next = SecondsOf(plan.NextSendTime(clock, At(0)));
    for (int quarter = 0; quarter < 4 * 1800; ++quarter) {
        double now = quarter / 4.0;
        while (next <= now) {
            double out = delay();
            double back = delay();
            plan.Sent(At(next));
            clock.AddAnswer(At(next), At(next + out + back),
                            std::int64_t(std::floor(next + out + offset)));
            plan.Answered(clock, At(next + out + back));
            next = SecondsOf(plan.NextSendTime(clock, At(next + out + back)));
        }
        if (now >= 120) {
            ++checked;
            outside += std::fabs(SecondsOf(*clock.ServerTimeAt(At(now))) - (now + offset)) >
                       SecondsOf(clock.UncertaintyAt(At(now)));
        }
    }
    EXPECT_LE(outside, checked / 100) << "of " << checked;
}

} // namespace

} // namespace orvane
