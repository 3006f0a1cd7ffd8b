#include "lean_host.h"

#include <cstring>

#include "site_directory.h"

namespace kovo_bench {

namespace {

// Reads a plain decimal number and steps past it and one blank.
int readNumber(const char*& at) {
    int value = 0;
    bool negative = *at == '-';
    if (negative) {
        ++at;
    }
    while (*at >= '0' && *at <= '9') {
        value = value * 10 + (*at++ - '0');
    }
    if (*at == ' ') {
        ++at;
    }
    return negative ? -value : value;
}

}  // namespace

bool lean_host::loadNames(const std::string& siteDir, std::string& error) {
    kovo_host::site_directory site;
    if (!site.open(siteDir, error)) {
        return false;
    }
    for (const auto& device : site.devices()) {
        devices_[device.second.name] =
            std::to_string(device.second.number) + " " + std::to_string(device.second.offset);
    }
    for (const kovo_host::name_file& file : site.nameFiles()) {
        std::vector<kovo_host::name_line> lines;
        if (!kovo_host::readNameFile(file.path, lines, error)) {
            return false;
        }
        std::vector<std::string>& names = names_[{file.device, file.database}];
        for (const kovo_host::name_line& line : lines) {
            if (line.index < 1) {
                continue;
            }
            if (names.size() < static_cast<std::size_t>(line.index)) {
                names.resize(static_cast<std::size_t>(line.index));
            }
            names[static_cast<std::size_t>(line.index - 1)] = line.name;
        }
    }
    return true;
}

void lean_host::answerGet(const std::string& command, const std::string& answer) {
    gets_.emplace_back(command, answer);
}

std::string* lean_host::name(int device, int database, int index) {
    const auto found = names_.find({device, database});
    if (found == names_.end() || index < 1 ||
        static_cast<std::size_t>(index) > found->second.size()) {
        return nullptr;
    }
    return &found->second[static_cast<std::size_t>(index - 1)];
}

std::string* lean_host::nameAt(const char*& at) {
    const int device = readNumber(at);
    const int database = readNumber(at);
    const int index = readNumber(at);
    return name(device, database, index);
}

char* lean_host::sendCommand(const char* text, int code) {
    // Answers live here, so a reply given back (code 5) needs nothing done.
    if (code != KOVO_CODE_COMMAND || text == nullptr) {
        return nullptr;
    }
    ++commands_;
    if (recording_ != nullptr) {
        recording_->emplace_back(text);
    }
    const char verb[2] = {text[0], text[0] != '\0' ? text[1] : '\0'};
    if (verb[0] == 'P') {
        return &status_;  // PS, PI, PR: a status
    }
    if (verb[0] == 'R' && verb[1] == 'N') {
        const char* at = text + 3;
        std::string* found = nameAt(at);
        return &(found != nullptr ? *found : none_)[0];
    }
    if (verb[0] == 'R' && verb[1] == 'M') {
        const char* at = text + 3;
        std::string* found = nameAt(at);
        const char* end = std::strrchr(at, '\'');
        if (found != nullptr && *at == '\'' && end != nullptr && end > at) {
            found->assign(at + 1, end);
        }
        return nullptr;
    }
    if (verb[0] == 'T' && verb[1] == 'G') {
        for (auto& get : gets_) {
            if (get.first == text) {
                return &get.second[0];
            }
        }
        return &none_[0];
    }
    if (verb[0] == 'S' && verb[1] == 'D' && text[2] == ' ' && text[3] == '\'') {
        const char* end = std::strrchr(text + 4, '\'');
        const auto found =
            end == nullptr ? devices_.end() : devices_.find(std::string(text + 4, end));
        return found == devices_.end() ? nullptr : &found->second[0];
    }
    return nullptr;
}

}  // namespace kovo_bench
