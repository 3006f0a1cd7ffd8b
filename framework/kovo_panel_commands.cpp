// Panel and control commands: PS, PI, PR, TP, TG, CE, CD, CS, CH, XI.
#include "kovo_command_text.h"
#include "kovo_script_helper.h"
#include "kovo_text.h"

using kovo_command_text::builder;

namespace {
// "XX 'panel' 'control'", the shape shared by the control commands.
builder& panelAndControl(builder& text, const kovo_string& panel, const kovo_string& control) {
    return text.quoted(panel).quoted(control);
}
}  // namespace

bool kovo_script_helper::panelCommand(const char* command, const kovo_string& panel,
                                      const kovo_string& layout, const kovo_string& extra) {
    if (hostLink == nullptr) {
        return true;
    }
    builder text(command);
    text.quoted(panel).quotedPath(instanceString, layout);
    if (!isEmpty(extra)) {
        text.quoted(extra);
    }
    // A status, not a buffer: it is never given back.
    return send(text.c_str()) != nullptr;
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
    builder text("PR");
    return send(text.quoted(panel).c_str()) != nullptr;
}

void kovo_script_helper::textPut(const kovo_string& text, const kovo_string& panel,
                                 const kovo_string& control) {
    if (hostLink == nullptr) {
        return;
    }
    builder command("TP");
    send(panelAndControl(command.quoted(text), panel, control).c_str());
}

void kovo_script_helper::textPut(const kovo_string& property, const kovo_string& value,
                                 const kovo_string& panel, const kovo_string& control) {
    if (hostLink == nullptr) {
        return;
    }
    builder command("TP");
    send(panelAndControl(command.quoted(property, value), panel, control).c_str());
}

void kovo_script_helper::textGet(const kovo_string& property, const kovo_string& panel,
                                 const kovo_string& control, kovo_string& out) {
    char* answer = nullptr;
    if (hostLink != nullptr) {
        builder command("TG");
        answer = send(panelAndControl(command, panel, control).quoted(property).c_str());
    }
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
        out = std::move(value);
        return;
    }
    debug(
        "textGet: value returned \"%1\" was not the value requested \"%2\" (value returned was "
        "\"%3\" from control \"%4\", on panel \"%5\")",
        key, property, reply, control, panel, "", "", "", "");
    out = "";
}

void kovo_script_helper::controlCommand(const char* command, const kovo_string& panel,
                                        const kovo_string& control) {
    if (hostLink == nullptr) {
        return;
    }
    builder text(command);
    send(panelAndControl(text, panel, control).c_str());
}

void kovo_script_helper::controlEnable(const kovo_string& panel, const kovo_string& control) {
    controlCommand("CE", panel, control);
}

void kovo_script_helper::controlDisable(const kovo_string& panel, const kovo_string& control) {
    controlCommand("CD", panel, control);
}

void kovo_script_helper::controlShow(const kovo_string& panel, const kovo_string& control) {
    controlCommand("CS", panel, control);
}

void kovo_script_helper::controlHide(const kovo_string& panel, const kovo_string& control) {
    controlCommand("CH", panel, control);
}

kovo_stringlist kovo_script_helper::controlList(const kovo_string& panel,
                                                const kovo_string& pattern) {
    if (hostLink == nullptr) {
        return kovo_stringlist();
    }
    builder text("XI");
    char* answer = send(panelAndControl(text, panel, pattern).c_str());
    if (answer == nullptr) {
        return kovo_stringlist();
    }
    const kovo_string reply = takeReply(answer);
    // No control matched: an empty answer is an empty list, not one control named "".
    if (isEmpty(reply)) {
        return kovo_stringlist();
    }
    return kovo_stringlist(reply, ',');
}
