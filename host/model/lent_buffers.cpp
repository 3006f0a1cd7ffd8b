#include "lent_buffers.h"

#include <cstring>

namespace kovo_host {

char* lent_buffers::lend(const std::string& text, const std::string& command) {
    std::unique_ptr<char[]> data(new char[text.size() + 1]);
    std::memcpy(data.get(), text.c_str(), text.size() + 1);
    char* pointer = data.get();
    released_.erase(pointer);
    lent_[pointer] = buffer{std::move(data), command};
    return pointer;
}

lent_buffers::give_back lent_buffers::giveBack(const char* pointer, std::string& command) {
    command.clear();
    if (pointer == nullptr) {
        return give_back::null_pointer;
    }
    auto found = lent_.find(pointer);
    if (found != lent_.end()) {
        command = found->second.command;
        released_[pointer] = command;
        quarantine_.push_back(std::move(found->second.data));
        lent_.erase(found);
        return give_back::ok;
    }
    auto late = expired_.find(pointer);
    if (late != expired_.end()) {
        command = late->second.command;
        released_[pointer] = command;
        quarantine_.push_back(std::move(late->second.data));
        expired_.erase(late);
        return give_back::late;
    }
    auto twice = released_.find(pointer);
    if (twice != released_.end()) {
        command = twice->second;
        return give_back::twice;
    }
    return give_back::foreign;
}

std::vector<std::string> lent_buffers::endCallback() {
    std::vector<std::string> kept;
    for (auto& entry : lent_) {
        kept.push_back(entry.second.command);
        expired_[entry.first] = std::move(entry.second);
    }
    lent_.clear();
    quarantine_.clear();
    return kept;
}

}  // namespace kovo_host
