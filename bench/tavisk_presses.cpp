#include "tavisk_presses.h"

#include <filesystem>

namespace kovo_bench {

tavisk_presses::tavisk_presses()
    : scratch_(1, 0),
      sim_(simulatorOptions((std::filesystem::path(sourceDir()) / "sites" / "demo").string(),
                            scratch_.dir() + "/store.sqlite")) {
    kovo_host::host_error failed;
    if (!sim_.load("ws", "Tavisk", "", false, 12, failed)) {
        error_ = failed.message;
        return;
    }
    // Two presses select and deselect the workstation: count what they send.
    const std::uint64_t before = sim_.log().nextSequence();
    for (int i = 0; i < 2 && error_.empty(); ++i) {
        if (!sim_.press("ws", "1", "WS_01", failed)) {
            error_ = failed.message;
        }
    }
    long long commands = 0;
    for (const kovo_host::transcript_entry& entry : sim_.log().since(before)) {
        commands += entry.kind == kovo_host::entry_kind::command ? 1 : 0;
    }
    commandsPerPress_ = static_cast<double>(commands) / 2.0;
}

tavisk_presses::~tavisk_presses() {
    sim_.unloadAll();
}

void tavisk_presses::fillWindow() {
    kovo_host::host_error error;
    std::size_t kept = 0;
    // An even number of presses, so the workstation ends where it began.
    while (entriesKept() > kept) {
        kept = entriesKept();
        sim_.press("ws", "1", "WS_01", error);
        sim_.press("ws", "1", "WS_01", error);
    }
}

}  // namespace kovo_bench
