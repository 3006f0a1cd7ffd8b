// The least a panel host can do for a plug-in: answer each command from memory,
// with no checks and no record kept unless asked. It carries the command texts
// of the plug-in benchmarks and of their floor alike, so the two differ only in
// how the texts are made.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "kovo_interface.h"

namespace kovo_bench {

class lean_host final : public kovo_host_link {
  public:
    // The names of every name file of the site, by device, database and index.
    bool loadNames(const std::string& siteDir, std::string& error);
    // The answer to one exact "TG" text (the value a control would hold).
    void answerGet(const std::string& command, const std::string& answer);

    char* sendCommand(const char* text, int code) override;

    // Commands with code 0 since the last reset.
    unsigned long commands() const { return commands_; }
    void resetCount() { commands_ = 0; }
    // While set, every command text is appended here.
    void record(std::vector<std::string>* into) { recording_ = into; }

  private:
    std::string* name(int device, int database, int index);
    // The name addressed by "device database index " at `at`, stepping past them.
    std::string* nameAt(const char*& at);

    std::map<std::pair<int, int>, std::vector<std::string>> names_;
    std::vector<std::pair<std::string, std::string>> gets_;
    std::string none_;
    std::map<std::string, std::string> devices_;  // "SD" answers by device name
    unsigned long commands_ = 0;
    std::vector<std::string>* recording_ = nullptr;
    char status_ = '1';
};

}  // namespace kovo_bench
