// Entry point of the HTTP tests: libcurl set up once, as the program does.
#include "transport/transport_global.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    orvane::TransportGlobal transport;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
