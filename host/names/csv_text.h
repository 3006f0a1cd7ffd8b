// Comma-separated text (RFC 4180, UTF-8) read and written through libcsv.
#pragma once

#include <string>
#include <vector>

namespace kovo_host {

struct csv_record {
    int line = 0;  // the line the record starts on, from 1
    std::vector<std::string> fields;
};

// Reads every record; a leading byte-order mark is skipped, CRLF and LF line
// ends are both accepted, blank lines are skipped and fields are kept as they
// stand (blanks included). False, with the line, on malformed quoting.
bool parseCsv(const std::string& text, std::vector<csv_record>& records, std::string& error);

// One record with a CRLF line end; fields are quoted only when they need it.
std::string csvRecord(const std::vector<std::string>& fields);

}  // namespace kovo_host
