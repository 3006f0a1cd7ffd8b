// Lindqar: editor of the button-mapping data of matrices. For each matrix, and
// separately for its sources and destinations, 12 groups of 30 buttons: which
// crosspoint each button stands for, which groups are enabled, and the group
// names. Four panels, one shown at a time:
//   "1" home page (choice of matrix and function), "2" group map editor,
//   "3" group enables editor, "4" group names editor.
// Everything lives in the matrix device's own databases; the plug-in holds only
// the working copy of the editor that is open.
#pragma once

#include <vector>

#include "kovo_script_helper.h"
#include "kovo_string.h"
#include "map_store_text.h"

class Lindqar : public kovo_script_helper {
  public:
    static constexpr int groupCount = map_store::groupCount;
    static constexpr int elementCount = map_store::elementCount;

    Lindqar(kovo_host_link* link, const char* instance);
    ~Lindqar() override;

    void controlEvent(kovo_control_event& event) override;
    int revertiveEvent(kovo_revertive_event& event) override;
    kovo_string parentQuery(kovo_parent_query& query) override;
    void timerEvent(int timerId) override;

  private:
    // Panel "1".
    void homePageEvent(kovo_control_event& event);
    void updateEditButton();
    void stepMatrixNumber(int step);
    void clearHomeSelection();
    // Marks the touched button of a row (pattern "XPT_map_%1" or "FN_%1") as its
    // one choice, its number kept in number and selected.
    void markHomeButton(const char* pattern, const kovo_string& touched, int& number,
                        bool& selected);
    void unmarkHomeButton(const char* pattern, int number, bool& selected);
    int matrixDeviceFor(int matrixButton);
    void openEditor();

    // Panel "2".
    void loadMatrixMap(int device, int database);
    void mapEditorEvent(kovo_control_event& event);
    void showGroupElements(int group);
    void refreshMappedTo();
    void updateSetMapButton();
    void refreshUnmapped();
    void chooseMapGroup(int group);
    void chooseMapElement(int element);
    void chooseXpoint();
    void setMap();
    void clearMap();
    void clearMapChoice();
    void cancelMapEditor();
    void saveMap();
    void markMapDirty();
    void unmarkMapControl(const char* pattern, int& number);

    // Panel "3".
    void loadGroupEnables();
    void enablesEditorEvent(kovo_control_event& event);

    // Panel "4".
    void loadGroupNames();
    void namesEditorEvent(kovo_control_event& event);
    void startTyping(int group);
    void endTyping();
    void cancelNamesEditor();
    void saveNames();

    // Shared by the panels.
    // "statesheet" QDSourceSelected / QDSourceDeselected on a control.
    void putSelected(const kovo_string& panel, const kovo_string& control, bool selected);
    // "Matrix no. 012 Source" / "... Destination": the start of the titles of
    // panels 3 and 4.
    kovo_string matrixTitle(bool source) const;
    // The open matrix has a device to save to. A router the host cannot
    // resolve, or a matrix button outside the router table, opens its editor
    // on device 0, which is no device: a save writes nothing there and says so
    // in one debug line (what names the data not saved).
    bool matrixSavable(const char* what);
    // Leaves an editor panel for the home page.
    void returnHome(const kovo_string& fromPanel);

    static bool validGroup(int g) { return g >= 1 && g <= groupCount; }
    static bool validElement(int e) { return e >= 1 && e <= elementCount; }

    kovo_string homePageFile;
    kovo_string xpointMapFile;
    kovo_string groupMapFile;
    kovo_string groupNameFile;
    int matrixDevice = 0;
    int editDatabase = 0;
    int xpointCount = 0;
    int selectedMatrixButton = 0;
    int selectedFunction = 0;
    int freeMatrixNumber = 1;
    int groupMap[groupCount][elementCount] = {};
    int selectedGroup = 0;
    int selectedElement = 0;
    int selectedXpoint = 0;
    int enablesIndex = 0;
    int enablesLabelDatabase = 0;
    int groupNamesDatabase = 0;
    int editedGroup = 0;
    kovo_string groupNames[groupCount];
    bool matrixSelected = false;
    bool functionSelected = false;
    bool editEnabled = false;
    bool mapSaveEnabled = false;
    bool setMapEnabled = false;
    bool groupChanged[groupCount] = {};
    // By crosspoint number 0..n for a database of n entries: mapped in some
    // group. Sized to the database on every refresh, so any router size works.
    std::vector<bool> xpointUsed;
    bool groupEnabled[groupCount] = {};
    bool enablesChanged = false;
    bool namesChanged = false;
    bool nameChanged[groupCount] = {};
    // A group name is being typed on panel 4: only the keyboard is enabled.
    bool typingName = false;
};
