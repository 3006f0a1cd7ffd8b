// Which Host and Origin headers the emulator accepts.
#include <gtest/gtest.h>

#include "request_guard.h"

namespace {

using kovo_serve::request_guard;

TEST(request_guard, HostMustNameThisServer) {
    const request_guard guard("127.0.0.1", 8080);
    for (const char* host :
         {"127.0.0.1:8080", "localhost:8080", "LOCALHOST", "[::1]:8080", "127.0.0.1"}) {
        EXPECT_TRUE(guard.hostAllowed(host)) << host;
    }
    for (const char* host :
         {"", "evil.example", "evil.example:8080", "127.0.0.1:9090", "localhost.evil:8080", "[::1",
          "[::1]x", "192.168.1.5:8080", "127.0.0.1.evil:8080"}) {
        EXPECT_FALSE(guard.hostAllowed(host)) << host;
    }
}

TEST(request_guard, ListeningElsewhereAllowsThatAddressAndLiteralsOnWildcards) {
    const request_guard lan("192.168.1.5", 80);
    EXPECT_TRUE(lan.hostAllowed("192.168.1.5"));
    EXPECT_FALSE(lan.hostAllowed("10.0.0.1"));
    const request_guard any("0.0.0.0", 80);
    EXPECT_TRUE(any.hostAllowed("10.0.0.1:80"));
    EXPECT_FALSE(any.hostAllowed("rebound.example:80"));
}

TEST(request_guard, OriginMustBeThisServersOwnPage) {
    const request_guard guard("127.0.0.1", 8080);
    EXPECT_TRUE(guard.originAllowed(""));  // command-line clients send none
    EXPECT_TRUE(guard.originAllowed("http://127.0.0.1:8080"));
    EXPECT_TRUE(guard.originAllowed("http://localhost:8080"));
    for (const char* origin :
         {"null", "http://evil.example", "http://localhost:3000", "http://127.0.0.1",
          "https://127.0.0.1:8080", "file://", "http://127.0.0.1:8080.evil"}) {
        EXPECT_FALSE(guard.originAllowed(origin)) << origin;
    }
}

TEST(request_guard, LoopbackAddresses) {
    EXPECT_TRUE(kovo_serve::isLoopback("127.0.0.1"));
    EXPECT_TRUE(kovo_serve::isLoopback("localhost"));
    EXPECT_TRUE(kovo_serve::isLoopback("::1"));
    EXPECT_FALSE(kovo_serve::isLoopback("0.0.0.0"));
    EXPECT_FALSE(kovo_serve::isLoopback("192.168.1.5"));
}

}  // namespace
