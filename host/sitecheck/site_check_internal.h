// What the groups of site checks share: the site as read, and the findings.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "settings_file.h"
#include "site_areas.h"
#include "site_check.h"
#include "site_directory.h"

namespace kovo_host {

// A database some plug-in reads, and the smallest size that works for it.
struct database_need {
    int minimum = 1;
    std::string user;  // who reads it, for the finding
    // An editor lists its entries from the size (the names editor's long names);
    // every other size no plug-in reads: it writes there whatever the size says.
    bool listed = false;
};

struct site_check_context {
    site_directory site;
    std::string systemDir;  // <site>/config/system
    settings_file workstations;
    settings_file objects;
    std::vector<area_settings> areas;
    // device -> database -> need; filled by the area checks, read by the device checks.
    std::map<int, std::map<int, database_need>> needs;
    std::vector<site_finding> findings;

    std::string relative(const std::string& path) const;
    void error(const std::string& path, int line, std::string problem, std::string effect);
    void warning(const std::string& path, int line, std::string problem, std::string effect);
    void need(int device, int database, int minimum, const std::string& user, bool listed = false);
};

void checkSettingsFile(site_check_context& c, const settings_file& file, const char* missingEffect);
void checkWorkstations(site_check_context& c);
void checkShutdownLists(site_check_context& c);
void checkAreas(site_check_context& c);
void checkDeviceFiles(site_check_context& c);
void checkDatabaseSizes(site_check_context& c);
void checkNameFiles(site_check_context& c);

// A text for a finding: the value in double quotes.
std::string inQuotes(const std::string& text);

}  // namespace kovo_host
