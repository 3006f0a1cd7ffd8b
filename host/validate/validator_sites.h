// The site variants a validation runs on: the site as given, and copies of it
// with empty settings, odd values, long lists, stored names holding quotes, and
// database sizes of 0, 1, 4096 and an absurd one.
#pragma once

#include <string>
#include <vector>

namespace kovo_host {

struct site_variant {
    std::string name;  // "base", "empty-settings", ...
    std::string dir;   // absolute
};

// Writes the variants of baseSite into outDir/sites/ (base itself is used as
// it is); false with a message when the base cannot be read or a copy written.
bool writeSiteVariants(const std::string& baseSite, const std::string& outDir,
                       std::vector<site_variant>& variants, std::string& error);

}  // namespace kovo_host
