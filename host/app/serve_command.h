// kovo-host serve: the browser panel emulator.
#pragma once

#include <string>
#include <vector>

#include "simulator.h"

namespace kovo_host {

// args: what follows "serve" after the common options were taken out.
int runServe(const std::vector<std::string>& args, const simulator_options& options);

}  // namespace kovo_host
