// Panel and control commands: PS, PI, PR, TP, TG, CE, CD, CS, CH, XI.
#include "kovo_command_text.h"
#include "kovo_script_helper.h"

using kovo_command_text::quoted;

namespace {
// "XX 'panel' 'control'", the shape shared by the control commands.
kovo_string controlCommand(const char* command, const kovo_string& panel,
                           const kovo_string& control) {
    return kovo_string(command) + " " + quoted(panel) + " " + quoted(control);
}
}  // namespace

kovo_string kovo_script_helper::layoutPath(const kovo_string& layout) const {
    if (instanceString.isEmpty()) {
        return layout;
    }
    return instanceString + "/" + layout;
}

bool kovo_script_helper::panelCommand(const char* command, const kovo_string& panel,
                                      const kovo_string& layout, const kovo_string& extra) {
    kovo_string text =
        kovo_string(command) + " " + quoted(panel) + " " + quoted(layoutPath(layout));
    if (!extra.isEmpty()) {
        text += " ";
        text += quoted(extra);
    }
    if (hostLink == nullptr) {
        return true;
    }
    // A status, not a buffer: it is never given back.
    return send(text) != nullptr;
}

bool kovo_script_helper::panelShow(const kovo_string& panel, const kovo_string& layout,
                                   const kovo_string& extra) {
    shownPanel_ = panel;
    return panelCommand("PS", panel, layout, extra);
}

bool kovo_script_helper::panelInit(const kovo_string& panel, const kovo_string& layout,
                                   const kovo_string& extra) {
    return panelCommand("PI", panel, layout, extra);
}

bool kovo_script_helper::panelRemove(const kovo_string& panel) {
    if (panel == shownPanel_) {
        shownPanel_ = "";
    }
    if (hostLink == nullptr) {
        return true;
    }
    return send(kovo_string("PR ") + quoted(panel)) != nullptr;
}

void kovo_script_helper::textPut(const kovo_string& text, const kovo_string& panel,
                                 const kovo_string& control) {
    send(kovo_string("TP ") + quoted(text) + " " + quoted(panel) + " " + quoted(control));
}

void kovo_script_helper::textPut(const kovo_string& property, const kovo_string& value,
                                 const kovo_string& panel, const kovo_string& control) {
    textPut(property + "=" + value, panel, control);
}

void kovo_script_helper::textGet(const kovo_string& property, const kovo_string& panel,
                                 const kovo_string& control, kovo_string& out) {
    char* answer = send(controlCommand("TG", panel, control) + " " + quoted(property));
    if (answer == nullptr) {
        out = "";
        return;
    }
    const kovo_string reply = takeReply(answer);
    if (property == "all") {
        out = reply;
        return;
    }
    kovo_string key;
    kovo_string value;
    reply.split('=', key, value);
    if (key == property) {
        out = value;
        return;
    }
    debug(
        "textGet: value returned \"%1\" was not the value requested \"%2\" (value returned was "
        "\"%3\" from control \"%4\", on panel \"%5\")",
        key, property, reply, control, panel, "", "", "", "");
    out = "";
}

void kovo_script_helper::controlEnable(const kovo_string& panel, const kovo_string& control) {
    send(controlCommand("CE", panel, control));
}

void kovo_script_helper::controlDisable(const kovo_string& panel, const kovo_string& control) {
    send(controlCommand("CD", panel, control));
}

void kovo_script_helper::controlShow(const kovo_string& panel, const kovo_string& control) {
    send(controlCommand("CS", panel, control));
}

void kovo_script_helper::controlHide(const kovo_string& panel, const kovo_string& control) {
    send(controlCommand("CH", panel, control));
}

kovo_stringlist kovo_script_helper::controlList(const kovo_string& panel,
                                                const kovo_string& pattern) {
    char* answer = send(controlCommand("XI", panel, pattern));
    if (answer == nullptr) {
        return kovo_stringlist();
    }
    const kovo_string reply = takeReply(answer);
    // No control matched: an empty answer is an empty list, not one control named "".
    if (reply.isEmpty()) {
        return kovo_stringlist();
    }
    return kovo_stringlist(reply, ',');
}
