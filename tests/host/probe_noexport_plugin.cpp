// A library that is no plug-in: it lacks the export.
#include "kovo_os.h"

extern "C" KOVO_EXPORT_SYMBOL int kovo_probe_not_a_plugin() {
    return 42;
}
