// Options shared by the subcommands of kovo-host.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "simulator.h"

namespace kovo_host {

// Reads "--site DIR", "--db FILE", "--plugins DIR", "--layouts DIR", "--state DIR",
// "--fresh-db", "--no-capture" out of args (removing them); false with a message on a bad option.
bool takeCommonOptions(std::vector<std::string>& args, simulator_options& options,
                       std::string& error);

}  // namespace kovo_host
