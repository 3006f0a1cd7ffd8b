// What a request may carry as its body, decided from its headers before a byte
// of it is read, and the body read no further than the limit: a body is taken
// by POST requests only, announced by a Content-Length of at most the limit or
// sent in chunks that stop being read once they pass it. What is refused is
// answered without reading the body, and the connection then closes (what was
// left unread cannot be taken for the next request).
#pragma once

#include <cstddef>
#include <string>

#include <httplib.h>

#include "serve_session.h"

namespace kovo_serve {

struct body_verdict {
    api_result refused;   // status 200: the body may be read
    bool none = false;    // a POST that announces no body: it has none
    bool unread = false;  // the request has a body that will not be read
};

body_verdict judgeBody(const httplib::Request& req, std::size_t maxBody);

// Reads the body through the library's reader, at most maxBody bytes; a
// refusal (413 past the limit, 400 when it cannot be read) otherwise.
api_result readBody(const httplib::ContentReader& reader, std::size_t maxBody, std::string& body);

}  // namespace kovo_serve
