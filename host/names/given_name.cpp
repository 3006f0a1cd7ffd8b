#include "given_name.h"

#include "kovo_typed_text.h"
#include "text.h"

namespace kovo_host {

const char typedTextRule[] =
    "as typed on a panel, a ' is stored as a backtick and a control character as a space";

std::string checkGivenName(const std::string& given, int editorLimit, int database,
                           given_name& name) {
    const std::size_t invalid = invalidUtf8At(given);
    if (invalid != std::string::npos) {
        return "the name is not UTF-8 text (byte " + std::to_string(invalid + 1) + " of " +
               std::to_string(given.size()) + ")";
    }
    if (given.find('\0') != std::string::npos) {
        return "the name holds a zero byte";
    }
    name.stored = hostSafeText(kovo_string(given.c_str())).c_str();
    name.retyped = name.stored != given;
    if (editorLimit > 0 && name.stored.size() > static_cast<std::size_t>(editorLimit)) {
        return "the name " + quotedStart(name.stored) + " is " +
               std::to_string(name.stored.size()) + " bytes long; the names editor keeps at most " +
               std::to_string(editorLimit) + " in database " + std::to_string(database);
    }
    return std::string();
}

}  // namespace kovo_host
