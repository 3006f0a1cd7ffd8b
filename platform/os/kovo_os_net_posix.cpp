// POSIX side of the sockets.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "kovo_os_net.h"
#include "kovo_os_net_address.h"

namespace kovo_os {

const socket_handle noSocket = static_cast<socket_handle>(-1);

namespace {

int fd(socket_handle socket) {
    return static_cast<int>(socket);
}

void setFlag(socket_handle socket, int level, int option) {
    const int yes = 1;
    setsockopt(fd(socket), level, option, &yes, sizeof yes);
}

wait_result waitFor(socket_handle socket, short events, int timeoutMs) {
    pollfd p{};
    p.fd = fd(socket);
    p.events = events;
    int ready = 0;
    do {
        ready = poll(&p, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) {
        return wait_result::timeout;
    }
    // An error or hang-up is ready too: the read or write that follows tells which.
    return ready > 0 ? wait_result::ready : wait_result::failed;
}

// The addresses of a host and port, for listening (passive) or connecting.
addrinfo* resolve(const std::string& address, int port, bool passive, std::string& error) {
    const addrinfo hints = addressHints(passive);
    addrinfo* found = nullptr;
    const int status = getaddrinfo(address.empty() ? nullptr : address.c_str(),
                                   std::to_string(port).c_str(), &hints, &found);
    if (status != 0) {
        error = std::string("the address cannot be resolved: ") + gai_strerror(status);
        return nullptr;
    }
    return found;
}

}  // namespace

// SO_REUSEPORT would let a second server bind the same port and take half of
// the connections; SO_REUSEADDR alone never lets two listeners share one.
void setListeningOptions(socket_handle socket) {
    setFlag(socket, SOL_SOCKET, SO_REUSEADDR);
}

// Called again on a listening socket, listen() sets its backlog anew.
void setListenBacklog(socket_handle socket, int connections) {
    listen(fd(socket), connections);
}

void setNoDelay(socket_handle socket) {
    setFlag(socket, IPPROTO_TCP, TCP_NODELAY);
}

wait_result waitReadable(socket_handle socket, int timeoutMs) {
    return waitFor(socket, POLLIN, timeoutMs);
}

wait_result waitWritable(socket_handle socket, int timeoutMs) {
    return waitFor(socket, POLLOUT, timeoutMs);
}

std::int64_t receiveSome(socket_handle socket, char* buffer, std::size_t size) {
    ssize_t got = 0;
    do {
        got = recv(fd(socket), buffer, size, 0);
    } while (got < 0 && errno == EINTR);
    return got;
}

std::int64_t sendSome(socket_handle socket, const char* data, std::size_t size) {
    ssize_t sent = 0;
    do {
        sent = send(fd(socket), data, size, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent;
}

bool peerFinishedSending(socket_handle socket) {
    if (waitReadable(socket, 0) != wait_result::ready) {
        return false;
    }
    char byte = 0;
    return recv(fd(socket), &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

void peerAddress(socket_handle socket, std::string& address, int& port) {
    endpointText<socklen_t>(fd(socket), getpeername, address, port);
}

void localAddress(socket_handle socket, std::string& address, int& port) {
    endpointText<socklen_t>(fd(socket), getsockname, address, port);
}

void closeSocket(socket_handle socket) {
    shutdown(fd(socket), SHUT_WR);
    close(fd(socket));
}

std::string listenProblem(const std::string& address, int port) {
    std::string problem;
    addrinfo* found = resolve(address, port, true, problem);
    if (found == nullptr) {
        return problem;
    }
    const int s = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    if (s < 0) {
        problem = std::strerror(errno);
    } else {
        setListeningOptions(static_cast<socket_handle>(s));
        if (bind(s, found->ai_addr, found->ai_addrlen) != 0 || listen(s, 1) != 0) {
            const int why = errno;
            problem = why == EADDRINUSE      ? "the port is in use by another program"
                      : why == EACCES        ? "this user may not listen on the port"
                      : why == EADDRNOTAVAIL ? "the address is not one of this machine's"
                                             : std::strerror(why);
        }
        close(s);
    }
    freeaddrinfo(found);
    return problem;
}

socket_handle connectTo(const std::string& address, int port, std::string& error) {
    addrinfo* found = resolve(address, port, false, error);
    if (found == nullptr) {
        return noSocket;
    }
    int s = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    int why = s < 0 ? errno : 0;
    if (s >= 0 && connect(s, found->ai_addr, found->ai_addrlen) != 0) {
        why = errno;
        close(s);
        s = -1;
    }
    if (s < 0) {
        error = std::strerror(why);
    }
    freeaddrinfo(found);
    return s < 0 ? noSocket : static_cast<socket_handle>(s);
}

void finishSending(socket_handle socket) {
    shutdown(fd(socket), SHUT_WR);
}

}  // namespace kovo_os
