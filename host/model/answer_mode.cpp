#include "answer_mode.h"

#include <utility>

namespace kovo_host {

bool parseAnswerMode(const std::string& word, answer_mode& mode) {
    static const std::pair<const char*, answer_mode> modes[] = {
        {"normal", answer_mode::normal}, {"none", answer_mode::none},
        {"empty", answer_mode::empty},   {"huge", answer_mode::huge},
        {"quote", answer_mode::quote},   {"nonnumber", answer_mode::nonnumber},
    };
    for (const auto& known : modes) {
        if (word == known.first) {
            mode = known.second;
            return true;
        }
    }
    return false;
}

}  // namespace kovo_host
