// How the host's views and checks ask for a stored name without holding the
// store: (device, database, index) -> the name, if one is stored.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kovo_host {

using name_lookup = std::function<std::optional<std::string>(int, int, int)>;

}  // namespace kovo_host
