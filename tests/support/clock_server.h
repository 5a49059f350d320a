#pragma once

#include "scripted_server.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <random>
#include <string>

namespace orvane {

// Answers every HEAD request with the machine's time as its Date, stamped
// up to `lag` late, as event-loop servers stamp from a time they keep. With
// `turns`, every other request is answered by a second machine whose clock
// is `behind` the first's; `atRandom`, either machine answers, as a
// balancer serving many users picks.
inline void ServeClock(int fd, const std::atomic<bool>& stopping, std::chrono::milliseconds lag,
                       std::atomic<int>* turns = nullptr,
                       std::chrono::milliseconds behind = std::chrono::milliseconds(0),
                       bool atRandom = false) {
    std::minstd_rand random(7); // NOLINT(bugprone-random-generator-seed): the same lags each run
    std::minstd_rand picks(11); // NOLINT(bugprone-random-generator-seed): the same picks each run
    while (ScriptedServer::ReadHead(fd, stopping)) {
        bool second = atRandom ? picks() % 2 == 1 : turns != nullptr && (*turns)++ % 2 == 1;
        auto stamped = std::chrono::system_clock::now() -
                       std::chrono::milliseconds(random() % (lag.count() + 1));
        if (second) {
            stamped -= behind;
        }
        std::time_t now = std::chrono::system_clock::to_time_t(stamped);
        std::tm gmt{};
        gmtime_r(&now, &gmt);
        char date[64];
        std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S GMT", &gmt);
        std::string answer =
            "HTTP/1.1 200 OK\r\nDate: " + std::string(date) + "\r\nContent-Length: 0\r\n\r\n";
        if (!ScriptedServer::SendAll(fd, answer)) {
            return;
        }
    }
}

} // namespace orvane
