// Framework-internal: the alarm pre-handling that the dispatcher runs on control
// events when a panel has set alarmEnabled.
#pragma once

#include "kovo_events.h"

class kovo_script_helper;

// Handles "ActionAll" (with an "alarm" event key) and "AckAll" through
// alarmAction and returns true; returns false for every other control event,
// which then goes to the panel's controlEvent.
bool preHandleAlarmButtons(kovo_script_helper& script, const kovo_control_event& event);
