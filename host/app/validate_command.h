// kovo-host validate: the command line of the validator.
#pragma once

#include <string>
#include <vector>

#include "simulator.h"

namespace kovo_host {

// args: what follows "validate", the common host options already taken out.
int validateCommand(const std::vector<std::string>& args, const simulator_options& options);

}  // namespace kovo_host
