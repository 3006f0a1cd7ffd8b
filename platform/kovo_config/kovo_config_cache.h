// Parsed configuration files, kept while they are unchanged on disk.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include <pugixml.hpp>

namespace kovo_config_store {

struct parsed_file {
    pugi::xml_document document;
    // The first element child of the root for each id attribute value; the
    // keys point into the document, so no id is copied.
    std::unordered_map<std::string_view, pugi::xml_node> groups;
    // Empty when the file parsed; otherwise the line for the debug output.
    std::string error;
};

// The parsed file at path, shared with every other reader of the same version
// of it; null when there is no such file. A file is parsed again when its
// modification time or size has changed since it was last read. Safe to call
// while documents handed out earlier are still in use.
std::shared_ptr<const parsed_file> loadFile(const std::string& path);

}  // namespace kovo_config_store
