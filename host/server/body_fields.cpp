#include "body_fields.h"

#include <climits>

#include "script_writer.h"
#include "text.h"

namespace kovo_serve {

body_fields::body_fields(const std::string& body) {
    const std::size_t invalid = kovo_host::invalidUtf8At(body);
    if (invalid != std::string::npos) {
        error_ = refusal(400,
                         "the body is not UTF-8 text (byte " + std::to_string(invalid + 1) +
                             " of " + std::to_string(body.size()) + ")",
                         "body");
        return;
    }
    body_ = body.empty() ? json::object() : json::parse(body, nullptr, false);
    if (body_.is_discarded()) {
        error_ = refusal(400, "the body is not JSON", "body");
    } else if (!body_.is_object()) {
        error_ = refusal(
            400, "the body must be a JSON object, not " + std::string(body_.type_name()), "body");
    }
}

const json* body_fields::field(const char* name, bool required, bool (json::*isType)() const,
                               const char* typeText) {
    if (!ok()) {
        return nullptr;
    }
    if (!body_.contains(name)) {
        if (required) {
            fail(name, "is missing");
        }
        return nullptr;
    }
    const json& value = body_[name];
    if (!(value.*isType)()) {
        fail(name, typeText);
        return nullptr;
    }
    return &value;
}

std::string body_fields::word(const char* name) {
    const std::string value = text(name, true);
    if (ok() && (value.empty() || value.find_first_of(" \t\r\n") != std::string::npos)) {
        fail(name, "must be a word without spaces");
    }
    return value;
}

std::string body_fields::anyText(const char* name, bool required) {
    const json* value = field(name, required, &json::is_string, "must be a string");
    return value != nullptr ? value->get<std::string>() : std::string();
}

std::string body_fields::text(const char* name, bool required) {
    const std::string value = anyText(name, required);
    if (ok() && !kovo_host::fitsOnLine(value)) {
        fail(name, "must not hold a line end");
    }
    return value;
}

int body_fields::number(const char* name, bool required, int otherwise) {
    const json* value = field(name, required, &json::is_number, "must be a whole number");
    if (value == nullptr) {
        return otherwise;
    }
    // (A number above the signed range is unsigned: read as signed it would wrap.)
    const bool outside =
        value->is_number_unsigned()
            ? value->get<unsigned long long>() > static_cast<unsigned long long>(INT_MAX)
            : value->is_number_integer() &&
                  (value->get<long long>() < INT_MIN || value->get<long long>() > INT_MAX);
    if (!value->is_number_integer() || outside) {
        fail(name, "must be a whole number");
        return otherwise;
    }
    return static_cast<int>(value->get<long long>());
}

bool body_fields::flag(const char* name) {
    const json* value = field(name, true, &json::is_boolean, "must be true or false");
    return value != nullptr && value->get<bool>();
}

void body_fields::fail(const char* name, const std::string& what) {
    error_ = refusal(400, std::string("the field ") + name + " " + what, name);
}

}  // namespace kovo_serve
