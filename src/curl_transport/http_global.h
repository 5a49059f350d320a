#pragma once

// libcurl's global set-up, done once at program start before any thread can
// make a request, and undone at exit. Hold one instance in main().
class HttpGlobal {
public:
    HttpGlobal();
    ~HttpGlobal();
    HttpGlobal(const HttpGlobal&) = delete;
    HttpGlobal& operator=(const HttpGlobal&) = delete;
};
