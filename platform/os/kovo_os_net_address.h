// What both sides of the sockets share word for word once their system's
// socket headers are included: an address as text and a port.
// (Included by kovo_os_net_posix.cpp and kovo_os_net_win32.cpp only.)
#pragma once

#include <string>

namespace kovo_os {

inline void addressText(const sockaddr_storage& address, std::string& text, int& port) {
    char buffer[INET6_ADDRSTRLEN] = {};
    text.clear();
    port = 0;
    if (address.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
        if (inet_ntop(AF_INET, &v4->sin_addr, buffer, sizeof buffer) != nullptr) {
            text = buffer;
        }
        port = ntohs(v4->sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
        if (inet_ntop(AF_INET6, &v6->sin6_addr, buffer, sizeof buffer) != nullptr) {
            text = buffer;
        }
        port = ntohs(v6->sin6_port);
    }
}

// The address of one end of a socket: getsockname or getpeername.
template <class Length, class Socket, class Query>
void endpointText(Socket socket, Query query, std::string& text, int& port) {
    sockaddr_storage address{};
    Length length = sizeof address;
    if (query(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        address.ss_family = AF_UNSPEC;
    }
    addressText(address, text, port);
}

inline addrinfo addressHints(bool passive) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = passive ? AI_PASSIVE : 0;
    return hints;
}

}  // namespace kovo_os
