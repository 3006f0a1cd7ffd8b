#include "kovo_config_cache.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "kovo_os.h"

namespace kovo_config_store {
namespace {

bool idBefore(const parsed_file::group_entry& a, const parsed_file::group_entry& b) {
    return std::strcmp(a.id, b.id) < 0;
}

struct cached_file {
    std::string path;
    kovo_os::file_stamp stamp;
    std::shared_ptr<const parsed_file> parsed;
};

// A site has two or three configuration files: a list is all it takes.
std::vector<cached_file>& cache() {
    static std::vector<cached_file> files;
    return files;
}

cached_file* cachedOf(const std::string& path) {
    for (cached_file& file : cache()) {
        if (file.path == path) {
            return &file;
        }
    }
    return nullptr;
}

void forget(const std::string& path) {
    std::vector<cached_file>& files = cache();
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&](const cached_file& file) { return file.path == path; }),
                files.end());
}

std::shared_ptr<const parsed_file> parse(const std::string& path) {
    // Not make_shared: without RTTI, libstdc++ compiles part of it into its
    // library, which the Microsoft-ABI build does not have.
    std::shared_ptr<parsed_file> parsed(new parsed_file);
    const pugi::xml_parse_result result = parsed->document.load_file(path.c_str());
    if (result.status == pugi::status_file_not_found) {
        return nullptr;
    }
    if (!result) {
        parsed->document.reset();
        parsed->error = "kovo_config: cannot read " + path + ": " + result.description() +
                        " at offset " + std::to_string(result.offset) + "\n";
        return parsed;
    }
    const pugi::xml_node root = parsed->document.document_element();
    for (pugi::xml_node group = root.first_child(); group; group = group.next_sibling()) {
        const pugi::xml_attribute id = group.attribute("id");
        if (group.type() == pugi::node_element && id) {
            parsed->groups.push_back({id.value(), group});
        }
    }
    std::stable_sort(parsed->groups.begin(), parsed->groups.end(), idBefore);
    return parsed;
}

}  // namespace

pugi::xml_node parsed_file::group(const std::string& id) const {
    const group_entry wanted{id.c_str(), pugi::xml_node()};
    const auto found = std::lower_bound(groups.begin(), groups.end(), wanted, idBefore);
    return found != groups.end() && id == found->id ? found->node : pugi::xml_node();
}

std::shared_ptr<const parsed_file> loadFile(const std::string& path) {
    kovo_os::file_stamp stamp;
    if (!kovo_os::fileStamp(path, stamp)) {
        forget(path);
        return nullptr;
    }
    cached_file* cached = cachedOf(path);
    if (cached != nullptr && cached->stamp == stamp) {
        return cached->parsed;
    }
    // Should the file change while it is read, the stamp taken before no longer
    // matches and the next load parses it again.
    std::shared_ptr<const parsed_file> parsed = parse(path);
    if (parsed == nullptr) {
        forget(path);
    } else if (cached != nullptr) {
        cached->stamp = stamp;
        cached->parsed = parsed;
    } else {
        cache().push_back(cached_file{path, stamp, parsed});
    }
    return parsed;
}

}  // namespace kovo_config_store
