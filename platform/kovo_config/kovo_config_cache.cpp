#include "kovo_config_cache.h"

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <string>
#include <system_error>

namespace kovo_config_store {
namespace {

struct file_stamp {
    std::filesystem::file_time_type modified;
    std::uintmax_t size = 0;

    bool operator==(const file_stamp& other) const {
        return modified == other.modified && size == other.size;
    }
};

struct cached_file {
    file_stamp stamp;
    std::shared_ptr<const parsed_file> parsed;
};

struct file_cache {
    std::mutex lock;
    std::unordered_map<std::string, cached_file> files;
};

file_cache& cache() {
    static file_cache instance;
    return instance;
}

bool stampOf(const std::string& path, file_stamp& stamp) {
    std::error_code error;
    stamp.modified = std::filesystem::last_write_time(path, error);
    if (error) {
        return false;
    }
    stamp.size = std::filesystem::file_size(path, error);
    return !error;
}

std::shared_ptr<const parsed_file> parse(const std::string& path) {
    auto parsed = std::make_shared<parsed_file>();
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
    parsed->groups.reserve(static_cast<std::size_t>(std::distance(root.begin(), root.end())));
    for (pugi::xml_node group = root.first_child(); group; group = group.next_sibling()) {
        if (group.type() != pugi::node_element) {
            continue;
        }
        const pugi::xml_attribute id = group.attribute("id");
        if (id) {
            parsed->groups.emplace(id.value(), group);  // keeps the first of an id
        }
    }
    return parsed;
}

}  // namespace

std::shared_ptr<const parsed_file> loadFile(const std::string& path) {
    file_stamp stamp;
    file_cache& files = cache();
    if (!stampOf(path, stamp)) {
        std::lock_guard<std::mutex> guard(files.lock);
        files.files.erase(path);
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> guard(files.lock);
        const auto found = files.files.find(path);
        if (found != files.files.end() && found->second.stamp == stamp) {
            return found->second.parsed;
        }
    }
    // Parsed outside the lock. Should the file change while it is read, the
    // stamp taken before no longer matches and the next load parses it again.
    std::shared_ptr<const parsed_file> parsed = parse(path);
    std::lock_guard<std::mutex> guard(files.lock);
    if (parsed == nullptr) {
        files.files.erase(path);
    } else {
        files.files[path] = cached_file{stamp, parsed};
    }
    return parsed;
}

}  // namespace kovo_config_store
