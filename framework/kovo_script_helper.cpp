// Construction, destruction and the event dispatcher: the one translation unit
// that every plug-in pulls in, so it also carries the identification text.
#include "kovo_script_helper.h"

#include <cstdint>
#include <cstring>

#include "kovo_alarm_actions.h"
#include "kovo_text.h"

// Read by tools that inspect a plug-in file, never by code. External C linkage
// (hidden, so not exported) lets every linker be told to keep it: KOVO_KEEP_DATA
// and KOVO_KEEP_SYMBOL keep it through optimisation and linking, and living
// here keeps it through static linking.
extern "C" {
extern const char kovo_identification_text[];
KOVO_KEEP_DATA const char kovo_identification_text[] =
    "KOVO_SIG,name=kovo_script_helper,type=LIB,version=4.8.6.0,date=16/06/2017,"
    "author=kovo_panels";
}
KOVO_KEEP_SYMBOL("kovo_identification_text")

namespace {

// The host carries a timer id in the pointer itself. Only the low 32 bits are
// the id, whether the host widened it with or without sign extension.
int timerIdFromPointer(const void* data) {
    const auto bits = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data));
    return static_cast<int>(bits);
}

// The type-3 reply: a fresh new[] buffer the host hands back with type 5; an
// empty answer is no buffer at all.
char* parentReplyBuffer(const kovo_string& reply) {
    const unsigned length = reply.length();
    if (length == 0) {
        return nullptr;
    }
    char* buffer = new char[length + 1];
    std::memcpy(buffer, textOf(reply), length);
    buffer[length] = '\0';
    return buffer;
}
}  // namespace

kovo_script_helper::kovo_script_helper(kovo_host_link* link, const char* instance)
    : hostLink(link), instanceString(), alarmEnabled(false) {
    instanceString = instance;
}

kovo_script_helper::~kovo_script_helper() {
    if (hostLink != nullptr) {
        hostLink->sendCommand("AS", KOVO_CODE_COMMAND);
    }
}

char* kovo_script_helper::hostCallback(void* data, int eventType) {
    switch (eventType) {
        case KOVO_EVENT_REVERTIVE: {
            kovo_revertive_event event(data);
            revertiveEvent(event);  // the result is not the host's business
            return nullptr;
        }
        case KOVO_EVENT_CONTROL: {
            kovo_control_event event(static_cast<const kovo_control_record*>(data));
            if (!alarmEnabled || !preHandleAlarmButtons(*this, event)) {
                controlEvent(event);
            }
            return nullptr;
        }
        case KOVO_EVENT_PARENT_QUERY: {
            const kovo_key_value parsed(static_cast<const char*>(data));
            kovo_parent_query query(&parsed);
            return parentReplyBuffer(parentQuery(query));
        }
        case KOVO_EVENT_TIMER:
            timerEvent(timerIdFromPointer(data));
            return nullptr;
        case KOVO_EVENT_RELEASE:
            delete[] static_cast<char*>(data);
            return nullptr;
        case KOVO_EVENT_DATABASE: {
            kovo_database_event event(static_cast<const kovo_database_record*>(data));
            databaseEvent(event);
            return nullptr;
        }
        case KOVO_EVENT_HOST_NOTICE: {
            kovo_host_notice notice(data);
            hostNotice(notice);
            return nullptr;
        }
        default:
            return nullptr;
    }
}

void kovo_script_helper::hostNotice(kovo_host_notice&) {}

void kovo_script_helper::databaseEvent(kovo_database_event&) {}

char* kovo_script_helper::send(const char* text) {
    if (hostLink == nullptr) {
        return nullptr;
    }
    return hostLink->sendCommand(text, KOVO_CODE_COMMAND);
}

kovo_string kovo_script_helper::takeReply(char* reply) {
    kovo_string copy(reply);
    // From here on the buffer is the host's again.
    if (hostLink != nullptr) {
        hostLink->sendCommand(reply, KOVO_CODE_RELEASE);
    }
    return copy;
}
