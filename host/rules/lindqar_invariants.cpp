#include "lindqar_invariants.h"

#include <algorithm>

#include "text.h"

namespace kovo_host {

namespace {

// A crosspoint field: zero-padded to three digits, longer on routers above 999.
bool isCrosspointField(const std::string& field) {
    return field.size() >= 3 &&
           std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool isMapText(const std::string& text) {
    const std::vector<std::string> fields = splitAt(text, ',');
    return fields.size() == 30 && std::all_of(fields.begin(), fields.end(), isCrosspointField);
}

bool isEnablesText(const std::string& text) {
    const std::vector<std::string> fields = splitAt(text, ',');
    if (fields.size() != 12) {
        return false;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string own = std::string(i + 1 < 10 ? "00" : "0") + std::to_string(i + 1);
        if (fields[i] != "000" && fields[i] != own) {
            return false;
        }
    }
    return true;
}

void checkLindqarWrite(int database, int index, const std::string& text,
                       std::vector<std::string>& breaches) {
    const bool groupIndex = index >= 1 && index <= 12;
    if (database == 4 || database == 5) {
        if (!groupIndex) {
            breaches.push_back(
                "invariant lindqar-layout: group names live at 1 to 12 of database " +
                std::to_string(database) + ", not at " + std::to_string(index));
        }
    } else if (database == 8) {
        if (groupIndex || (index >= 101 && index <= 112)) {
            if (!isMapText(text)) {
                breaches.push_back(
                    "invariant lindqar-map-text: a group map is 30 fields of three or more digits "
                    "joined by \",\"");
            }
        } else if (index == 201 || index == 251) {
            if (!isEnablesText(text)) {
                breaches.push_back(
                    "invariant lindqar-map-text: the enables are 12 fields, field i 000 or i in "
                    "three digits");
            }
        } else {
            breaches.push_back(
                "invariant lindqar-layout: database 8 is written only at 1-12, 101-112, 201 and "
                "251, not at " +
                std::to_string(index));
        }
    } else {
        breaches.push_back("invariant lindqar-layout: database " + std::to_string(database) +
                           " is not written by the map editor");
    }
}

}  // namespace kovo_host
