#include "request_body.h"

#include "numbers.h"
#include "text.h"

namespace kovo_serve {

namespace {

bool isMethodWithoutBody(const std::string& method) {
    return method == "GET" || method == "HEAD" || method == "DELETE" || method == "OPTIONS";
}

}  // namespace

body_verdict judgeBody(const httplib::Request& req, std::size_t maxBody) {
    body_verdict verdict;
    const bool chunked = req.has_header("Transfer-Encoding");
    const bool counted = req.has_header("Content-Length");
    const std::string length = req.get_header_value("Content-Length");
    verdict.unread = chunked || (counted && length != "0");
    long long bytes = 0;
    if (req.method != "POST" && !isMethodWithoutBody(req.method)) {
        verdict.refused = refusal(405,
                                  "this server takes GET, HEAD, POST, DELETE and OPTIONS "
                                  "requests, not " +
                                      req.method);
    } else if (chunked && counted) {
        verdict.refused = refusal(400,
                                  "a request may not have both a Content-Length and a "
                                  "Transfer-Encoding",
                                  "Transfer-Encoding");
    } else if (chunked &&
               kovo_host::lowerCase(req.get_header_value("Transfer-Encoding")) != "chunked") {
        verdict.refused =
            refusal(501,
                    "the only transfer coding taken is chunked, not " +
                        kovo_host::quotedStart(req.get_header_value("Transfer-Encoding")),
                    "Transfer-Encoding");
    } else if (counted && (req.get_header_value_count("Content-Length") != 1 ||
                           !kovo_host::parseDigits(length, bytes))) {
        verdict.refused =
            refusal(400, "the Content-Length is not one number of bytes", "Content-Length");
    } else if (verdict.unread && req.method != "POST") {
        verdict.refused = refusal(400, "a " + req.method + " request takes no body", "body");
    } else if (static_cast<unsigned long long>(bytes) > maxBody) {
        verdict.refused = refusal(413,
                                  "the body is " + length + " bytes long; at most " +
                                      std::to_string(maxBody) + " are taken",
                                  "body");
    } else if (verdict.unread && !req.get_header_value("Content-Encoding").empty() &&
               kovo_host::lowerCase(req.get_header_value("Content-Encoding")) != "identity") {
        verdict.refused =
            refusal(415,
                    "the body is compressed (" +
                        kovo_host::quotedStart(req.get_header_value("Content-Encoding")) +
                        "): send it as it is",
                    "Content-Encoding");
    }
    // (HTTP/1.1: a request that announces neither has no body; the library
    // would read one until the connection ends.)
    verdict.none = req.method == "POST" && !chunked && !counted;
    return verdict;
}

api_result readBody(const httplib::ContentReader& reader, std::size_t maxBody, std::string& body) {
    bool tooLong = false;
    const bool whole = reader([&](const char* data, std::size_t size) {
        if (size > maxBody - body.size()) {
            tooLong = true;
            return false;  // read no further
        }
        body.append(data, size);
        return true;
    });
    if (tooLong) {
        return refusal(413, "the body is longer than " + std::to_string(maxBody) + " bytes",
                       "body");
    }
    if (!whole) {
        return refusal(
            400, "the body could not be read: it ended early or its chunks are malformed", "body");
    }
    return {};
}

}  // namespace kovo_serve
