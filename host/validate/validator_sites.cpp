#include "validator_sites.h"

#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "text_file.h"

namespace fs = std::filesystem;

namespace kovo_host {

namespace {

const char* const absurdSize = "99999999999";

// Rewrites a text file line by line: edit changes a line in place, and says
// false to drop it.
void editLines(const fs::path& file, const std::function<bool(std::string& line)>& edit) {
    std::string text;
    readWholeFile(file.string(), text);
    std::istringstream in(text);
    std::string out, line;
    while (std::getline(in, line)) {
        if (edit(line)) {
            out += line + "\n";
        }
    }
    writeWholeFile(file.string(), out);
}

// Rewrites every "DatabaseSize_N=" line of every device file: edit gets the
// device file's name, N and the line, and changes the line or empties it to
// drop it.
void editDatabaseSizes(
    const fs::path& site,
    const std::function<void(const std::string& file, int database, std::string& line)>& edit) {
    for (const auto& entry : fs::directory_iterator(site / "config" / "system")) {
        if (entry.path().extension() != ".ini") {
            continue;
        }
        editLines(entry.path(), [&](std::string& line) {
            if (line.compare(0, 13, "DatabaseSize_") == 0 && line.find('=') != std::string::npos) {
                edit(entry.path().filename().string(), std::atoi(line.c_str() + 13), line);
                return !line.empty();
            }
            return true;
        });
    }
}

// Every "DatabaseSize_N=" line of every device file gets this value.
void setDatabaseSizes(const fs::path& site, const std::string& size) {
    editDatabaseSizes(site, [&size](const std::string&, int, std::string& line) {
        line = line.substr(0, line.find('=') + 1) + size;
    });
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
    writeWholeFile((system / "object_settings.xml").string(),
                   "<?xml version=\"1.0\"?>\n<object_settings/>\n");
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
        editLines(entry.path(), [](std::string& line) {
            const std::size_t space = line.find(' ');
            if (!line.empty() && line[0] != '#' && space != std::string::npos) {
                line = line.substr(0, space + 1) + "O'" + line.substr(space + 1) + "`";
            }
            return true;
        });
    }
}

// "dev_110.ini" for every device the areas name as package names or package
// contents device (driver_ids entries 0 and 1).
std::set<std::string> packageDeviceFiles(const fs::path& site) {
    std::set<std::string> files;
    pugi::xml_document doc;
    const fs::path objects = site / "config" / "system" / "object_settings.xml";
    if (!doc.load_file(objects.string().c_str())) {
        return files;
    }
    for (pugi::xml_node area : doc.document_element().children("object")) {
        if (std::string(area.attribute("id").value()).compare(0, 9, "rtr_area_") != 0) {
            continue;
        }
        const pugi::xml_node ids = area.find_child_by_attribute("setting", "id", "driver_ids");
        std::istringstream list(ids.attribute("value").value());
        std::string entry;
        for (int slot = 0; slot < 2 && std::getline(list, entry, ','); ++slot) {
            char name[32];
            std::snprintf(name, sizeof name, "dev_%03d.ini", std::atoi(entry.c_str()));
            files.insert(name);
        }
    }
    return files;
}

// Only the sizes an editor lists from stay: the long names (0, 1) of the
// routers. The package devices, the short names and the map stores (4, 5, 8)
// lose theirs, as a site may leave them out.
void unsizedStores(const fs::path& site) {
    const std::set<std::string> packageFiles = packageDeviceFiles(site);
    editDatabaseSizes(site,
                      [&packageFiles](const std::string& file, int database, std::string& line) {
                          if (database > 1 || packageFiles.count(file) != 0) {
                              line.clear();
                          }
                      });
}

// Layouts of the site's own, in <site>/layouts/<plug-in>/ (a plug-in loaded
// with that folder as its instance reads them): copies of the plug-ins' own
// with the Tavisk workstation buttons named "WS_1" to "WS_10", and two matrix
// buttons outside Lindqar's router table ("XPT_map_5", "XPT_map_40").
void siteLayouts(const fs::path& site, const fs::path& layoutRoot) {
    for (const char* plugin : {"Corvane", "Lindqar", "Tavisk"}) {
        const fs::path from = layoutRoot / "panels" / "System" / plugin;
        const fs::path to = site / "layouts" / plugin;
        std::error_code code;
        if (!fs::is_directory(from, code)) {
            continue;  // a layout root without the plug-in: it keeps its own
        }
        fs::create_directories(to, code);
        for (const auto& entry : fs::directory_iterator(from, code)) {
            if (entry.path().extension() != ".kovo_ui") {
                continue;
            }
            pugi::xml_document doc;
            if (!doc.load_file(entry.path().string().c_str())) {
                continue;
            }
            pugi::xml_node panel = doc.document_element();
            for (pugi::xml_node control : panel.children("control")) {
                pugi::xml_attribute id = control.attribute("id");
                const std::string text = id.value();
                if (std::string(plugin) == "Tavisk" && text.compare(0, 4, "WS_0") == 0) {
                    id.set_value(("WS_" + text.substr(4)).c_str());
                }
            }
            const pugi::xml_node matrix =
                panel.find_child_by_attribute("control", "id", "XPT_map_4");
            if (matrix) {
                int x = matrix.attribute("x").as_int();
                for (const char* extra : {"XPT_map_5", "XPT_map_40"}) {
                    x += matrix.attribute("w").as_int() + 10;
                    pugi::xml_node copy = panel.append_copy(matrix);
                    copy.attribute("id").set_value(extra);
                    copy.attribute("x").set_value(x);
                }
            }
            doc.save_file((to / entry.path().filename()).string().c_str());
        }
    }
}

// Each variant but the base: its name and how a copy of the base becomes it
// (given the copy and the folder the plug-ins' layouts are read under).
struct variant_edit {
    const char* name;
    void (*edit)(const fs::path& site, const fs::path& layoutRoot);
};
const variant_edit variantEdits[] = {
    {"empty-settings", [](const fs::path& p, const fs::path&) { emptySettings(p); }},
    {"odd-values", [](const fs::path& p, const fs::path&) { oddValues(p); }},
    {"long-lists", [](const fs::path& p, const fs::path&) { longLists(p); }},
    {"quoted-names", [](const fs::path& p, const fs::path&) { quotedNames(p); }},
    {"dbsize-0", [](const fs::path& p, const fs::path&) { setDatabaseSizes(p, "0"); }},
    {"dbsize-1", [](const fs::path& p, const fs::path&) { setDatabaseSizes(p, "1"); }},
    {"dbsize-4096", [](const fs::path& p, const fs::path&) { setDatabaseSizes(p, "4096"); }},
    {"dbsize-absurd", [](const fs::path& p, const fs::path&) { setDatabaseSizes(p, absurdSize); }},
    {"unsized-stores", [](const fs::path& p, const fs::path&) { unsizedStores(p); }},
    {"site-layouts", siteLayouts},
};

}  // namespace

std::vector<std::string> siteVariantNames() {
    std::vector<std::string> names = {"base"};
    for (const variant_edit& variant : variantEdits) {
        names.emplace_back(variant.name);
    }
    return names;
}

bool writeSiteVariants(const std::string& baseSite, const std::string& layoutRoot,
                       const std::string& outDir, std::vector<site_variant>& variants,
                       std::string& error) {
    std::error_code code;
    const fs::path base = fs::weakly_canonical(fs::absolute(baseSite, code), code);
    if (!fs::is_directory(base / "config" / "system")) {
        error = "site directory " + baseSite + " has no config/system folder";
        return false;
    }
    const fs::path layouts = fs::absolute(layoutRoot, code);
    variants.clear();
    variants.push_back(site_variant{"base", base.string()});
    const fs::path sites = fs::absolute(fs::path(outDir) / "sites", code);
    for (const variant_edit& variant : variantEdits) {
        const fs::path dir = sites / variant.name;
        fs::remove_all(dir, code);
        // The copy makes the folder itself: copying into one made beforehand
        // fails under wine on the drive that maps the Unix file system.
        fs::create_directories(sites, code);
        fs::copy(base, dir, fs::copy_options::recursive, code);
        if (code) {
            error = "cannot copy the site to " + dir.string() + ": " + code.message();
            return false;
        }
        variant.edit(dir, layouts);
        variants.push_back(site_variant{variant.name, dir.string()});
    }
    return true;
}

std::string siteLayoutFolder(const std::string& site, const std::string& plugin) {
    if (plugin.empty()) {
        return "";
    }
    std::error_code code;
    const std::string folder = (fs::absolute(site, code) / "layouts" / plugin).generic_string();
    // A load line takes the instance as one word.
    if (folder.find(' ') != std::string::npos || !fs::is_directory(folder, code)) {
        return "";
    }
    return folder;
}

}  // namespace kovo_host
