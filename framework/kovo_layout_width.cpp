// The layout width every panel script chooses at start-up.
#include "kovo_script_helper.h"

kovo_string kovo_script_helper::layoutWidthText(const kovo_string& scriptName) {
    const int width = getWorkstationSetting("screenwidth").toInt();
    if (width == 1024 || width == 1280) {
        return kovo_string(width, ' ');
    }
    const char* problem = width == 0 ? ":: No screenwidth parameter found in workstations.xml "
                                     : ":: Unsupported screenwidth parameter found in "
                                       "workstations.xml ";
    debug("\n" + scriptName + problem + "for workstation " + kovo_string(workstationNumber(), ' ') +
          ".\n");
    return "1024";
}
