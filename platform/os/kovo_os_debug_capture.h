// Between the common chain of debug captures and the platform code that feeds it.
#pragma once

#include <cstddef>

namespace kovo_os {

// Appends text to the innermost capture; false when no capture is active (the
// text then goes where it would have gone without the host).
bool catchDebugText(const char* text, std::size_t length);

// The platform's catching, on while at least one capture is active.
bool startCatchingDebugText();
void stopCatchingDebugText();

}  // namespace kovo_os
