#include "command_floor.h"

#include <cstdio>
#include <cstring>

namespace kovo_bench {

namespace {

constexpr std::size_t bufferSize = 8192;

bool isNumber(const std::string& text) {
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i >= text.size() || text.size() > 10) {
        return false;
    }
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

void appendLiteral(std::string& format, const std::string& text) {
    for (char c : text) {
        format += c;
        if (c == '%') {
            format += '%';
        }
    }
}

}  // namespace

bool command_floor::prepare(const std::vector<std::string>& texts, std::string& error) {
    commands_.clear();
    texts_ = texts;
    for (const std::string& text : texts) {
        command c;
        const std::string verb = text.substr(0, 2);
        c.reply = verb == "RN" || verb == "TG" || verb == "SD" || verb == "XI";
        std::size_t at = text.find(' ');
        appendLiteral(c.format, text.substr(0, at));
        while (at != std::string::npos) {
            c.format += ' ';
            ++at;
            std::size_t end;
            if (text[at] == '\'') {
                // A quoted field ends at a quote before a blank or the end.
                end = at + 1;
                while (end < text.size() &&
                       !(text[end] == '\'' && (end + 1 == text.size() || text[end + 1] == ' '))) {
                    ++end;
                }
                if (end >= text.size()) {
                    error = "unclosed quote in " + text;
                    return false;
                }
                c.fields.push_back(field{false, 0, text.substr(at + 1, end - at - 1)});
                c.shape += 's';
                c.format += "'%s'";
                ++end;
            } else {
                end = text.find(' ', at);
                const std::string word = text.substr(at, end == std::string::npos ? end : end - at);
                if (isNumber(word)) {
                    c.fields.push_back(field{true, std::stoi(word), std::string()});
                    c.shape += 'd';
                    c.format += "%d";
                } else {
                    appendLiteral(c.format, word);
                }
            }
            at = end < text.size() ? end : std::string::npos;
        }
        c.shapeId = shapeOf(c.shape);
        if (c.shapeId < 0) {
            error = "no floor for the shape " + c.shape + " of " + text;
            return false;
        }
        commands_.push_back(std::move(c));
    }
    return true;
}

namespace {
// The shapes the three plug-ins send; make() has one snprintf call for each.
const char* const shapes[] = {"", "s", "ss", "sss", "d", "dd", "ddd", "ddds", "dddsd", "dsdd"};
}  // namespace

int command_floor::shapeOf(const std::string& shape) {
    for (int i = 0; i < static_cast<int>(sizeof shapes / sizeof shapes[0]); ++i) {
        if (shape == shapes[i]) {
            return i;
        }
    }
    return -1;
}

int command_floor::make(const command& c, char* out, std::size_t size) {
    const char* f = c.format.c_str();
    const auto s = [&](std::size_t i) { return c.fields[i].text.c_str(); };
    const auto d = [&](std::size_t i) { return c.fields[i].value; };
    switch (c.shapeId) {
        case 0:
            return std::snprintf(out, size, f, 0);
        case 1:
            return std::snprintf(out, size, f, s(0));
        case 2:
            return std::snprintf(out, size, f, s(0), s(1));
        case 3:
            return std::snprintf(out, size, f, s(0), s(1), s(2));
        case 4:
            return std::snprintf(out, size, f, d(0));
        case 5:
            return std::snprintf(out, size, f, d(0), d(1));
        case 6:
            return std::snprintf(out, size, f, d(0), d(1), d(2));
        case 7:
            return std::snprintf(out, size, f, d(0), d(1), d(2), s(3));
        case 8:
            return std::snprintf(out, size, f, d(0), d(1), d(2), s(3), d(4));
        case 9:
            return std::snprintf(out, size, f, d(0), s(1), d(2), d(3));
        default:
            return -1;
    }
}

bool command_floor::verify(std::string& error) {
    char buffer[bufferSize];
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        const int n = make(commands_[i], buffer, sizeof buffer);
        if (n < 0 || static_cast<std::size_t>(n) != texts_[i].size() ||
            std::memcmp(buffer, texts_[i].data(), texts_[i].size()) != 0) {
            error = "the floor made \"" + std::string(buffer) + "\" for \"" + texts_[i] + "\"";
            return false;
        }
    }
    return true;
}

void command_floor::run(kovo_host_link& host) {
    char buffer[bufferSize];
    for (const command& c : commands_) {
        make(c, buffer, sizeof buffer);
        char* answer = host.sendCommand(buffer, KOVO_CODE_COMMAND);
        if (c.reply) {
            host.sendCommand(answer, KOVO_CODE_RELEASE);
        }
    }
}

}  // namespace kovo_bench
