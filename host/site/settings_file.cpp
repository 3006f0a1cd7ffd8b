#include "settings_file.h"

#include <algorithm>
#include <pugixml.hpp>

#include "text_file.h"

namespace kovo_host {

namespace {

int lineAt(const std::string& text, std::ptrdiff_t offset) {
    if (offset < 0) {
        return 0;
    }
    const auto end = text.begin() + std::min<std::ptrdiff_t>(offset, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}

}  // namespace

settings_file readSettingsFile(const std::string& path) {
    settings_file file;
    file.path = path;
    std::string text;
    if (!readWholeFile(path, text)) {
        return file;
    }
    file.exists = true;
    pugi::xml_document document;
    const pugi::xml_parse_result result = document.load_buffer(text.data(), text.size());
    if (!result) {
        file.error = result.description();
        file.errorLine = lineAt(text, result.offset);
        return file;
    }
    file.parsed = true;
    for (pugi::xml_node node : document.document_element().children()) {
        const pugi::xml_attribute id = node.attribute("id");
        if (node.type() != pugi::node_element || !id) {
            continue;
        }
        settings_group group;
        group.id = id.value();
        group.line = lineAt(text, node.offset_debug());
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) {
                group.entries.push_back(settings_entry{child.attribute("id").value(),
                                                       child.attribute("value").value(),
                                                       lineAt(text, child.offset_debug())});
            }
        }
        file.groups.push_back(std::move(group));
    }
    return file;
}

const settings_group* settings_file::group(const std::string& id) const {
    for (const settings_group& g : groups) {
        if (g.id == id) {
            return &g;
        }
    }
    return nullptr;
}

const settings_entry* settings_file::entry(const std::string& groupId,
                                           const std::string& id) const {
    const settings_group* g = group(groupId);
    if (g == nullptr) {
        return nullptr;
    }
    for (const settings_entry& e : g->entries) {
        if (e.id == id) {
            return &e;
        }
    }
    return nullptr;
}

std::string settings_file::value(const std::string& groupId, const std::string& id) const {
    const settings_entry* e = entry(groupId, id);
    return e == nullptr ? std::string() : e->value;
}

}  // namespace kovo_host
