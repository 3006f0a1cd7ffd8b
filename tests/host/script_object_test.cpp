// The host reaches a Microsoft-ABI script through slot 1 for events and slot 0,
// with flag 1, to destroy it; a script of its own ABI through its virtual
// functions. The Microsoft-ABI object here is laid out by hand, as such a DLL
// lays it out: its first word points to the table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script_object.h"

using kovo_host::script_object;

namespace {

struct microsoft_layout_script {
    void* const* table;
    std::vector<std::string>* calls;
};

char reply[] = "notify=*";

void* deletingDestructor(void* self, unsigned flags) {
    auto* script = static_cast<microsoft_layout_script*>(self);
    script->calls->push_back("slot 0 flags " + std::to_string(flags));
    return self;
}

char* hostCallback(void* self, void* data, int eventType) {
    auto* script = static_cast<microsoft_layout_script*>(self);
    script->calls->push_back("slot 1 type " + std::to_string(eventType) + " data " +
                             static_cast<const char*>(data));
    return eventType == 3 ? reply : nullptr;
}

void* const microsoftTable[] = {reinterpret_cast<void*>(&deletingDestructor),
                                reinterpret_cast<void*>(&hostCallback)};

class own_abi_script final : public kovo_client_callback {
  public:
    explicit own_abi_script(std::vector<std::string>& calls) : calls_(calls) {}
    ~own_abi_script() override { calls_.push_back("destructor"); }
    char* hostCallback(void* data, int eventType) override {
        calls_.push_back("hostCallback type " + std::to_string(eventType) + " data " +
                         static_cast<const char*>(data));
        return nullptr;
    }

  private:
    std::vector<std::string>& calls_;
};

}  // namespace

TEST(ScriptObject, MicrosoftAbiEventsGoToSlotOneAndDestructionToSlotZeroWithFlagOne) {
    std::vector<std::string> calls;
    microsoft_layout_script object{microsoftTable, &calls};
    script_object script(reinterpret_cast<kovo_client_callback*>(&object),
                         kovo_os::cpp_abi::microsoft);
    char query[] = "_events";
    EXPECT_EQ(script.hostCallback(query, 3), reply);
    char text[] = "x";
    EXPECT_EQ(script.hostCallback(text, 2), nullptr);
    EXPECT_TRUE(script != nullptr);
    script.destroy();
    EXPECT_TRUE(script == nullptr);
    script.destroy();  // once only
    EXPECT_EQ(calls, (std::vector<std::string>{"slot 1 type 3 data _events", "slot 1 type 2 data x",
                                               "slot 0 flags 1"}));
}

TEST(ScriptObject, HostAbiScriptsAreCalledThroughTheirVirtualFunctions) {
    std::vector<std::string> calls;
    script_object script(new own_abi_script(calls), kovo_os::cpp_abi::host);
    char text[] = "y";
    EXPECT_EQ(script.hostCallback(text, 4), nullptr);
    script.destroy();
    EXPECT_TRUE(script == nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"hostCallback type 4 data y", "destructor"}));
    EXPECT_TRUE(script_object() == nullptr);
}
