#include "site_check.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "site_check_internal.h"

namespace fs = std::filesystem;

namespace kovo_host {

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

std::string site_check_context::relative(const std::string& path) const {
    const fs::path rel = fs::path(path).lexically_relative(site.directory());
    return rel.empty() ? path : rel.generic_string();
}

void site_check_context::error(const std::string& path, int line, std::string problem,
                               std::string effect) {
    findings.push_back(site_finding{relative(path), line, finding_severity::error,
                                    std::move(problem), std::move(effect)});
}

void site_check_context::warning(const std::string& path, int line, std::string problem,
                                 std::string effect) {
    findings.push_back(site_finding{relative(path), line, finding_severity::warning,
                                    std::move(problem), std::move(effect)});
}

void site_check_context::need(int device, int database, int minimum, const std::string& user,
                              bool listed) {
    database_need& n = needs[device][database];
    if (n.user.empty() || minimum > n.minimum || (listed && !n.listed)) {
        n.minimum = minimum;
        n.user = user;
    }
    n.listed = n.listed || listed;
}

int site_check_result::count(finding_severity severity) const {
    return static_cast<int>(
        std::count_if(findings.begin(), findings.end(),
                      [severity](const site_finding& f) { return f.severity == severity; }));
}

site_check_result checkSite(const std::string& dir) {
    site_check_result result;
    site_check_context c;
    if (!c.site.open(dir, result.error)) {
        return result;
    }
    result.isSite = true;
    result.directory = c.site.directory();
    c.systemDir = c.site.systemDirectory();
    c.workstations = readSettingsFile((fs::path(c.systemDir) / "workstations.xml").string());
    c.objects = readSettingsFile((fs::path(c.systemDir) / "object_settings.xml").string());
    c.areas = readAreas(c.objects);

    checkSettingsFile(c, c.workstations,
                      "no workstation has settings: the plug-ins use the 1024 layouts, and the "
                      "shutdown panel stays blank");
    checkSettingsFile(c, c.objects,
                      "the names editor offers no area, and the shutdown panel lists no "
                      "workstation");
    // Any other group prefix P reads P.xml: such files are read by the same rules.
    std::error_code code;
    for (const fs::directory_entry& entry : fs::directory_iterator(c.systemDir, code)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && entry.path().extension() == ".xml" &&
            name != "workstations.xml" && name != "object_settings.xml") {
            checkSettingsFile(c, readSettingsFile(entry.path().string()), "");
        }
    }
    checkWorkstations(c);
    checkShutdownLists(c);
    checkAreas(c);
    checkDeviceFiles(c);
    checkDatabaseSizes(c);
    checkNameFiles(c);

    // One order for people and tests alike: by file, then line; findings of one
    // line keep the order in which they were found.
    std::stable_sort(c.findings.begin(), c.findings.end(),
                     [](const site_finding& a, const site_finding& b) {
                         return a.file != b.file ? a.file < b.file : a.line < b.line;
                     });
    result.findings = std::move(c.findings);
    return result;
}

namespace {

const char* severityName(finding_severity severity) {
    return severity == finding_severity::error ? "error" : "warning";
}

}  // namespace

void printFindings(const site_check_result& result, std::ostream& out) {
    if (!result.isSite) {
        out << "not a site: " << result.error << "\n";
        return;
    }
    for (const site_finding& f : result.findings) {
        out << f.file;
        if (f.line > 0) {
            out << ":" << f.line;
        }
        out << ": " << severityName(f.severity) << ": " << f.problem << "; " << f.effect << "\n";
    }
    const int errors = result.count(finding_severity::error);
    const int warnings = result.count(finding_severity::warning);
    out << result.directory << ": " << errors << (errors == 1 ? " error, " : " errors, ")
        << warnings << (warnings == 1 ? " warning" : " warnings") << "\n";
}

void printFindingsJson(const site_check_result& result, std::ostream& out) {
    nlohmann::ordered_json json;
    if (!result.isSite) {
        json["site"] = nullptr;
        json["error"] = result.error;
    } else {
        json["site"] = result.directory;
        json["errors"] = result.count(finding_severity::error);
        json["warnings"] = result.count(finding_severity::warning);
        json["findings"] = nlohmann::ordered_json::array();
        for (const site_finding& f : result.findings) {
            json["findings"].push_back({{"file", f.file},
                                        {"line", f.line},
                                        {"severity", severityName(f.severity)},
                                        {"problem", f.problem},
                                        {"effect", f.effect}});
        }
    }
    // Names in the files need not be valid UTF-8: replace rather than throw.
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

int checkExitStatus(const site_check_result& result, bool strict) {
    if (!result.isSite) {
        return 2;
    }
    if (result.count(finding_severity::error) > 0) {
        return 1;
    }
    return strict && result.count(finding_severity::warning) > 0 ? 1 : 0;
}

}  // namespace kovo_host
