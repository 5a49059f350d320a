// How exactly the status bar's Beijing time follows a server's clock.
//
// A loopback HTTP server keeps a clock a known offset ahead of this
// machine's and delays each direction of every exchange. Two lookups run
// against it side by side:
//   per-tick: GetNetworkTime at each 900 ms tick on the display's own
//     thread, showing the Date header as soon as it arrives;
//   estimate: NetClock, whose display thread only queues lookups and shows
//     the estimated server time at each instant (what its precise timer at
//     each second boundary shows).
// Each time a display changes its second to S, how far the server's true
// clock is from S then is its error: the user clicks when the display turns
// over. A second run against a server that never answers measures the
// longest stall of each display thread.
//
// beijing_time_bench [delay ms each way = 10] [seconds = 60]
#include "loopback.h"
#include "nettime/beijing_time.h"
#include "nettime/net_clock.h"
#include "network_time.h"
#include "scripted_time.h"
#include "transport/transport_global.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orvane {

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr double kServerAhead = 2.345;
constexpr double kWarmUp = 15; // samples before this are left out

double WallNow() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void SleepFor(double s) {
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}

std::string HttpDate(std::int64_t seconds) {
    std::time_t t = std::time_t(seconds);
    std::tm gmt{};
    gmtime_r(&t, &gmt);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &gmt);
    return text;
}

// The time server: one thread per connection, until the run ends.
class TimeServer {
public:
    TimeServer(double delay, bool silent) : delay_(delay), silent_(silent) {
        fd_ = ListenOnLoopback(64, port_);
        acceptor_ = std::thread([this] { Accept(); });
    }
    ~TimeServer() {
        stopping_ = true;
        acceptor_.join();
        for (std::thread& t : connections_) {
            t.join();
        }
        ::close(fd_);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }
    int Requests() const { return requests_; }

private:
    bool Readable(int fd) {
        pollfd wanted{fd, POLLIN, 0};
        return ::poll(&wanted, 1, 50) == 1;
    }
    void Accept() {
        while (!stopping_) {
            if (!Readable(fd_)) {
                continue;
            }
            int client = ::accept(fd_, nullptr, nullptr);
            if (client >= 0) {
                connections_.emplace_back([this, client] { Serve(client); });
            }
        }
    }
    void Serve(int fd) {
        std::string head;
        char c = 0;
        while (!stopping_) {
            if (!Readable(fd)) {
                continue;
            }
            if (::recv(fd, &c, 1, 0) != 1) {
                break;
            }
            head += c;
            if (head.size() < 4 || head.compare(head.size() - 4, 4, "\r\n\r\n") != 0) {
                continue;
            }
            head.clear();
            ++requests_;
            if (silent_) {
                continue;
            }
            SleepFor(delay_);
            auto date = std::int64_t(std::floor(WallNow() + kServerAhead));
            SleepFor(delay_);
            std::string answer =
                "HTTP/1.1 200 OK\r\nDate: " + HttpDate(date) + "\r\nContent-Length: 0\r\n\r\n";
            ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
        }
        ::close(fd);
    }

    double delay_;
    bool silent_;
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_ = false;
    std::atomic<int> requests_ = 0;
    std::thread acceptor_;
    std::vector<std::thread> connections_;
};

// double since 1970 of a Beijing date-time (an OLE date, GMT + 8 h).
std::int64_t SecondsOfBeijingTime(DateTime beijing) {
    constexpr double kUnixEpochDays = 25569; // 1 January 1970 as an OLE date
    return std::llround((beijing.days - kUnixEpochDays) * 86400) - 8 * 3600;
}

struct Figures {
    std::vector<double> errors; // ms, at each change of the shown second
    double longestStallMs = 0;
    int requests = 0;
    std::int64_t shown = -1;
    // The display turns to `second` now.
    void Show(std::int64_t second, double since) {
        if (second != shown && shown >= 0 && since > kWarmUp) {
            errors.push_back(std::fabs(WallNow() + kServerAhead - double(second)) * 1000);
        }
        shown = second;
    }
};

// The display thread of the per-tick lookup: blocked by every request.
Figures RunPerTick(const std::string& url, double seconds, TimeServer& server) {
    Figures figures;
    double begin = WallNow();
    auto start = SteadyClock::now();
    for (auto tick = start; tick - start < std::chrono::duration<double>(seconds);) {
        tick += std::chrono::milliseconds(900);
        std::this_thread::sleep_until(tick);
        auto before = SteadyClock::now();
        if (std::optional<DateTime> beijing = GetNetworkTime(url)) {
            figures.Show(SecondsOfBeijingTime(*beijing), WallNow() - begin);
        }
        double stall =
            std::chrono::duration<double, std::milli>(SteadyClock::now() - before).count();
        figures.longestStallMs = std::max(figures.longestStallMs, stall);
        tick = std::max(tick, SteadyClock::now());
    }
    figures.requests = server.Requests();
    return figures;
}

// The display thread of NetClock: ticks, answers and samples, timed.
Figures RunEstimate(const std::string& url, double seconds, TimeServer& server) {
    std::mutex mutex;
    std::deque<WorkQueue::Task> posted;
    auto post = [&](WorkQueue::Task task) {
        std::lock_guard lock(mutex);
        posted.push_back(std::move(task));
    };
    Figures figures;
    auto timed = [&figures](const std::function<void()>& work) {
        auto before = SteadyClock::now();
        work();
        double ms = std::chrono::duration<double, std::milli>(SteadyClock::now() - before).count();
        figures.longestStallMs = std::max(figures.longestStallMs, ms);
    };
    {
        NetClock clock(url, post, {});
        double start = SecondsOf(NetClock::Now());
        double nextTick = start;
        while (SecondsOf(NetClock::Now()) - start < seconds) {
            double now = SecondsOf(NetClock::Now());
            if (now >= nextTick) {
                timed([&] { clock.Tick(); });
                nextTick += 0.9;
            }
            std::deque<WorkQueue::Task> tasks;
            {
                std::lock_guard lock(mutex);
                tasks.swap(posted);
            }
            for (WorkQueue::Task& task : tasks) {
                timed(task);
            }
            std::optional<ServerTime> server = clock.Estimate().ServerTimeAt(NetClock::Now());
            if (server) {
                figures.Show(std::int64_t(std::floor(SecondsOf(*server))), now - start);
            }
            SleepFor(0.001);
        }
    }
    figures.requests = server.Requests();
    return figures;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return NAN;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

void Print(const char* name, const Figures& f) {
    std::printf("%-10s %8.1f %8.1f %8.1f %9d %12.1f\n", name, Percentile(f.errors, 0.5),
                Percentile(f.errors, 0.95), Percentile(f.errors, 1.0), f.requests,
                f.longestStallMs);
}

} // namespace

} // namespace orvane

int main(int argc, char** argv) {
    using namespace orvane;
    TransportGlobal transport;
    double delay = (argc > 1 ? std::atof(argv[1]) : 10) / 1000;
    double seconds = argc > 2 ? std::atof(argv[2]) : 60;
    std::printf("server clock %+.3f s, %.0f ms each way, %.0f s per lookup, first %.0f s "
                "left out\n",
                kServerAhead, delay * 1000, seconds, kWarmUp);
    std::printf("%-10s %8s %8s %8s %9s %12s\n", "lookup", "median", "p95", "max", "requests",
                "stall ms");
    Figures perTick;
    Figures estimate;
    std::thread first([&] {
        TimeServer server(delay, false);
        perTick = RunPerTick(server.Url(), seconds, server);
    });
    {
        TimeServer server(delay, false);
        estimate = RunEstimate(server.Url(), seconds, server);
    }
    first.join();
    std::printf("error of the shown second when it turns over, against the server's clock "
                "(ms):\n");
    Print("per-tick", perTick);
    Print("estimate", estimate);

    double silentRun = 20;
    std::printf("a server that never answers, %.0f s:\n", silentRun);
    Figures silentPerTick;
    std::thread second([&] {
        TimeServer server(delay, true);
        silentPerTick = RunPerTick(server.Url(), silentRun, server);
    });
    TimeServer silent(delay, true);
    Figures silentEstimate = RunEstimate(silent.Url(), silentRun, silent);
    second.join();
    std::printf("%-10s longest stall %.1f ms, requests %d\n", "per-tick",
                silentPerTick.longestStallMs, silentPerTick.requests);
    std::printf("%-10s longest stall %.1f ms, requests %d\n", "estimate",
                silentEstimate.longestStallMs, silentEstimate.requests);
    return 0;
}
