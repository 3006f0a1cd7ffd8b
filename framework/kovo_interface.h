// The binary interface between the panel host and a panel script plug-in.
// Both sides compile against this one header; its layout is fixed and asserted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kovo_os.h"

// Host link: owned by the host, handed to the script at load. Only sendCommand
// (the second slot of the table, in both the Itanium and the MSVC ABI) is ever
// called by a script. There is deliberately no virtual destructor: the host
// creates and destroys its links itself.
class kovo_host_link {
  public:
    // Reserved for the host; a script never calls it.
    virtual void hostReserved() {}
    // code 0: text is a command; the result is a reply buffer owned by the host,
    //         a status (non-zero is success) or ignored, depending on the command.
    // code 5: text is a reply buffer the host returned earlier (may be null),
    //         given back; the host frees it and the script must not touch it again.
    virtual char* sendCommand(const char* text, int code) = 0;

  protected:
    kovo_host_link() = default;
    kovo_host_link(const kovo_host_link&) = default;
    kovo_host_link& operator=(const kovo_host_link&) = default;
    ~kovo_host_link() = default;
};

// Codes of sendCommand.
enum kovo_command_code : int { KOVO_CODE_COMMAND = 0, KOVO_CODE_RELEASE = 5 };

// Event types of hostCallback.
enum kovo_event_type : int {
    KOVO_EVENT_REVERTIVE = 1,     // data: host record, not read
    KOVO_EVENT_CONTROL = 2,       // data: kovo_control_record*
    KOVO_EVENT_PARENT_QUERY = 3,  // data: const char* query text (may be null); returns a reply
    KOVO_EVENT_TIMER = 4,         // data: the timer id itself, carried in the pointer
    KOVO_EVENT_RELEASE = 5,       // data: a reply returned by an earlier type-3 call, or null
    KOVO_EVENT_DATABASE = 6,      // data: kovo_database_record*
    KOVO_EVENT_HOST_NOTICE = 7,   // data: host record, not read
};

// The interface the host sees of a script.
class kovo_client_callback {
  public:
    virtual ~kovo_client_callback() {}
    // Returns null, except for type 3: a reply buffer allocated by the script,
    // which the host hands back with type 5 when done and never frees itself.
    virtual char* hostCallback(void* data, int eventType) = 0;
};

// key.part.part=value split in place. The host builds records of exactly this
// layout for the event text of control events. Unset text pointers point to one
// shared empty text, never to null.
struct kovo_key_value {
    static constexpr int maxParts = 32;

    const char* key;
    const char* parts[maxParts];
    const char* value;
    std::int32_t count;  // entries of parts in use, 0 to 32
    bool hasValue;       // an "=" was found
    char* buffer;        // private copy of the text, owned; the pointers above point into it

    explicit kovo_key_value(const char* text = nullptr);
    ~kovo_key_value();
    kovo_key_value(const kovo_key_value&) = delete;
    kovo_key_value& operator=(const kovo_key_value&) = delete;
};

// Event type 2. Belongs to the host and lives for one call.
struct kovo_control_record {
    void* hostReserved1;  // not read by scripts
    void* hostReserved2;  // not read by scripts
    const char* panelId;
    const char* controlId;
    kovo_key_value* eventText;
};

// Event type 6. Belongs to the host and lives for one call.
struct kovo_database_record {
    std::int32_t device;
    std::int32_t database;
    std::int32_t index;
    std::int32_t hostReserved;  // not read by scripts
    const char* name;
};

static_assert(offsetof(kovo_key_value, key) == 0, "key first");
static_assert(offsetof(kovo_key_value, parts) == sizeof(void*), "parts after key");
static_assert(offsetof(kovo_key_value, value) == 33 * sizeof(void*), "value after 32 parts");
static_assert(offsetof(kovo_key_value, count) == 34 * sizeof(void*), "count after value");
static_assert(offsetof(kovo_key_value, hasValue) == 34 * sizeof(void*) + 4, "hasValue after count");
static_assert(offsetof(kovo_key_value, buffer) == 35 * sizeof(void*) + (sizeof(void*) == 4 ? 4 : 0),
              "buffer aligned after hasValue");
static_assert(offsetof(kovo_control_record, panelId) == 2 * sizeof(void*), "panel id third");
static_assert(offsetof(kovo_control_record, controlId) == 3 * sizeof(void*), "control id fourth");
static_assert(offsetof(kovo_control_record, eventText) == 4 * sizeof(void*), "event text fifth");
static_assert(offsetof(kovo_database_record, device) == 0, "device first");
static_assert(offsetof(kovo_database_record, database) == 4, "database second");
static_assert(offsetof(kovo_database_record, index) == 8, "index third");
static_assert(offsetof(kovo_database_record, name) == 16, "name after the unread field");

// The one export of every plug-in: creates the script with the host link and the
// instance string, or returns null when no object could be allocated.
extern "C" {
typedef kovo_client_callback* (*kovo_load_function)(kovo_host_link* link, const char* instance);
}
#define KOVO_LOAD_FUNCTION_NAME "load_kovo_client_script"
