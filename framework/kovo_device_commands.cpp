// Timer, device and database commands: ET, RR, RU, RN, RM, SD, IW.
#include "kovo_command_text.h"
#include "kovo_script_helper.h"

using kovo_command_text::decimal;
using kovo_command_text::flag;
using kovo_command_text::quoted;

namespace {
// The longest text an IW command is meant to carry; a longer one is only warned about.
constexpr unsigned maxInfoText = 256;
}  // namespace

void kovo_script_helper::timerStart(int timerId, int intervalMs) {
    kovo_string text = kovo_string("ET ") + decimal(timerId);
    // An interval of 0 is the stop command.
    if (intervalMs != 0) {
        text += " ";
        text += decimal(intervalMs);
    }
    send(text);
}

void kovo_script_helper::timerStop(int timerId) {
    send(kovo_string("ET ") + decimal(timerId));
}

void kovo_script_helper::routerRegister(int device, int second, int third, bool add) {
    kovo_string text =
        kovo_string("RR ") + decimal(device) + " " + decimal(second) + " " + decimal(third);
    if (add) {
        text += " 'ADD'";
    }
    send(text);
}

void kovo_script_helper::routerUnregister(int device) {
    send(kovo_string("RU ") + decimal(device));
}

void kovo_script_helper::databaseGetName(int device, int database, int index, kovo_string& out) {
    if (hostLink == nullptr) {
        return;
    }
    char* answer =
        send(kovo_string("RN ") + decimal(device) + " " + decimal(database) + " " + decimal(index));
    if (answer != nullptr) {
        out = answer;
    }
    // Given back in every case, a null answer included: the host counts on it.
    hostLink->sendCommand(answer, KOVO_CODE_RELEASE);
}

void kovo_script_helper::databaseModifyName(int device, int database, int index,
                                            const kovo_string& name, bool flagValue) {
    const kovo_string text = kovo_string("RM ") + decimal(device) + " " + decimal(database) + " " +
                             decimal(index) + " " + quoted(name) + " " + flag(flagValue);
    send(text);
    debug(text + "\n");
}

bool kovo_script_helper::deviceLookup(const kovo_string& name, int* first, int* second) {
    if (first != nullptr) {
        *first = 0;
    }
    if (second != nullptr) {
        *second = 0;
    }
    char* answer = send(kovo_string("SD ") + quoted(name));
    if (answer == nullptr) {
        return false;
    }
    const kovo_string reply = takeReply(answer);
    const decodeKOVOString words(reply.c_str(), '\'');
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
    send(kovo_string("IW ") + decimal(device) + " " + quoted(text) + " " + decimal(index) + " " +
         flag(flagValue));
}
