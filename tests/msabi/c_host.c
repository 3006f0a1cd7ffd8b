/* A panel host in plain C: it loads one plug-in DLL, creates the script with
   the export, sends the events named on the command line through slot 1 of the
   script's table, destroys the script through slot 0 (the deleting destructor,
   flag 1) and prints every command the script sent through slot 1 of the host
   link's table. Written in C, it has no C++ ABI of its own: it finds the
   plug-in's entry points only where the Microsoft ABI puts them, so a DLL laid
   out otherwise fails here.

   Usage: kovo_c_host PLUGIN.dll INSTANCE EVENT...
     control PANEL CONTROL TEXT   type 2 (TEXT split as key.part=value)
     timer ID                     type 4
     query TEXT                   type 3, the reply printed and handed back with type 5
     database DEVICE DB INDEX NAME   type 6
     other TYPE                   any other type with a null pointer
   Exit status 0 when the script kept the protocol, 1 when not, 2 on bad use. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

/* On x64 Windows every function, member or not, takes its first arguments in
   the same registers, so a member function is called as a plain function
   whose first parameter is the object. */
typedef struct host_link host_link;
typedef void (*link_reserved_fn)(host_link* self);
typedef char* (*send_command_fn)(host_link* self, const char* text, int code);
struct link_table {
    link_reserved_fn reserved;   /* slot 0: never called by a script */
    send_command_fn sendCommand; /* slot 1 */
};
struct host_link {
    const struct link_table* table;
    int commands;
    int faults;
    int stopped; /* "AS" received */
    int inCall;  /* a call into the script is running */
};

typedef struct script script;
typedef void* (*deleting_destructor_fn)(script* self, unsigned flags);
typedef char* (*host_callback_fn)(script* self, void* data, int type);
struct script {
    void* const* table; /* slot 0: deleting destructor, slot 1: hostCallback */
};
typedef script* (*load_fn)(host_link* link, const char* instance);

/* The event records, laid out as the framework's kovo_interface.h asserts. */
enum { maxParts = 32 };
typedef struct {
    const char* key;
    const char* parts[maxParts];
    const char* value;
    int32_t count;
    char hasValue;
    char* buffer;
} key_value;
typedef struct {
    void* reserved1;
    void* reserved2;
    const char* panelId;
    const char* controlId;
    key_value* eventText;
} control_record;
typedef struct {
    int32_t device;
    int32_t database;
    int32_t index;
    int32_t reserved;
    const char* name;
} database_record;

static const char emptyText[] = "";

static void fault(host_link* link, const char* what) {
    printf("FAULT: %s\n", what);
    ++link->faults;
}

static void linkReserved(host_link* self) {
    fault(self, "the script called slot 0 of the host link");
}

/* Every command is answered with null: a host with no answer, which a script
   must take as an empty reply. */
static char* sendCommand(host_link* self, const char* text, int code) {
    ++self->commands;
    if (!self->inCall) {
        fault(self, "a command outside any call into the script");
    }
    if (self->stopped) {
        fault(self, "a command after AS");
    }
    if (code == 5) {
        printf("  release %s\n", text == NULL ? "null" : "a buffer never lent");
        if (text != NULL) {
            fault(self, "code 5 with a buffer this host never lent");
        }
        return NULL;
    }
    printf("  [%d] %s\n", code, text == NULL ? "(null)" : text);
    if (code != 0 || text == NULL) {
        fault(self, "a command with a code other than 0 or 5, or without text");
    } else if (strcmp(text, "AS") == 0) {
        self->stopped = 1;
    }
    return NULL;
}

static const struct link_table linkTable = {linkReserved, sendCommand};

/* key.part.part=value split in place, as the framework's own parser does. */
static void splitKeyValue(char* text, key_value* kv) {
    int i;
    char* at;
    memset(kv, 0, sizeof *kv);
    kv->key = kv->value = emptyText;
    for (i = 0; i < maxParts; ++i) {
        kv->parts[i] = emptyText;
    }
    kv->key = text;
    for (at = text; *at != '\0' && kv->count < maxParts; ++at) {
        if (*at == '.') {
            *at = '\0';
            kv->parts[kv->count++] = at + 1;
        } else if (*at == '=') {
            *at = '\0';
            kv->hasValue = 1;
            kv->value = at + 1;
            break;
        }
    }
}

static char* callback(host_link* link, script* s, void* data, int type) {
    host_callback_fn hostCallback = (host_callback_fn)s->table[1];
    char* reply;
    link->inCall = 1;
    reply = hostCallback(s, data, type);
    link->inCall = 0;
    return reply;
}

/* Sends the event at argv[*at], moving *at past its arguments; 0 on bad use. */
static int sendEvent(host_link* link, script* s, int argc, char** argv, int* at) {
    const char* kind = argv[*at];
    const int left = argc - *at - 1;
    char* reply = NULL;
    if (strcmp(kind, "control") == 0 && left >= 3) {
        key_value text;
        control_record record = {NULL, NULL, argv[*at + 1], argv[*at + 2], &text};
        printf("control %s %s %s\n", argv[*at + 1], argv[*at + 2], argv[*at + 3]);
        splitKeyValue(argv[*at + 3], &text);
        reply = callback(link, s, &record, 2);
        *at += 4;
    } else if (strcmp(kind, "timer") == 0 && left >= 1) {
        printf("timer %s\n", argv[*at + 1]);
        reply = callback(link, s, (void*)(intptr_t)atoi(argv[*at + 1]), 4);
        *at += 2;
    } else if (strcmp(kind, "query") == 0 && left >= 1) {
        printf("query %s\n", argv[*at + 1]);
        reply = callback(link, s, argv[*at + 1], 3);
        printf("  reply %s\n", reply == NULL ? "null" : reply);
        if (reply != NULL && callback(link, s, reply, 5) != NULL) {
            fault(link, "type 5 answered with a pointer");
        }
        reply = NULL;
        *at += 2;
    } else if (strcmp(kind, "database") == 0 && left >= 4) {
        database_record record = {atoi(argv[*at + 1]), atoi(argv[*at + 2]), atoi(argv[*at + 3]), 0,
                                  argv[*at + 4]};
        printf("database %s %s %s %s\n", argv[*at + 1], argv[*at + 2], argv[*at + 3],
               argv[*at + 4]);
        reply = callback(link, s, &record, 6);
        *at += 5;
    } else if (strcmp(kind, "other") == 0 && left >= 1) {
        printf("other %s\n", argv[*at + 1]);
        reply = callback(link, s, NULL, atoi(argv[*at + 1]));
        *at += 2;
    } else {
        return 0;
    }
    if (reply != NULL) {
        fault(link, "a pointer returned for an event other than a parent query");
    }
    return 1;
}

int main(int argc, char** argv) {
    host_link link = {&linkTable, 0, 0, 0, 0};
    char path[MAX_PATH + 1] = {0};
    HMODULE module;
    load_fn load;
    script* s;
    int at = 3;
    if (argc < 3) {
        fprintf(stderr, "usage: kovo_c_host PLUGIN.dll INSTANCE EVENT...\n");
        return 2;
    }
    /* The plug-in's libraries are looked for beside it: its full path says where. */
    if (GetFullPathNameA(argv[1], MAX_PATH, path, NULL) - 1 >= MAX_PATH - 1) {
        fprintf(stderr, "kovo_c_host: bad path %s\n", argv[1]);
        return 2;
    }
    module = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == NULL) {
        printf("FAULT: cannot load %s (error %lu)\n", argv[1], (unsigned long)GetLastError());
        return 1;
    }
    load = (load_fn)(void*)GetProcAddress(module, "load_kovo_client_script");
    if (load == NULL) {
        printf("FAULT: no export load_kovo_client_script\n");
        return 1;
    }
    printf("load %s\n", argv[2]);
    link.inCall = 1;
    s = load(&link, argv[2]);
    link.inCall = 0;
    if (s == NULL) {
        printf("FAULT: the export returned null\n");
        return 1;
    }
    while (at < argc) {
        if (!sendEvent(&link, s, argc, argv, &at)) {
            fprintf(stderr, "kovo_c_host: bad event at %s\n", argv[at]);
            return 2;
        }
    }
    printf("destroy\n");
    link.inCall = 1;
    ((deleting_destructor_fn)s->table[0])(s, 1);
    link.inCall = 0;
    if (!link.stopped) {
        fault(&link, "no AS from the destructor in slot 0");
    }
    FreeLibrary(module);
    printf("%d commands, %d faults\n", link.commands, link.faults);
    return link.faults == 0 ? 0 : 1;
}
