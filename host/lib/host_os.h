// The host's operating-system services live in the platform layer
// (kovo_os_host.h, namespace kovo_os). This header keeps the names under which
// tests outside the host still use them.
#pragma once

#include "kovo_os_host.h"

namespace kovo_host {

using kovo_os::plugin_library;
using kovo_os::setEnvironment;
using kovo_os::stderr_capture;

}  // namespace kovo_host
