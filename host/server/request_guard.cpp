#include "request_guard.h"

#include <algorithm>

#include "text.h"

namespace kovo_serve {

using kovo_host::lowerCase;

namespace {

// Splits "name:port", "[v6]:port", "name" into name and port text.
void splitHost(const std::string& host, std::string& name, std::string& port) {
    name = host;
    port.clear();
    if (!host.empty() && host[0] == '[') {
        const std::size_t close = host.find(']');
        if (close == std::string::npos) {
            name.clear();  // not a host
            return;
        }
        name = host.substr(1, close - 1);
        if (close + 1 < host.size()) {
            if (host[close + 1] != ':') {
                name.clear();
                return;
            }
            port = host.substr(close + 2);
        }
        return;
    }
    const std::size_t colon = host.find(':');
    if (colon != std::string::npos) {
        name = host.substr(0, colon);
        port = host.substr(colon + 1);
    }
}

bool isAddressLiteral(const std::string& name) {
    if (name.find(':') != std::string::npos) {
        return std::all_of(name.begin(), name.end(), [](unsigned char c) {
            return std::isxdigit(c) || c == ':' || c == '.';
        });
    }
    return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isdigit(c) || c == '.';
    });
}

bool isWildcard(const std::string& address) {
    return address == "0.0.0.0" || address == "::" || address.empty();
}

}  // namespace

bool isLoopback(const std::string& address) {
    const std::string a = lowerCase(address);
    return a == "localhost" || a == "::1" || a.compare(0, 4, "127.") == 0;
}

request_guard::request_guard(std::string listen, int port)
    : listen_(lowerCase(std::move(listen))), port_(port) {}

bool request_guard::nameAllowed(const std::string& name) const {
    if (name.empty()) {
        return false;
    }
    const std::string n = lowerCase(name);
    if (n == "localhost" || n == "127.0.0.1" || n == "::1" || n == listen_) {
        return true;
    }
    // A page that rebinds a host name of its own cannot use an address literal.
    return isWildcard(listen_) && isAddressLiteral(n);
}

bool request_guard::hostAllowed(const std::string& host) const {
    std::string name, port;
    splitHost(host, name, port);
    if (!port.empty() && port != std::to_string(port_)) {
        return false;
    }
    return nameAllowed(name);
}

bool request_guard::originAllowed(const std::string& origin) const {
    if (origin.empty()) {
        return true;
    }
    const std::string scheme = "http://";
    if (lowerCase(origin).compare(0, scheme.size(), scheme) != 0) {
        return false;  // "null", another scheme, or not an origin at all
    }
    std::string name, port;
    splitHost(origin.substr(scheme.size()), name, port);
    // Another port on the same machine is another site's page.
    return port == std::to_string(port_) && nameAllowed(name);
}

}  // namespace kovo_serve
