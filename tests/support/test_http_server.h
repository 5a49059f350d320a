#pragma once

#include "seen_request.h"

#include <ctime>
#include <httplib.h>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace orvane {

// A real HTTP server on 127.0.0.1 for the web request tests. It remembers
// the last request exactly as it arrived.
class TestHttpServer {
public:
    using Seen = SeenRequest;

    TestHttpServer() {
        // Every response carries a Date, as a real server's does: a fixed
        // one, or the machine's time at /now, as a time server's.
        server_.set_post_routing_handler([](const httplib::Request&, httplib::Response& response) {
            if (!response.has_header("Date")) {
                response.set_header("Date", kDate);
            }
        });
        server_.Get("/now", [](const httplib::Request&, httplib::Response& response) {
            std::time_t now = std::time(nullptr);
            std::tm gmt{};
            gmtime_r(&now, &gmt);
            char date[64];
            std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S GMT", &gmt);
            response.set_header("Date", date);
        });
        auto echo = [this](const httplib::Request& request, httplib::Response& response) {
            Record(request);
            response.set_content("echo:" + request.body, "text/plain");
        };
        server_.Get("/echo", echo);
        server_.Post("/echo", echo);
        server_.Put("/echo", echo);
        server_.Delete("/echo", echo);
        server_.Options("/echo", echo);
        server_.Get("/missing",
                    [this](const httplib::Request& request, httplib::Response& response) {
                        Record(request);
                        response.status = 404;
                        response.set_content("not here", "text/plain");
                    });
        server_.Get("/redirect",
                    [this](const httplib::Request& request, httplib::Response& response) {
                        Record(request);
                        response.set_redirect("/echo");
                        response.set_content("moved", "text/plain");
                    });
        // The last request before this one, for clients in another process.
        server_.Get("/seen", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(Last().Dump(), "text/plain");
        });
        // Redirects to the address in its "url" parameter.
        server_.Get("/to", [](const httplib::Request& request, httplib::Response& response) {
            response.set_redirect(request.get_param_value("url"));
        });
        server_.Get("/cookies",
                    [this](const httplib::Request& request, httplib::Response& response) {
                        Record(request);
                        response.headers.emplace("Set-Cookie", "sid=7; Path=/");
                        response.headers.emplace("Set-Cookie", "lang=zh");
                        response.set_content("cookies", "text/plain");
                    });
        port = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) {
            std::this_thread::yield();
        }
    }
    ~TestHttpServer() {
        server_.stop();
        thread_.join();
    }
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port) + path;
    }
    Seen Last() const {
        std::lock_guard lock(mutex_);
        return last_;
    }

    int port = 0;
    static constexpr const char* kDate = "Sun, 06 Dec 2026 23:05:19 GMT";

private:
    void Record(const httplib::Request& request) {
        std::lock_guard lock(mutex_);
        last_ = {request.method,
                 request.path,
                 request.body,
                 {request.headers.begin(), request.headers.end()},
                 request.remote_port};
    }

    httplib::Server server_;
    std::thread thread_;
    mutable std::mutex mutex_;
    Seen last_;
};

} // namespace orvane
