#include "validator_sites.h"

#include <pugixml.hpp>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

const char* const absurdSize = "99999999999";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

// Every "DatabaseSize_N=" line of every device file gets this value.
void setDatabaseSizes(const fs::path& site, const std::string& size) {
    for (const auto& entry : fs::directory_iterator(site / "config" / "system")) {
        if (entry.path().extension() != ".ini") {
            continue;
        }
        std::istringstream in(readFile(entry.path()));
        std::string out, line;
        while (std::getline(in, line)) {
            const std::size_t equals = line.find('=');
            if (line.compare(0, 13, "DatabaseSize_") == 0 && equals != std::string::npos) {
                line = line.substr(0, equals + 1) + size;
            }
            out += line + "\n";
        }
        writeFile(entry.path(), out);
    }
}

// Applies fn to every <setting> of a settings file, by its id and its entry's id.
void editSettings(const fs::path& file,
                  const std::function<void(const std::string& entry, const std::string& id,
                                           pugi::xml_attribute value)>& fn) {
    pugi::xml_document doc;
    if (!doc.load_file(file.string().c_str())) {
        return;
    }
    for (pugi::xml_node entry : doc.document_element().children()) {
        for (pugi::xml_node setting : entry.children("setting")) {
            pugi::xml_attribute value = setting.attribute("value");
            if (value) {
                fn(entry.attribute("id").value(), setting.attribute("id").value(), value);
            }
        }
    }
    doc.save_file(file.string().c_str());
}

void emptySettings(const fs::path& site) {
    const fs::path system = site / "config" / "system";
    writeFile(system / "object_settings.xml", "<?xml version=\"1.0\"?>\n<object_settings/>\n");
    // The workstations stay, so that a workstation is known, but carry no setting.
    pugi::xml_document doc;
    if (doc.load_file((system / "workstations.xml").string().c_str())) {
        for (pugi::xml_node station : doc.document_element().children("workstation")) {
            while (station.first_child()) {
                station.remove_child(station.first_child());
            }
        }
        doc.save_file((system / "workstations.xml").string().c_str());
    }
}

void oddValues(const fs::path& site) {
    const fs::path system = site / "config" / "system";
    editSettings(system / "workstations.xml",
                 [](const std::string&, const std::string& id, pugi::xml_attribute value) {
                     if (id == "screenwidth") {
                         value.set_value("1280px");
                     } else if (id == "myarea") {
                         value.set_value((std::string(value.value()) + " 'odd\" ").c_str());
                     }
                 });
    editSettings(system / "object_settings.xml", [](const std::string& entry, const std::string& id,
                                                    pugi::xml_attribute value) {
        const std::string old = value.value();
        if (entry == "ws_shutdown") {
            value.set_value((old + ",,XP,abc,W7,-1,XPE,2147483648,W10,99999999999,w10,13").c_str());
        } else if (id == "driver_ids") {
            value.set_value((old + ",-1,x,2147483648").c_str());
        } else if (id == "package_levels") {
            value.set_value("-7");
        } else if (id == "areaname" || id == "driver_type") {
            value.set_value((old + " 'q'").c_str());
        }
    });
}

void longLists(const fs::path& site) {
    const fs::path file = site / "config" / "system" / "object_settings.xml";
    pugi::xml_document doc;
    if (!doc.load_file(file.string().c_str())) {
        return;
    }
    pugi::xml_node root = doc.document_element();
    std::string pairs;
    for (int ws = 100; ws < 140; ++ws) {
        pairs += (pairs.empty() ? "" : ",") + std::to_string(ws) + (ws % 2 == 0 ? ",W10" : ",XPE");
    }
    for (pugi::xml_node object : root.children("object")) {
        if (std::string("ws_shutdown") == object.attribute("id").value()) {
            for (pugi::xml_node setting : object.children("setting")) {
                setting.attribute("value").set_value(
                    (std::string(setting.attribute("value").value()) + "," + pairs).c_str());
            }
        }
    }
    // Forty areas: copies of the first one behind the configured ones.
    pugi::xml_node first = root.find_child_by_attribute("object", "id", "rtr_area_0");
    if (first) {
        int next = 0;
        while (root.find_child_by_attribute("object", "id",
                                            ("rtr_area_" + std::to_string(next)).c_str())) {
            ++next;
        }
        for (; next < 40; ++next) {
            pugi::xml_node copy = root.append_copy(first);
            copy.attribute("id").set_value(("rtr_area_" + std::to_string(next)).c_str());
        }
    }
    doc.save_file(file.string().c_str());
}

// Every stored name gets a quote and a backtick, as another editor might have written it.
void quotedNames(const fs::path& site) {
    if (!fs::is_directory(site / "names")) {
        return;
    }
    for (const auto& entry : fs::recursive_directory_iterator(site / "names")) {
        if (entry.path().extension() != ".txt") {
            continue;
        }
        std::istringstream in(readFile(entry.path()));
        std::string out, line;
        while (std::getline(in, line)) {
            const std::size_t space = line.find(' ');
            if (!line.empty() && line[0] != '#' && space != std::string::npos) {
                line = line.substr(0, space + 1) + "O'" + line.substr(space + 1) + "`";
            }
            out += line + "\n";
        }
        writeFile(entry.path(), out);
    }
}

}  // namespace

bool writeSiteVariants(const std::string& baseSite, const std::string& outDir,
                       std::vector<site_variant>& variants, std::string& error) {
    std::error_code code;
    const fs::path base = fs::weakly_canonical(fs::absolute(baseSite, code), code);
    if (!fs::is_directory(base / "config" / "system")) {
        error = "site directory " + baseSite + " has no config/system folder";
        return false;
    }
    variants.clear();
    variants.push_back(site_variant{"base", base.string()});
    const std::pair<const char*, std::function<void(const fs::path&)>> edits[] = {
        {"empty-settings", emptySettings},
        {"odd-values", oddValues},
        {"long-lists", longLists},
        {"quoted-names", quotedNames},
        {"dbsize-0", [](const fs::path& p) { setDatabaseSizes(p, "0"); }},
        {"dbsize-1", [](const fs::path& p) { setDatabaseSizes(p, "1"); }},
        {"dbsize-4096", [](const fs::path& p) { setDatabaseSizes(p, "4096"); }},
        {"dbsize-absurd", [](const fs::path& p) { setDatabaseSizes(p, absurdSize); }},
    };
    const fs::path sites = fs::absolute(fs::path(outDir) / "sites", code);
    for (const auto& edit : edits) {
        const fs::path dir = sites / edit.first;
        fs::remove_all(dir, code);
        // The copy makes the folder itself: copying into one made beforehand
        // fails under wine on the drive that maps the Unix file system.
        fs::create_directories(sites, code);
        fs::copy(base, dir, fs::copy_options::recursive, code);
        if (code) {
            error = "cannot copy the site to " + dir.string() + ": " + code.message();
            return false;
        }
        edit.second(dir);
        variants.push_back(site_variant{edit.first, dir.string()});
    }
    return true;
}

}  // namespace kovo_host
