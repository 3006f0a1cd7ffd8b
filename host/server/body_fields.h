// A request body read as a JSON object, and its fields: a body that is not
// UTF-8, not JSON or not an object, and a missing or mistyped field, is a
// refusal that says which.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "serve_session.h"

namespace kovo_serve {

class body_fields {
  public:
    explicit body_fields(const std::string& body);
    bool ok() const { return error_.status == 200; }
    const api_result& error() const { return error_; }
    bool has(const char* field) const { return ok() && body_.contains(field); }

    // Words of a session script line: no spaces, no control characters.
    std::string word(const char* field);
    // The rest of a line: anything but a line end.
    std::string text(const char* field, bool required);
    // Any text (a name, whose checks are the simulator's).
    std::string anyText(const char* field, bool required);
    int number(const char* field, bool required, int otherwise = 0);
    bool flag(const char* field);

  private:
    // The field's value when it is there and of that type; fails otherwise.
    const json* field(const char* name, bool required, bool (json::*isType)() const,
                      const char* typeText);
    void fail(const char* field, const std::string& what);
    json body_;
    api_result error_;
};

}  // namespace kovo_serve
