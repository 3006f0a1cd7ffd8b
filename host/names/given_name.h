// A name given from outside the panels (a row of a names import, a rename in
// the emulator), checked and made what the names editor itself would store:
// one home for both, so the emulator stores nothing an import would refuse.
#pragma once

#include <string>

namespace kovo_host {

struct given_name {
    std::string stored;    // the name as it is stored
    bool retyped = false;  // the typed-text rule changed it
};

// What the typed-text rule does, as a report says it.
extern const char typedTextRule[];

// Empty when the name can be stored, name.stored then holding it; otherwise
// what is wrong: not UTF-8 text, a zero byte, or longer than the names editor
// keeps in that database (editorLimit in bytes; 0: the editor sets none). A '
// becomes a backtick and a control character a space, as typed on a panel.
// Messages quote at most the first 80 bytes of the name.
std::string checkGivenName(const std::string& given, int editorLimit, int database,
                           given_name& name);

}  // namespace kovo_host
