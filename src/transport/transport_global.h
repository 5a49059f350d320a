#pragma once

namespace orvane {

// The system's HTTP client set up once, at program start before any thread
// can make a request, and cleaned up at exit. Hold one instance for the
// program's run.
class TransportGlobal {
public:
    TransportGlobal();
    ~TransportGlobal(); // NOLINT(performance-trivially-destructible): libcurl cleans up here
    TransportGlobal(const TransportGlobal&) = delete;
    TransportGlobal& operator=(const TransportGlobal&) = delete;
};

} // namespace orvane
