#include "text.h"

#include <cstdio>

#include "kovo_utf8.h"

namespace kovo_host {

std::string quotedText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    appendQuotedText(text, out);
    return out;
}

void appendQuotedText(const std::string& text, std::string& out) {
    out += '\'';
    // Runs of plain characters go in whole: most texts have nothing to show.
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != 0x7f) {
            continue;
        }
        out.append(text, plain, i - plain);
        plain = i + 1;
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    out.append(text, plain, std::string::npos);
    out += '\'';
}

std::string quotedStart(const std::string& text, std::size_t most) {
    if (text.size() <= most) {
        return quotedText(text);
    }
    std::string out = quotedText(text.substr(0, kovo_os::utf8CutPoint(text.c_str(), most)));
    out += "\xe2\x80\xa6 (" + std::to_string(text.size()) + " bytes)";
    return out;
}

std::size_t invalidUtf8At(const std::string& text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = byte(i);
        const std::size_t length = kovo_os::utf8SequenceLength(lead);
        if (length == 1) {
            if (lead >= 0x80) {
                return i;  // a continuation byte without a lead, or 0xf8 and above
            }
            ++i;
            continue;
        }
        if (i + length > text.size()) {
            return i;
        }
        unsigned long code = lead & (0xff >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            if (!kovo_os::isUtf8ContinuationByte(byte(i + k))) {
                return i;
            }
            code = (code << 6) | (byte(i + k) & 0x3f);
        }
        const unsigned long shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < shortest || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
            return i;
        }
        i += length;
    }
    return std::string::npos;
}

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool containsIgnoringCase(const std::string& text, const std::string& part) {
    return lowerCase(text).find(lowerCase(part)) != std::string::npos;
}

bool hasControlCharacter(const std::string& text) {
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::vector<std::string> textLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') {
            --stop;
        }
        lines.emplace_back(text, start, stop - start);
        start = end + 1;
    }
    return lines;
}

}  // namespace kovo_host
