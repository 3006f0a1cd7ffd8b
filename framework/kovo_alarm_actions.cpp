// The "ActionAll" and "AckAll" buttons and what they do to every "alm_" control of panel 1.
#include "kovo_alarm_actions.h"

#include "kovo_command_text.h"
#include "kovo_script_helper.h"

namespace {
// The acknowledge level.
constexpr int ackLevel = 4;
constexpr int noLevel = -1;

// "ack" is the acknowledge level; any one-character action is its decimal value;
// everything else sets no level.
int actionLevel(const kovo_string& action) {
    if (action == "ack") {
        return ackLevel;
    }
    if (action.length() == 1) {
        return action.toInt();
    }
    return noLevel;
}

// Acknowledging leaves the values 0 and 2 to 5 alone and resets every other one.
bool needsAcknowledge(int value) {
    return value == 1 || value < 0 || value > 5;
}
}  // namespace

bool preHandleAlarmButtons(kovo_script_helper& script, const kovo_control_event& event) {
    const kovo_string control = event.controlId();
    if (control == "ActionAll" && event.eventKey() == "alarm") {
        script.alarmAction(event.eventValue());
        return true;
    }
    if (control == "AckAll") {
        script.alarmAction(kovo_command_text::decimal(ackLevel));
        return true;
    }
    return false;
}

void kovo_script_helper::alarmAction(const kovo_string& action) {
    const int level = actionLevel(action);
    const kovo_string panel("1");
    const kovo_stringlist controls = controlList(panel, "alm_");
    for (const kovo_string& control : controls) {
        textPut("alarm", action, panel, control);
        if (level == ackLevel) {
            kovo_string value;
            textGet("value", panel, control, value);
            if (needsAcknowledge(value.toInt())) {
                textPut("value", kovo_command_text::decimal(ackLevel), panel, control);
            }
        } else if (level != noLevel) {
            textPut("value", kovo_command_text::decimal(level), panel, control);
        }
    }
}
