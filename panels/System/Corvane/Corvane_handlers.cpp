// Corvane: the host's entry points besides construction, and the flashing
// countdowns of the two name editors.
#include "Corvane.h"
#include "panel_controls.h"

void Corvane::controlEvent(kovo_control_event& event) {
    const kovo_string id = event.panelId();
    // Only the shown panel's controls can be touched; an event for another one
    // (a raw event, or one that crossed a panel change) is dropped.
    if (id != shownPanel()) {
        return;
    }
    if (id == panel::home) {
        homePanelEvent(event);
    } else if (id == panel::namesEditor) {
        namesPanelEvent(event);
    } else if (id == panel::packageNameEditor) {
        packageNamePanelEvent(event);
    } else if (id == panel::packageContentEditor) {
        packageContentPanelEvent(event);
    }
}

int Corvane::revertiveEvent(kovo_revertive_event& event) {
    (void)event;
    return 0;
}

kovo_string Corvane::parentQuery(kovo_parent_query& query) {
    const kovo_string key = query.key();
    const kovo_string value = query.value();
    if (key == "return") {
        if (value == "all") {
            kovo_stringlist answer;
            answer << "myParam=" + myParam;
            return answer.toString('\n');
        }
        if (value == "myParam") {
            return value + "=" + myParam;
        }
        return kovo_string();
    }
    if (key == "instance") {
        if (value != instance) {
            instance = value;
        }
        return kovo_string();
    }
    if (key == "myParam") {
        myParam = value;
        return kovo_string();
    }
    if (key == "_events") {
        kovo_stringlist answer;
        answer << "notify=*";
        return answer.toString('\n');
    }
    if (key == "_commands") {
        kovo_stringlist answer;
        answer << "myParam=[value]";
        return answer.toString('\n');
    }
    return kovo_string();
}

void Corvane::databaseEvent(kovo_database_event& event) {
    if (!namesEditorActive) {
        return;
    }
    // Only the long names of the open list are followed; the short names are
    // read afresh whenever an entry is chosen.
    if (event.device() != namesDevice || event.database() != namesDatabase) {
        return;
    }
    const int index = event.index();
    if (index < 1 || index > namesListSize) {
        return;  // no entry of the list stands for it
    }
    textPut(kovo_string("replace.id.%1").arg(index - 1),
            kovo_string("%1 = ").arg(index, '0', 3) + event.name(), panel::namesEditor, "MtxNames");
}

void Corvane::putFlashPhase(const kovo_string& panel, int count) {
    const bool odd = count % 2 != 0;
    textPut("statesheet", odd ? "QD_Update_High" : "QD_Update_Low", panel, "Update");
    textPut("statesheet", odd ? "QD_Cancel_Low" : "QD_Cancel_High", panel, "Cancel");
}

bool Corvane::countDown(int& count, const kovo_string& panel) {
    --count;
    putFlashPhase(panel, count);
    return count == 0;
}

void Corvane::timerEvent(int timerId) {
    // A tick while no countdown runs (it ended, or never started) comes from a
    // timer that should not be running: it is stopped, and nothing else happens.
    if ((timerId == 1 && namesBlinkCount <= 0) || (timerId == 2 && packageBlinkCount <= 0)) {
        timerStop(timerId);
        return;
    }
    if (timerId == 1) {
        if (!countDown(namesBlinkCount, panel::namesEditor)) {
            return;
        }
        timerStop(1);
        // A change not written by now is dropped: show the names as stored.
        namesChangeWaiting = false;
        showStoredNames();
        controlDisable(panel::namesEditor, "Update");
        controlDisable(panel::namesEditor, "Cancel");
        controlEnable(panel::namesEditor, "LongName");
        controlEnable(panel::namesEditor, "ShortName");
        controlEnable(panel::namesEditor, "KB_1");
    } else if (timerId == 2) {
        if (!countDown(packageBlinkCount, panel::packageNameEditor)) {
            return;
        }
        // The same close as the package name editor's Cancel: nothing is written.
        closePackageNameChange(false);
    } else {
        timerStop(timerId);
    }
}
