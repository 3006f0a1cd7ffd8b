#include "layout_file.h"

#include <filesystem>
#include <pugixml.hpp>
#include <set>

#include "numbers.h"

namespace kovo_host {

const char* kindName(control_kind kind) {
    switch (kind) {
        case control_kind::button:
            return "button";
        case control_kind::label:
            return "label";
        case control_kind::list:
            return "list";
        case control_kind::keyboard:
            return "keyboard";
        case control_kind::groupselector:
            return "groupselector";
        case control_kind::namemap:
            return "namemap";
        case control_kind::unknown:
            return "control";
    }
    return "control";
}

namespace {

bool kindFromName(const std::string& name, control_kind& kind) {
    for (control_kind k :
         {control_kind::button, control_kind::label, control_kind::list, control_kind::keyboard,
          control_kind::groupselector, control_kind::namemap}) {
        if (name == kindName(k)) {
            kind = k;
            return true;
        }
    }
    return false;
}

bool readFlag(const pugi::xml_node& node, const char* name, bool& flag, std::string& error) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        return true;
    }
    const std::string value = attribute.value();
    if (value == "true") {
        flag = true;
    } else if (value == "false") {
        flag = false;
    } else {
        error = std::string("attribute ") + name + " must be true or false, not \"" + value + "\"";
        return false;
    }
    return true;
}

bool readSize(const pugi::xml_node& node, const char* name, int& size, std::string& error) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        error = std::string("attribute ") + name + " is missing";
        return false;
    }
    if (!parseNumber(attribute.value(), size) || size < 0) {
        error = std::string("attribute ") + name + " is not a pixel count: \"" + attribute.value() +
                "\"";
        return false;
    }
    return true;
}

bool readControl(const pugi::xml_node& node, control_declaration& control, std::string& error) {
    control.id = node.attribute("id").value();
    if (control.id.empty()) {
        error = "a control without an id";
        return false;
    }
    const std::string kind = node.attribute("kind").value();
    if (!kindFromName(kind, control.kind)) {
        error = "control " + control.id + " has an unknown kind \"" + kind + "\"";
        return false;
    }
    std::string detail;
    if (!readSize(node, "x", control.x, detail) || !readSize(node, "y", control.y, detail) ||
        !readSize(node, "w", control.w, detail) || !readSize(node, "h", control.h, detail) ||
        !readFlag(node, "enabled", control.enabled, detail) ||
        !readFlag(node, "visible", control.visible, detail)) {
        error = "control " + control.id + ": " + detail;
        return false;
    }
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        if (std::string(child.name()) != "property" || !child.attribute("name") ||
            *child.attribute("name").value() == '\0') {
            error = "control " + control.id + ": unexpected <" + child.name() +
                    "> (only <property name=... value=...> belongs here)";
            return false;
        }
        control.properties.emplace_back(child.attribute("name").value(),
                                        child.attribute("value").value());
    }
    return true;
}

}  // namespace

layout_status readLayout(const std::string& path, layout_file& layout, std::string& error) {
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code)) {
        return layout_status::missing;
    }
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed) {
        error = path + ": " + parsed.description() + " at byte " + std::to_string(parsed.offset);
        return layout_status::invalid;
    }
    pugi::xml_node root = document.document_element();
    if (std::string(root.name()) != "kovo_ui") {
        error = path + ": the root element is <" + std::string(root.name()) + ">, not <kovo_ui>";
        return layout_status::invalid;
    }
    layout = layout_file{};
    std::string detail;
    if (!readSize(root, "width", layout.width, detail) ||
        !readSize(root, "height", layout.height, detail)) {
        error = path + ": kovo_ui " + detail;
        return layout_status::invalid;
    }
    std::set<std::string> ids;
    for (pugi::xml_node node : root.children()) {
        if (node.type() != pugi::node_element) {
            continue;
        }
        if (std::string(node.name()) != "control") {
            error = path + ": unexpected <" + std::string(node.name()) + "> in kovo_ui";
            return layout_status::invalid;
        }
        control_declaration control;
        if (!readControl(node, control, detail)) {
            error = path + ": " + detail;
            return layout_status::invalid;
        }
        if (!ids.insert(control.id).second) {
            error = path + ": control " + control.id + " is declared twice";
            return layout_status::invalid;
        }
        layout.controls.push_back(std::move(control));
    }
    return layout_status::ok;
}

}  // namespace kovo_host
