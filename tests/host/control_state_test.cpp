#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "control_state.h"
#include "device_map.h"

using namespace kovo_host;

namespace {

control_state makeControl(control_kind kind) {
    control_state control;
    control.id = "C";
    control.kind = kind;
    control.declared = true;
    return control;
}

}  // namespace

TEST(ControlState, PropertiesIncludingDottedKeys) {
    control_state button = makeControl(control_kind::button);
    applyPut(button, "text=Cam 1");
    applyPut(button, "statesheet=alarm_alarm");
    applyPut(button, "device.map=110");
    applyPut(button, "text=a=b");
    EXPECT_EQ(button.property("text"), "a=b");
    EXPECT_EQ(button.property("statesheet"), "alarm_alarm");
    EXPECT_EQ(button.property("device.map"), "110");
    EXPECT_EQ(getAnswer(button, "text"), "text=a=b");
    EXPECT_EQ(getAnswer(button, "value"), "value=");
    EXPECT_NE(applyPut(button, "clear").note, "");
}

TEST(ControlState, ListEntriesReplaceAndSelection) {
    control_state list = makeControl(control_kind::list);
    applyPut(list, "add=001 = Camera 1");
    applyPut(list, "add=002 = Camera 2");
    applyPut(list, "add=003 = Camera 3");
    applyPut(list, "replace.id.1=002 = Studio 4");
    EXPECT_EQ(list.entries[1], "002 = Studio 4");
    EXPECT_EQ(getAnswer(list, "selectedindex"), "selectedindex=-1");
    applyPut(list, "selected=2");
    EXPECT_EQ(getAnswer(list, "selectedindex"), "selectedindex=2");
    applyPut(list, "selected=none");
    EXPECT_EQ(list.selectedIndex, -1);
    // Positions outside the list change nothing and say so.
    EXPECT_NE(applyPut(list, "replace.id.3=x").note, "");
    EXPECT_NE(applyPut(list, "replace.id.-1=x").note, "");
    EXPECT_NE(applyPut(list, "replace.id.9999999999=x").note, "");
    EXPECT_NE(applyPut(list, "selected=7").note, "");
    EXPECT_EQ(list.entries.size(), 3u);
    list.selectedIndex = 1;
    applyPut(list, "clear");
    EXPECT_TRUE(list.entries.empty());
    EXPECT_EQ(list.selectedIndex, -1);
}

TEST(ControlState, DeviceMapButtonPressesAndDroppedChoice) {
    control_state group = makeControl(control_kind::groupselector);
    EXPECT_EQ(applyPut(group, "button.001=released").pressButton, 1);
    EXPECT_EQ(applyPut(group, "button.012=released").pressButton, 12);
    EXPECT_EQ(applyPut(group, "button.013=released").pressButton, 0);
    EXPECT_EQ(applyPut(group, "button.x=released").pressButton, 0);
    control_state map = makeControl(control_kind::namemap);
    EXPECT_EQ(applyPut(map, "button.030=released").pressButton, 30);
    map.chosen = 4;
    applyPut(map, "index=-1");
    EXPECT_EQ(map.chosen, 0);
}

namespace {

// A small name store: router 7 with group names, enables and one page of map data.
struct fake_names {
    std::map<std::tuple<int, int, int>, std::string> names;
    name_lookup lookup() const {
        return [this](int d, int b, int i) -> std::optional<std::string> {
            auto found = names.find({d, b, i});
            if (found == names.end()) {
                return std::nullopt;
            }
            return found->second;
        };
    }
};

}  // namespace

TEST(DeviceMap, GroupSelectorLabelsAndEnables) {
    fake_names store;
    store.names[{7, 4, 1}] = "Cameras";
    store.names[{7, 4, 2}] = "VT";
    store.names[{8, 8, 201}] = "001,000,003";
    control_state group = makeControl(control_kind::groupselector);
    for (const char* put : {"device=7", "device.map=8", "namesdb=4", "mapdb=8", "mapoffset=200"}) {
        applyPut(group, put);
    }
    const std::vector<map_button> buttons = groupSelectorButtons(group, store.lookup());
    ASSERT_EQ(buttons.size(), 12u);
    EXPECT_EQ(buttons[0].label, "Cameras");
    EXPECT_TRUE(buttons[0].enabled);
    EXPECT_FALSE(buttons[1].enabled);  // field 000
    EXPECT_TRUE(buttons[2].enabled);   // the field's position decides, its value only enables
    EXPECT_FALSE(buttons[3].enabled);  // no field at all
    EXPECT_EQ(buttons[11].index, 12);
}

TEST(DeviceMap, NameMapPageEntriesAndEmptyButtons) {
    fake_names store;
    store.names[{7, 8, 102}] = "005,000,017";
    store.names[{7, 1, 5}] = "Monitor 5";
    store.names[{7, 1, 17}] = "TX Main";
    control_state map = makeControl(control_kind::namemap);
    for (const char* put :
         {"device=7", "device.map=7", "namesdb=1", "mapdb=8", "mapoffset=100", "page=2"}) {
        applyPut(map, put);
    }
    std::vector<map_button> buttons = nameMapButtons(map, store.lookup());
    ASSERT_EQ(buttons.size(), 30u);
    EXPECT_EQ(buttons[0].index, 5);
    EXPECT_EQ(buttons[0].label, "Monitor 5");
    EXPECT_EQ(buttons[1].index, -1);
    EXPECT_EQ(buttons[2].label, "TX Main");
    EXPECT_EQ(buttons[29].index, -1);
    // Device 0 (the maps reset) and a huge offset show nothing and do not overflow.
    applyPut(map, "mapoffset=2147483647");
    EXPECT_EQ(nameMapButtons(map, store.lookup())[0].index, -1);
    applyPut(map, "device.map=0");
    EXPECT_EQ(nameMapButtons(map, store.lookup())[0].index, -1);
}
