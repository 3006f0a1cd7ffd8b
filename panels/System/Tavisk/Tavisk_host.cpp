// Tavisk's other host entry points: the idle timer, parent queries, revertives.
#include "Tavisk.h"

void Tavisk::timerEvent(int timerId) {
    timerStop(timerId);
    if (timerId == idleTimer) {
        clearSelection();
    }
}

kovo_string Tavisk::parentQuery(kovo_parent_query& query) {
    const kovo_string key = query.key();
    if (key == "_events") {
        return "notify=*";
    }
    if (key == "_commands") {
        return "myParam=[value]";
    }
    // "return" (with "all" or any other value) and everything else: nothing.
    return kovo_string();
}

int Tavisk::revertiveEvent(kovo_revertive_event&) {
    return 0;
}
