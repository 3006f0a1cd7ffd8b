// A plug-in whose export creates nothing, as when the allocation fails.
#include "kovo_interface.h"

extern "C" KOVO_EXPORT_SYMBOL kovo_client_callback* load_kovo_client_script(kovo_host_link*,
                                                                            const char*) {
    return nullptr;
}
