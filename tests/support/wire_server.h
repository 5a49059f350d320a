#pragma once

#include "http/web_request.h"
#include "seen_request.h"

#include <cstdlib>
#include <string>
#ifndef _WIN32
#include "loopback.h"
#include "test_http_server.h"
#endif

namespace orvane {

// The test HTTP server as the request object's tests reach it: in this
// process on Linux; under Wine, the one that scripts/test-windows.sh runs
// on the Linux side and names in ORVANE_TEST_HTTP (Wine shares the
// loopback).
class WireServer {
public:
    bool Available() const { return !Url("").empty(); }
#ifdef _WIN32
    std::string Url(const std::string& path) const {
        return base_.empty() ? "" : base_ + path;
    }
    // What the server received last, as its "/seen" page shows it.
    SeenRequest Last() const {
        WebRequestParams p;
        p.url = Url("/seen");
        ByteArray page = WebRequest(p).body;
        return SeenRequest::FromDump(std::string(page.begin(), page.end()));
    }

    // A server that takes the connection and never answers.
    std::string SilentUrl() const {
        const char* url = std::getenv("ORVANE_TEST_SILENT");
        return url != nullptr ? url : "";
    }

private:
    const char* variable_ = std::getenv("ORVANE_TEST_HTTP");
    std::string base_ = variable_ != nullptr ? variable_ : "";
#else
    std::string Url(const std::string& path) const {
        return server_.Url(path);
    }
    SeenRequest Last() const {
        return server_.Last();
    }
    std::string SilentUrl() const {
        return "http://127.0.0.1:" + std::to_string(silent_.port) + "/";
    }

private:
    TestHttpServer server_;
    SilentListener silent_;
#endif
};

} // namespace orvane
