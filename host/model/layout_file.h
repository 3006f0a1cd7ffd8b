// Panel layouts (.kovo_ui): the controls a panel has, where, and how they start.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kovo_host {

enum class control_kind { button, label, list, keyboard, groupselector, namemap, unknown };

const char* kindName(control_kind kind);

struct control_declaration {
    std::string id;
    control_kind kind = control_kind::button;
    int x = 0, y = 0, w = 0, h = 0;
    bool enabled = true;
    bool visible = true;
    std::vector<std::pair<std::string, std::string>> properties;
};

struct layout_file {
    int width = 0;
    int height = 0;
    std::vector<control_declaration> controls;
};

enum class layout_status { ok, missing, invalid };

// Reads a layout; on `invalid`, error says what is wrong and where.
layout_status readLayout(const std::string& path, layout_file& layout, std::string& error);

}  // namespace kovo_host
