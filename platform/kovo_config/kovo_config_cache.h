// Parsed configuration files, kept while they are unchanged on disk.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace kovo_config_store {

struct parsed_file {
    pugi::xml_document document;
    // The element children of the root that have an id, in the order of their
    // ids (stable: the first of an id comes first). The ids point into the
    // document, so none is copied.
    struct group_entry {
        const char* id;
        pugi::xml_node node;
    };
    std::vector<group_entry> groups;
    // Empty when the file parsed; otherwise the line for the debug output.
    std::string error;

    // The first group with this id; an empty node when there is none.
    pugi::xml_node group(const std::string& id) const;
};

// The parsed file at path, shared with every other reader of the same version
// of it; null when there is no such file. A file is parsed again when its
// modification time or size has changed since it was last read. Safe to call
// while documents handed out earlier are still in use. Scripts are called on
// one thread (and the simulator calls them under its own lock), so the cache
// takes no lock of its own.
std::shared_ptr<const parsed_file> loadFile(const std::string& path);

}  // namespace kovo_config_store
