// Sockets, as the browser emulator's server and its tests use them beside the
// HTTP library: the library accepts the connections, the emulator reads and
// writes them itself (a request must arrive whole in time, an answer goes out
// in one write, a peer that closed only its sending side still gets its answer).
// One implementation file per platform; linked by the host alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kovo_os {

// A socket of the operating system: a file descriptor, or a Windows SOCKET.
using socket_handle = std::uintptr_t;
extern const socket_handle noSocket;

// For a listening socket: no other listener may share its address. (A port
// given up a moment ago, with connections still lingering, may be taken again.)
void setListeningOptions(socket_handle socket);
// How many connections may wait to be accepted (a burst of them is not
// made to try again a second later).
void setListenBacklog(socket_handle socket, int connections);
// Small writes go out at once instead of waiting to be joined with the next.
void setNoDelay(socket_handle socket);

enum class wait_result { ready, timeout, failed };
// Readable: data, or the end of the peer's data.
wait_result waitReadable(socket_handle socket, int timeoutMs);
wait_result waitWritable(socket_handle socket, int timeoutMs);
// What one call could read: bytes read, 0 at the end of the peer's data, -1 on an error.
std::int64_t receiveSome(socket_handle socket, char* buffer, std::size_t size);
// What one call could write, or -1 on an error (a peer gone raises no signal).
std::int64_t sendSome(socket_handle socket, const char* data, std::size_t size);
// True when the peer has sent everything it will (its sending side closed) and
// no data of it waits to be read.
bool peerFinishedSending(socket_handle socket);
// The address and port of each end ("" and 0 when unknown).
void peerAddress(socket_handle socket, std::string& address, int& port);
void localAddress(socket_handle socket, std::string& address, int& port);
// Closes our sending side, then the socket.
void closeSocket(socket_handle socket);

// Why no server can listen on the address and port ("" when one can): tries it.
std::string listenProblem(const std::string& address, int port);

// A client's connection (tests, measurements); noSocket with a message on failure.
socket_handle connectTo(const std::string& address, int port, std::string& error);
// Tells the peer that we send nothing more; reading goes on.
void finishSending(socket_handle socket);

}  // namespace kovo_os
