// kovo-host check-site [DIR] [--json] [--strict]
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "simulator.h"

namespace kovo_host {

// args: what follows "check-site", the common options taken out already. The
// exit status: 0 clean, 1 errors (or warnings with --strict), 2 not a site.
int runCheckSite(const std::vector<std::string>& args, const simulator_options& options,
                 std::ostream& out, std::ostream& err);

}  // namespace kovo_host
