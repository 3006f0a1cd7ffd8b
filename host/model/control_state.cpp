#include "control_state.h"

#include "numbers.h"

namespace kovo_host {

namespace {

const char replacePrefix[] = "replace.id.";
const char buttonPrefix[] = "button.";

bool isList(control_kind kind) {
    return kind == control_kind::list || kind == control_kind::unknown;
}

bool isDeviceMap(control_kind kind) {
    return kind == control_kind::groupselector || kind == control_kind::namemap;
}

int buttonCount(control_kind kind) {
    return kind == control_kind::groupselector ? 12 : 30;
}

put_result listPut(control_state& control, const std::string& key, const std::string& value,
                   bool hasValue) {
    put_result result;
    if (!hasValue) {
        if (key == "clear") {
            control.entries.clear();
            control.selectedIndex = -1;
        } else {
            result.note = "action \"" + key + "\" means nothing to list " + control.id;
        }
        return result;
    }
    if (key == "add") {
        control.entries.push_back(value);
    } else if (key.compare(0, sizeof replacePrefix - 1, replacePrefix) == 0) {
        int position = 0;
        const std::string number = key.substr(sizeof replacePrefix - 1);
        if (!parseNumber(number, position) || position < 0 ||
            position >= static_cast<int>(control.entries.size())) {
            result.note = "list " + control.id + " has no entry at position " + number +
                          " (it holds " + std::to_string(control.entries.size()) + ")";
        } else {
            control.entries[static_cast<std::size_t>(position)] = value;
        }
    } else if (key == "selected") {
        int position = 0;
        if (value == "none") {
            control.selectedIndex = -1;
        } else if (parseNumber(value, position) && position >= 0 &&
                   position < static_cast<int>(control.entries.size())) {
            control.selectedIndex = position;
        } else {
            result.note = "list " + control.id + " cannot select \"" + value + "\"";
        }
    } else {
        control.properties[key] = value;
    }
    return result;
}

put_result deviceMapPut(control_state& control, const std::string& key, const std::string& value) {
    put_result result;
    if (key.compare(0, sizeof buttonPrefix - 1, buttonPrefix) == 0 && value == "released") {
        int button = 0;
        const std::string number = key.substr(sizeof buttonPrefix - 1);
        if (!parseNumber(number, button) || button < 1 || button > buttonCount(control.kind)) {
            result.note = control.id + " has no button " + number;
        } else {
            result.pressButton = button;
        }
        return result;
    }
    if (key == "index" && control.kind == control_kind::namemap && leadingNumber(value) < 0) {
        control.chosen = 0;
    }
    control.properties[key] = value;
    return result;
}

}  // namespace

control_state control_state::fromLayout(const control_declaration& declared) {
    control_state control;
    control.id = declared.id;
    control.kind = declared.kind;
    control.declared = true;
    control.x = declared.x;
    control.y = declared.y;
    control.w = declared.w;
    control.h = declared.h;
    control.enabled = declared.enabled;
    control.visible = declared.visible;
    for (const auto& property : declared.properties) {
        control.properties[property.first] = property.second;
    }
    return control;
}

std::string control_state::property(const std::string& name) const {
    auto found = properties.find(name);
    return found == properties.end() ? std::string() : found->second;
}

put_result applyPut(control_state& control, const std::string& text) {
    const std::size_t equals = text.find('=');
    const bool hasValue = equals != std::string::npos;
    const std::string key = hasValue ? text.substr(0, equals) : text;
    const std::string value = hasValue ? text.substr(equals + 1) : std::string();
    if (isList(control.kind)) {
        return listPut(control, key, value, hasValue);
    }
    if (!hasValue) {
        put_result result;
        result.note = "action \"" + key + "\" means nothing to " +
                      std::string(kindName(control.kind)) + " " + control.id;
        return result;
    }
    if (isDeviceMap(control.kind)) {
        return deviceMapPut(control, key, value);
    }
    control.properties[key] = value;
    return put_result{};
}

std::string getAnswer(const control_state& control, const std::string& property) {
    if (property == "selectedindex" && isList(control.kind)) {
        return property + "=" + std::to_string(control.selectedIndex);
    }
    if (property == "all") {
        std::string all;
        for (const auto& entry : control.properties) {
            if (!all.empty()) {
                all += '\n';
            }
            all += entry.first + "=" + entry.second;
        }
        return all;
    }
    return property + "=" + control.property(property);
}

}  // namespace kovo_host
