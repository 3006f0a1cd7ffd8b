// A settings file of the site (workstations.xml, object_settings.xml) as the
// configuration store reads it, with the line of every group and entry, so a
// finding can point at the place to mend.
#pragma once

#include <string>
#include <vector>

namespace kovo_host {

struct settings_entry {
    std::string id;
    std::string value;  // empty when the entry has no "value"
    int line = 0;
};

struct settings_group {
    std::string id;
    int line = 0;
    std::vector<settings_entry> entries;  // element children, in document order
};

struct settings_file {
    std::string path;
    bool exists = false;
    bool parsed = false;  // false for a missing file and for XML that does not parse
    std::string error;    // the parse error
    int errorLine = 0;
    // Every element child of the root that has an "id", in document order; a
    // lookup sees only the first of an id (see group()).
    std::vector<settings_group> groups;

    // The group a lookup opens: the first with this id; null when there is none.
    const settings_group* group(const std::string& id) const;
    // The value a lookup returns: that of the group's first entry with this id.
    const settings_entry* entry(const std::string& groupId, const std::string& id) const;
    std::string value(const std::string& groupId, const std::string& id) const;
};

settings_file readSettingsFile(const std::string& path);

}  // namespace kovo_host
