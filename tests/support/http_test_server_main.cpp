// The test HTTP server on its own, for the Windows tests under Wine: prints
// its port and then that of a listener that never answers, then serves
// until its standard input closes.
#include "loopback.h"
#include "test_http_server.h"

#include <cstdio>
#include <unistd.h>

int main() {
    orvane::TestHttpServer server;
    orvane::SilentListener silent;
    std::printf("%d\n%d\n", server.port, silent.port);
    std::fflush(stdout);
    char byte = 0;
    while (::read(0, &byte, 1) > 0) {
    }
    return 0;
}
