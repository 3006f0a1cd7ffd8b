#include "kovo_config.h"

#include <memory>

#include "kovo_config_cache.h"
#include "kovo_config_location.h"

struct kovo_config::group {
    // Keeps the document alive for as long as this object reads it, even when
    // the cache moves on to a newer version of the file.
    std::shared_ptr<const kovo_config_store::parsed_file> file;
    pugi::xml_node current;
};

namespace {

pugi::xml_node firstElement(pugi::xml_node node) {
    while (node && node.type() != pugi::node_element) {
        node = node.next_sibling();
    }
    return node;
}

}  // namespace

kovo_config::kovo_config(const kovo_string& groupName) : group_(new group) {
    kovo_config_store::group_location where;
    if (!kovo_config_store::locateGroup(groupName.c_str(), where)) {
        return;
    }
    group_->file = kovo_config_store::loadFile(where.file);
    if (group_->file == nullptr) {
        return;
    }
    if (!group_->file->error.empty()) {
        kovo_os::debugOutput(group_->file->error.c_str());
        return;
    }
    group_->current = firstElement(group_->file->group(where.id).first_child());
}

kovo_config::~kovo_config() {
    delete group_;
}

bool kovo_config::isChildValid() const {
    return static_cast<bool>(group_->current);
}

void kovo_config::nextChild() {
    if (group_->current) {
        group_->current = firstElement(group_->current.next_sibling());
    }
}

kovo_string kovo_config::childAttr(const kovo_string& name) const {
    if (!group_->current) {
        return kovo_string();
    }
    return kovo_string(group_->current.attribute(name.c_str()).value());
}
