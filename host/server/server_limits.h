// How much the emulator's server takes: connections, event feeds and the time
// a request may take to arrive and an answer to be taken.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace kovo_serve {

struct stream_limits {
    std::chrono::milliseconds request{10000};  // from a request's first byte to its last
    std::chrono::milliseconds write{5000};     // for each part of an answer to be taken
    std::chrono::milliseconds idle{2000};      // between the requests of a kept-open connection
};

struct connection_limits {
    std::size_t connections = 256;  // open at once; more are refused
    std::size_t feeds = 64;         // event feeds open at once (one per page)
    stream_limits stream;
};

// What a request that did not arrive whole in time is told.
inline std::string lateRequestMessage(const stream_limits& limits) {
    return "the request did not arrive whole within " + std::to_string(limits.request.count()) +
           " ms";
}

}  // namespace kovo_serve
