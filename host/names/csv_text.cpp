#include "csv_text.h"

#include <csv.h>

namespace kovo_host {

namespace {

struct reader_state {
    std::vector<csv_record>* records = nullptr;
    csv_record current;
    bool inRecord = false;
    int line = 1;
};

void onField(void* data, std::size_t size, void* context) {
    auto* state = static_cast<reader_state*>(context);
    state->current.fields.emplace_back(data == nullptr ? "" : static_cast<const char*>(data), size);
}

void onRecordEnd(int, void* context) {
    auto* state = static_cast<reader_state*>(context);
    state->records->push_back(std::move(state->current));
    state->current = csv_record{};
    state->inRecord = false;
}

// Blanks are data in RFC 4180: nothing is trimmed.
int noSpace(unsigned char) {
    return 0;
}

}  // namespace

bool parseCsv(const std::string& text, std::vector<csv_record>& records, std::string& error) {
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL) != 0) {
        error = "out of memory";
        return false;
    }
    csv_set_space_func(&parser, noSpace);
    reader_state state;
    state.records = &records;
    std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    bool ok = true;
    // One byte at a time, so that every record knows the line it starts on.
    for (std::size_t i = start; i < text.size() && ok; ++i) {
        const char ch = text[i];
        if (!state.inRecord && ch != '\r' && ch != '\n') {
            state.inRecord = true;
            state.current.line = state.line;
        }
        ok = csv_parse(&parser, &text[i], 1, onField, onRecordEnd, &state) == 1;
        if (ch == '\n') {
            ++state.line;
        }
    }
    if (ok) {
        ok = csv_fini(&parser, onField, onRecordEnd, &state) == 0;
    }
    if (!ok) {
        error = "line " + std::to_string(state.line) + ": " + csv_strerror(csv_error(&parser)) +
                " (a quote inside a field that is not quoted, or a quoted field that is never "
                "closed)";
    }
    csv_free(&parser);
    return ok;
}

std::string csvRecord(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& field = fields[i];
        if (i > 0) {
            out += ',';
        }
        const bool quote = field.find_first_of(",\"\r\n") != std::string::npos ||
                           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
        if (!quote) {
            out += field;
            continue;
        }
        std::string quoted(csv_write(nullptr, 0, field.data(), field.size()), '\0');
        csv_write(&quoted[0], quoted.size(), field.data(), field.size());
        out += quoted;
    }
    return out + "\r\n";
}

}  // namespace kovo_host
