// Who may talk to the emulator: requests must name this server in their Host
// header (a page that rebinds its own host name to this address is refused),
// and requests that change state must not come from another site's page.
#pragma once

#include <string>

namespace kovo_serve {

class request_guard {
  public:
    // listen: the address the server is bound to; port: the port it listens on.
    request_guard(std::string listen, int port);

    // The Host header names this server (localhost, a loopback address, the
    // listen address; any address literal when listening on every interface).
    bool hostAllowed(const std::string& host) const;
    // An Origin header (empty: none, as from command-line clients) that may
    // change state: this server's own pages only.
    bool originAllowed(const std::string& origin) const;

  private:
    bool nameAllowed(const std::string& name) const;

    std::string listen_;
    int port_;
};

// Whether the address is one that only this machine can reach.
bool isLoopback(const std::string& address);

}  // namespace kovo_serve
