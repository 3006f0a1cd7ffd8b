// Timer, device and database commands: ET, RR, RU, RN, RM, SD, IW.
#include "kovo_command_text.h"
#include "kovo_script_helper.h"
#include "kovo_text.h"

using kovo_command_text::builder;

namespace {
// The longest text an IW command is meant to carry; a longer one is only warned about.
constexpr unsigned maxInfoText = 256;
}  // namespace

void kovo_script_helper::timerStart(int timerId, int intervalMs) {
    builder text("ET");
    text.number(timerId);
    // An interval of 0 is the stop command.
    if (intervalMs != 0) {
        text.number(intervalMs);
    }
    send(text.c_str());
}

void kovo_script_helper::timerStop(int timerId) {
    builder text("ET");
    send(text.number(timerId).c_str());
}

void kovo_script_helper::routerRegister(int device, int second, int third, bool add) {
    builder text("RR");
    text.number(device).number(second).number(third);
    if (add) {
        text.literal(" 'ADD'");
    }
    send(text.c_str());
}

void kovo_script_helper::routerUnregister(int device) {
    builder text("RU");
    send(text.number(device).c_str());
}

void kovo_script_helper::databaseGetName(int device, int database, int index, kovo_string& out) {
    if (hostLink == nullptr) {
        return;
    }
    builder text("RN");
    char* answer = send(text.number(device).number(database).number(index).c_str());
    if (answer != nullptr) {
        out = answer;
    }
    // Given back in every case, a null answer included: the host counts on it.
    hostLink->sendCommand(answer, KOVO_CODE_RELEASE);
}

void kovo_script_helper::databaseModifyName(int device, int database, int index,
                                            const kovo_string& name, bool flagValue) {
    builder text("RM");
    text.number(device).number(database).number(index).quoted(name).flag(flagValue);
    send(text.c_str());
    // The one-string debug output, without making a string of the text first.
    kovo_os::debugOutput(text.literal("\n").c_str());
}

bool kovo_script_helper::deviceLookup(const kovo_string& name, int* first, int* second) {
    if (first != nullptr) {
        *first = 0;
    }
    if (second != nullptr) {
        *second = 0;
    }
    builder text("SD");
    char* answer = send(text.quoted(name).c_str());
    if (answer == nullptr) {
        return false;
    }
    const kovo_string reply = takeReply(answer);
    const decodeKOVOString words(textOf(reply), '\'');
    if (first != nullptr) {
        *first = kovo_string(words.tokens[0]).toInt();
    }
    if (second != nullptr) {
        *second = kovo_string(words.tokens[1]).toInt();
    }
    return true;
}

void kovo_script_helper::infoWrite(int device, const kovo_string& text, int index, bool flagValue) {
    if (text.length() > maxInfoText) {
        debug("The IW string is too long (max 256 chars)\n");
    }
    builder command("IW");
    send(command.number(device).quoted(text).number(index).flag(flagValue).c_str());
}
