#include "device_map.h"

#include <climits>

#include "numbers.h"

namespace kovo_host {

namespace {

// The comma fields of a stored list, each read as a number.
std::vector<int> mapFields(const std::optional<std::string>& text) {
    std::vector<int> fields;
    if (!text || text->empty()) {
        return fields;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text->find(',', start);
        fields.push_back(leadingNumber(text->substr(start, comma - start)));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return fields;
}

// offset + step without overflow; INT_MAX stands for "no such index".
int addIndex(int offset, int step) {
    const long long sum = static_cast<long long>(offset) + step;
    return sum > INT_MAX || sum < INT_MIN ? INT_MAX : static_cast<int>(sum);
}

std::optional<std::string> mapText(const control_state& control, const name_lookup& names,
                                   int step) {
    const int device = numberProperty(control, "device.map");
    if (device <= 0 || step < 1) {
        return std::nullopt;
    }
    return names(device, numberProperty(control, "mapdb"),
                 addIndex(numberProperty(control, "mapoffset"), step));
}

}  // namespace

int numberProperty(const control_state& control, const char* name) {
    return leadingNumber(control.property(name));
}

std::vector<map_button> groupSelectorButtons(const control_state& control,
                                             const name_lookup& names) {
    const int device = numberProperty(control, "device");
    const int namesDb = numberProperty(control, "namesdb");
    const std::vector<int> enables = mapFields(mapText(control, names, 1));
    std::vector<map_button> buttons;
    for (int g = 1; g <= groupButtons; ++g) {
        map_button button;
        button.number = g;
        button.index = g;
        if (device > 0) {
            button.label = names(device, namesDb, g).value_or("");
        }
        button.enabled = static_cast<std::size_t>(g) <= enables.size() &&
                         enables[static_cast<std::size_t>(g - 1)] > 0;
        buttons.push_back(std::move(button));
    }
    return buttons;
}

std::vector<map_button> nameMapButtons(const control_state& control, const name_lookup& names) {
    const int device = numberProperty(control, "device");
    const int namesDb = numberProperty(control, "namesdb");
    const std::vector<int> entries =
        mapFields(mapText(control, names, numberProperty(control, "page")));
    std::vector<map_button> buttons;
    for (int e = 1; e <= pageButtons; ++e) {
        map_button button;
        button.number = e;
        const std::size_t at = static_cast<std::size_t>(e - 1);
        if (at < entries.size() && entries[at] > 0) {
            button.index = entries[at];
            if (device > 0) {
                button.label = names(device, namesDb, button.index).value_or("");
            }
        }
        buttons.push_back(std::move(button));
    }
    return buttons;
}

}  // namespace kovo_host
