// The chain of debug captures, the same on every platform: the capture begun
// last takes what the plug-ins write to their debug output until it ends. How
// the text reaches catchDebugText is the platform's part.
#include "kovo_os_debug_capture.h"

#include <algorithm>

#include "kovo_os_host.h"

namespace kovo_os {

namespace {
debug_capture* innermost = nullptr;
}  // namespace

bool catchDebugText(const char* text, std::size_t length) {
    if (innermost == nullptr) {
        return false;
    }
    // A plug-in that writes without end between two looks must not take all
    // memory: past the bound the rest is dropped, and the drain says so.
    std::string& caught = innermost->caught_;
    const std::size_t room =
        debug_capture::maxCaught - std::min(caught.size(), debug_capture::maxCaught);
    if (length > room) {
        innermost->dropped_ = true;
    }
    caught.append(text, std::min(length, room));
    return true;
}

debug_capture::~debug_capture() {
    end();
}

bool debug_capture::begin() {
    if (active_) {
        return true;
    }
    if (innermost == nullptr && !startCatchingDebugText()) {
        return false;
    }
    outer_ = innermost;
    innermost = this;
    active_ = true;
    return true;
}

std::string debug_capture::drain() {
    std::string text;
    text.swap(caught_);
    if (dropped_) {
        dropped_ = false;
        text += "\n(the rest of this debug output was dropped: more than " +
                std::to_string(maxCaught >> 20) + " MiB between two looks)\n";
    }
    return text;
}

void debug_capture::end() {
    if (!active_) {
        return;
    }
    active_ = false;
    // Captures end in the reverse order of their beginning; one that ends early
    // only leaves the chain.
    for (debug_capture** link = &innermost; *link != nullptr; link = &(*link)->outer_) {
        if (*link == this) {
            *link = outer_;
            break;
        }
    }
    outer_ = nullptr;
    if (innermost == nullptr) {
        stopCatchingDebugText();
    }
}

}  // namespace kovo_os
