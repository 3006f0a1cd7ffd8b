// kovo-host names export [--device N] [--database D]
// kovo-host names import FILE.csv [--dry-run]
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "simulator.h"

namespace kovo_host {

// args: what follows "names", the common options (--site, --db, --state) taken
// out already. Exit status: 0 done, 1 a bad row or a failed store (nothing is
// stored), 2 a usage error, not a site or no store.
int runNames(const std::vector<std::string>& args, const simulator_options& options,
             std::ostream& out, std::ostream& err);

}  // namespace kovo_host
