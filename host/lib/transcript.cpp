#include "transcript.h"

#include <cstdio>

namespace kovo_host {

std::string quotedText(const std::string& text) {
    std::string out = "'";
    for (unsigned char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "'";
}

void transcript::add(transcript_entry entry) {
    entries_.push_back(std::move(entry));
    if (echo_ != nullptr) {
        *echo_ << format(entries_.back()) << '\n';
        echo_->flush();
    }
    if (observer_) {
        observer_(entries_.back());
    }
}

std::string transcript::format(const transcript_entry& entry) {
    const std::string who = entry.script.empty() ? std::string() : "[" + entry.script + "] ";
    switch (entry.kind) {
        case entry_kind::action:
            return entry.text;
        case entry_kind::command: {
            std::string line = "  " + who + "0 " + entry.text;
            if (entry.answered) {
                line += "  -> " + entry.answer;
            }
            return line;
        }
        case entry_kind::give_back:
            return "  " + who + "5 " + entry.text;
        case entry_kind::debug: {
            // One transcript line per non-empty line of output: the framework's
            // messages start and end with line ends of their own.
            std::string out;
            std::size_t start = 0;
            while (start < entry.text.size()) {
                std::size_t end = entry.text.find('\n', start);
                if (end == std::string::npos) {
                    end = entry.text.size();
                }
                if (end > start) {
                    if (!out.empty()) {
                        out += '\n';
                    }
                    out += "  " + who + "debug| " + entry.text.substr(start, end - start);
                }
                start = end + 1;
            }
            return out.empty() ? "  " + who + "debug| " : out;
        }
        case entry_kind::event:
            return "  " + who + "<- " + entry.text;
        case entry_kind::note:
            return "  " + who + "(" + entry.text + ")";
        case entry_kind::breach:
            return "!! protocol breach" + std::string(entry.script.empty() ? "" : " by ") +
                   entry.script + ": " + entry.text;
        case entry_kind::failure:
            return "!! " + entry.text;
        case entry_kind::output:
            return entry.text;
    }
    return entry.text;
}

}  // namespace kovo_host
