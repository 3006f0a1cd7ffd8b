// Windows side of the sockets.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <winsock2.h>
#include <ws2tcpip.h>

#include <climits>
#include <string>

#include "kovo_os_net.h"
#include "kovo_os_net_address.h"

namespace kovo_os {

const socket_handle noSocket = static_cast<socket_handle>(INVALID_SOCKET);

namespace {

SOCKET sock(socket_handle socket) {
    return static_cast<SOCKET>(socket);
}

// Windows sockets must be started once per process before the first call.
void startSockets() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
}

int clampedLength(std::size_t size) {
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

void setFlag(socket_handle socket, int level, int option) {
    const BOOL yes = TRUE;
    setsockopt(sock(socket), level, option, reinterpret_cast<const char*>(&yes), sizeof yes);
}

wait_result waitFor(socket_handle socket, SHORT events, int timeoutMs) {
    WSAPOLLFD p{};
    p.fd = sock(socket);
    p.events = events;
    const int ready = WSAPoll(&p, 1, timeoutMs);
    if (ready == 0) {
        return wait_result::timeout;
    }
    return ready > 0 ? wait_result::ready : wait_result::failed;
}

addrinfo* resolve(const std::string& address, int port, bool passive, std::string& error) {
    startSockets();
    const addrinfo hints = addressHints(passive);
    addrinfo* found = nullptr;
    if (getaddrinfo(address.empty() ? nullptr : address.c_str(), std::to_string(port).c_str(),
                    &hints, &found) != 0) {
        error = "the address cannot be resolved (error " + std::to_string(WSAGetLastError()) + ")";
        return nullptr;
    }
    return found;
}

}  // namespace

// Without SO_EXCLUSIVEADDRUSE another program could bind the same port with
// SO_REUSEADDR and take connections meant for this one.
void setListeningOptions(socket_handle socket) {
    setFlag(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE);
}

// Windows keeps the backlog of the first listen() (the system's own maximum
// where the HTTP library asks for SOMAXCONN; it asks for 5).
void setListenBacklog(socket_handle socket, int connections) {
    listen(sock(socket), connections);
}

void setNoDelay(socket_handle socket) {
    setFlag(socket, IPPROTO_TCP, TCP_NODELAY);
}

wait_result waitReadable(socket_handle socket, int timeoutMs) {
    return waitFor(socket, POLLRDNORM, timeoutMs);
}

wait_result waitWritable(socket_handle socket, int timeoutMs) {
    return waitFor(socket, POLLWRNORM, timeoutMs);
}

std::int64_t receiveSome(socket_handle socket, char* buffer, std::size_t size) {
    return recv(sock(socket), buffer, clampedLength(size), 0);
}

std::int64_t sendSome(socket_handle socket, const char* data, std::size_t size) {
    return send(sock(socket), data, clampedLength(size), 0);
}

bool peerFinishedSending(socket_handle socket) {
    if (waitReadable(socket, 0) != wait_result::ready) {
        return false;
    }
    char byte = 0;
    return recv(sock(socket), &byte, 1, MSG_PEEK) == 0;
}

void peerAddress(socket_handle socket, std::string& address, int& port) {
    endpointText<int>(sock(socket), getpeername, address, port);
}

void localAddress(socket_handle socket, std::string& address, int& port) {
    endpointText<int>(sock(socket), getsockname, address, port);
}

void closeSocket(socket_handle socket) {
    shutdown(sock(socket), SD_SEND);
    closesocket(sock(socket));
}

std::string listenProblem(const std::string& address, int port) {
    std::string problem;
    addrinfo* found = resolve(address, port, true, problem);
    if (found == nullptr) {
        return problem;
    }
    const SOCKET s = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    if (s == INVALID_SOCKET) {
        problem = "no socket (error " + std::to_string(WSAGetLastError()) + ")";
    } else {
        setListeningOptions(static_cast<socket_handle>(s));
        if (bind(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0 ||
            listen(s, 1) != 0) {
            const int why = WSAGetLastError();
            problem = why == WSAEADDRINUSE      ? "the port is in use by another program"
                      : why == WSAEACCES        ? "this user may not listen on the port"
                      : why == WSAEADDRNOTAVAIL ? "the address is not one of this machine's"
                                                : "error " + std::to_string(why);
        }
        closesocket(s);
    }
    freeaddrinfo(found);
    return problem;
}

socket_handle connectTo(const std::string& address, int port, std::string& error) {
    addrinfo* found = resolve(address, port, false, error);
    if (found == nullptr) {
        return noSocket;
    }
    SOCKET s = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    int why = s == INVALID_SOCKET ? WSAGetLastError() : 0;
    if (s != INVALID_SOCKET &&
        connect(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0) {
        why = WSAGetLastError();
        closesocket(s);
        s = INVALID_SOCKET;
    }
    if (s == INVALID_SOCKET) {
        error = "cannot connect (error " + std::to_string(why) + ")";
    }
    freeaddrinfo(found);
    return s == INVALID_SOCKET ? noSocket : static_cast<socket_handle>(s);
}

void finishSending(socket_handle socket) {
    shutdown(sock(socket), SD_SEND);
}

}  // namespace kovo_os
