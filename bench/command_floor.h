// The floor of a plug-in scenario: the very command texts the plug-in sent, each
// made again with one snprintf into a fixed buffer from its fields (quoted texts
// and plain numbers), and sent to the same lean host, replies given back.
#pragma once

#include <string>
#include <vector>

#include "kovo_interface.h"

namespace kovo_bench {

class command_floor {
  public:
    // Splits each text into a format and its fields; false (with the text in
    // error) when a text has a shape the floor cannot make again.
    bool prepare(const std::vector<std::string>& texts, std::string& error);
    // Makes every text once and checks it is byte for byte the one recorded.
    bool verify(std::string& error);
    // Makes and sends every text once.
    void run(kovo_host_link& host);
    std::size_t size() const { return commands_.size(); }

  private:
    struct field {
        bool number;
        int value;
        std::string text;
    };
    struct command {
        std::string format;
        std::string shape;  // one letter a field: 's' text, 'd' number
        std::vector<field> fields;
        int shapeId;
        bool reply;  // the answer is a buffer to give back
    };
    static int shapeOf(const std::string& shape);
    static int make(const command& c, char* out, std::size_t size);

    std::vector<command> commands_;
    std::vector<std::string> texts_;
};

}  // namespace kovo_bench
