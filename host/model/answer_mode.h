// How the host answers the commands that return a text ("TG", "XI", "RN",
// "SD"): from its model, or with a hostile answer of the given sort. The
// session line "answers MODE" names one.
#pragma once

#include <string>

namespace kovo_host {

enum class answer_mode { normal, none, empty, huge, quote, nonnumber };

// "normal", "none", "empty", "huge", "quote", "nonnumber"; false for any other word.
bool parseAnswerMode(const std::string& word, answer_mode& mode);

}  // namespace kovo_host
