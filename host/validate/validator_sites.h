// The site variants a validation runs on: the site as given, and copies of it
// with empty settings, odd values, long lists, stored names holding quotes,
// database sizes of 0, 1, 4096 and an absurd one, no sizes but those of the
// routers' long names, and layouts of the site's own.
#pragma once

#include <string>
#include <vector>

namespace kovo_host {

struct site_variant {
    std::string name;  // "base", "empty-settings", ...
    std::string dir;   // absolute
};

// "base" and the names of the variants, in the order runs use them (run R uses
// variant R mod their number).
std::vector<std::string> siteVariantNames();

// Writes the variants of baseSite into outDir/sites/ (base itself is used as
// it is; the plug-ins' layouts are read under layoutRoot); false with a
// message when the base cannot be read or a copy written.
bool writeSiteVariants(const std::string& baseSite, const std::string& layoutRoot,
                       const std::string& outDir, std::vector<site_variant>& variants,
                       std::string& error);

// The layouts a site carries for a plug-in ("Tavisk"): <site>/layouts/<plug-in>,
// or "" when the site has none (or its path holds a blank, which a load line
// cannot carry). A plug-in loaded with it as its instance reads its layouts there.
std::string siteLayoutFolder(const std::string& site, const std::string& plugin);

}  // namespace kovo_host
