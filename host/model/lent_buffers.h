// Reply buffers the host lends to one script, and the checks on giving them back.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kovo_host {

class lent_buffers {
  public:
    enum class give_back { ok, null_pointer, twice, late, foreign };

    // A fresh heap copy of text, owned by the host until it comes back with code 5.
    char* lend(const std::string& text, const std::string& command);

    // Takes a buffer back. `command` receives the text of the command the
    // buffer answered, when the buffer is known.
    give_back giveBack(const char* buffer, std::string& command);

    // Ends the current callback: returns the commands whose replies were not
    // given back. Those buffers stay allocated (a script may still read them)
    // but a later give-back is reported as late.
    std::vector<std::string> endCallback();

    std::size_t outstanding() const { return lent_.size(); }

  private:
    struct buffer {
        std::unique_ptr<char[]> data;
        std::string command;
    };
    std::map<const char*, buffer> lent_;
    std::map<const char*, buffer> expired_;
    // Given back during this callback; kept allocated until it ends so that no
    // new reply can take the same address and hide a second give-back.
    std::vector<std::unique_ptr<char[]>> quarantine_;
    std::unordered_map<const void*, std::string> released_;
};

}  // namespace kovo_host
