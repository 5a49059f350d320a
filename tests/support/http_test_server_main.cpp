// The test HTTP server on its own, for the Windows tests under Wine: prints
// its port, then serves until its standard input closes.
#include "test_http_server.h"

#include <cstdio>
#include <unistd.h>

int main() {
    orvane::TestHttpServer server;
    std::printf("%d\n", server.port);
    std::fflush(stdout);
    char byte = 0;
    while (::read(0, &byte, 1) > 0) {
    }
    return 0;
}
