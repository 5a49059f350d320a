#pragma once

#include "loopback.h"

#include <atomic>
#include <functional>
#include <poll.h>
#include <string>
#include <string_view>
#include <thread>

namespace orvane {

// A TCP server on 127.0.0.1 that answers every connection with a script, for
// servers that misbehave on purpose: dripping, endless or never reached.
// Connections are served one at a time; the server stops with the test.
class ScriptedServer {
public:
    // Runs for one connection; returns when done, when the peer has gone, or
    // when `stopping` is set.
    using Script = std::function<void(int fd, const std::atomic<bool>& stopping)>;

    explicit ScriptedServer(Script script = {}) : script_(std::move(script)) {
        port = listener_.port;
        thread_ = std::thread([this] { Serve(); });
    }
    ~ScriptedServer() {
        stopping_ = true;
        thread_.join();
    }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::string Url(const std::string& scheme, const std::string& path = "/") const {
        return scheme + "://127.0.0.1:" + std::to_string(port) + path;
    }

    // Reads up to the blank line that ends a request's head.
    static bool ReadHead(int fd, const std::atomic<bool>& stopping) {
        std::string head;
        char c = 0;
        while (head.find("\r\n\r\n") == std::string::npos) {
            if (stopping || !WaitReadable(fd) || ::recv(fd, &c, 1, 0) != 1) {
                return false;
            }
            head += c;
        }
        return true;
    }
    static bool SendAll(int fd, std::string_view bytes) {
        while (!bytes.empty()) {
            ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0) {
                return false;
            }
            bytes.remove_prefix(size_t(n));
        }
        return true;
    }

    int port = 0;
    std::atomic<int> connections = 0;

private:
    static bool WaitReadable(int fd) {
        pollfd wanted{fd, POLLIN, 0};
        return ::poll(&wanted, 1, 20000) == 1;
    }
    void Serve() {
        while (!stopping_) {
            pollfd wanted{listener_.Descriptor(), POLLIN, 0};
            if (::poll(&wanted, 1, 20) != 1) {
                continue;
            }
            int fd = ::accept(listener_.Descriptor(), nullptr, nullptr);
            if (fd < 0) {
                continue;
            }
            ++connections;
            if (script_) {
                script_(fd, stopping_);
            }
            ::close(fd);
        }
    }

    Script script_;
    SilentListener listener_;
    std::atomic<bool> stopping_ = false;
    std::thread thread_;
};

} // namespace orvane
