#include "kovo_ini_reader.h"

namespace kovo_os {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string trimmed(const std::string& text, std::size_t begin, std::size_t end) {
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool findIniValue(std::istream& input, const std::string& section, const std::string& key,
                  std::string& value, int* line) {
    const std::string wantedSection = trimmed(section, 0, section.size());
    const std::string wantedKey = trimmed(key, 0, key.size());
    bool inSection = false;
    int number = 0;
    std::string text;
    while (std::getline(input, text)) {
        ++number;
        // A byte-order mark written by an editor is not part of the first line.
        if (number == 1 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            text.erase(0, 3);
        }
        const std::string content = trimmed(text, 0, text.size());
        if (content.empty() || content[0] == ';' || content[0] == '#') {
            continue;
        }
        if (content[0] == '[') {
            // Only the first section of the name is read, as by the Windows
            // profile functions: a key of a later duplicate is never seen.
            if (inSection) {
                return false;
            }
            const std::size_t close = content.find(']');
            const std::size_t end = close == std::string::npos ? content.size() : close;
            inSection = equalsIgnoringCase(trimmed(content, 1, end), wantedSection);
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t equals = content.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        if (equalsIgnoringCase(trimmed(content, 0, equals), wantedKey)) {
            value = trimmed(content, equals + 1, content.size());
            // A value written in matching quotes is read without them.
            if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
                value.back() == value[0]) {
                value = value.substr(1, value.size() - 2);
            }
            if (line != nullptr) {
                *line = number;
            }
            return true;
        }
    }
    return false;
}

}  // namespace kovo_os
