// hostCallback: which handler each event type reaches, what goes back to the host,
// and the ownership of parent-query replies.
#include <cstdint>
#include <cstring>

#include "panel_fixture.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {
void* timerPointer(std::uintptr_t bits) {
    return reinterpret_cast<void*>(bits);
}
}  // namespace

TEST_F(PanelTest, ConstructionStoresTheLinkAndInstanceWithAlarmsOff) {
    TestPanel other(nullptr, "panels/System/Lindqar");
    EXPECT_EQ(other.instance(), "panels/System/Lindqar");
    EXPECT_EQ(other.link(), nullptr);
    EXPECT_FALSE(other.alarmsEnabled());
    EXPECT_EQ(panel->link(), &link);
    EXPECT_TRUE(link.commands().empty());  // the framework itself sends nothing at start
}

TEST_F(PanelTest, EachEventTypeReachesItsHandlerAndReturnsNull) {
    kovo_key_value text("button=released");
    kovo_control_record control{nullptr, nullptr, "2", "Save", &text};
    kovo_database_record database{101, 1, 12, 0, "Cam 1"};
    int hostRecord = 0;

    EXPECT_EQ(panel->hostCallback(&hostRecord, KOVO_EVENT_REVERTIVE), nullptr);
    EXPECT_EQ(panel->hostCallback(&control, KOVO_EVENT_CONTROL), nullptr);
    EXPECT_EQ(panel->hostCallback(timerPointer(3), KOVO_EVENT_TIMER), nullptr);
    EXPECT_EQ(panel->hostCallback(&database, KOVO_EVENT_DATABASE), nullptr);
    EXPECT_EQ(panel->hostCallback(&hostRecord, KOVO_EVENT_HOST_NOTICE), nullptr);
    EXPECT_THAT(panel->calls, ElementsAre("revertive", "control 2 Save button=released", "timer 3",
                                          "database 101 1 12 Cam 1", "notice"));
}

TEST_F(PanelTest, UnknownEventTypesReachNoHandler) {
    int hostRecord = 0;
    for (int type : {0, 8, 9, -1, 1000}) {
        EXPECT_EQ(panel->hostCallback(&hostRecord, type), nullptr) << type;
    }
    EXPECT_THAT(panel->calls, IsEmpty());
    EXPECT_TRUE(link.commands().empty());
}

TEST_F(PanelTest, TimerIdIsTheLow32BitsOfThePointer) {
    const auto minusOne = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(-1));
    panel->hostCallback(timerPointer(minusOne), KOVO_EVENT_TIMER);  // widened without sign
    panel->hostCallback(timerPointer(static_cast<std::uintptr_t>(std::intptr_t{-1})),
                        KOVO_EVENT_TIMER);  // widened with sign
    panel->hostCallback(nullptr, KOVO_EVENT_TIMER);
    EXPECT_THAT(panel->calls, ElementsAre("timer -1", "timer -1", "timer 0"));
}

TEST_F(PanelTest, MissingRecordsReadAsEmpty) {
    kovo_control_record noText{nullptr, nullptr, nullptr, "Save", nullptr};
    panel->hostCallback(&noText, KOVO_EVENT_CONTROL);
    panel->hostCallback(nullptr, KOVO_EVENT_CONTROL);
    panel->hostCallback(nullptr, KOVO_EVENT_DATABASE);
    EXPECT_THAT(panel->calls, ElementsAre("control  Save =", "control   =", "database 0 0 0 "));
}

TEST_F(PanelTest, ParentQueryReplyIsAFreshBufferFreedOnRelease) {
    panel->queryReply = "notify=*";
    char* reply = panel->hostCallback(const_cast<char*>("_events"), KOVO_EVENT_PARENT_QUERY);
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(std::memcmp(reply, "notify=*", 9), 0);  // the text and its terminating zero
    char* second = panel->hostCallback(const_cast<char*>("return=all"), KOVO_EVENT_PARENT_QUERY);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, reply);
    // Under the sanitizers a mismatched or doubled release fails here.
    EXPECT_EQ(panel->hostCallback(reply, KOVO_EVENT_RELEASE), nullptr);
    EXPECT_EQ(panel->hostCallback(second, KOVO_EVENT_RELEASE), nullptr);
    EXPECT_EQ(panel->hostCallback(nullptr, KOVO_EVENT_RELEASE), nullptr);
    EXPECT_THAT(panel->calls, ElementsAre("query _events=", "query return=all"));
}

TEST_F(PanelTest, EmptyParentQueryReplyIsNull) {
    panel->queryReply = "";
    EXPECT_EQ(panel->hostCallback(const_cast<char*>("instance"), KOVO_EVENT_PARENT_QUERY), nullptr);
    // A null query still reaches parentQuery, with an empty key and value.
    EXPECT_EQ(panel->hostCallback(nullptr, KOVO_EVENT_PARENT_QUERY), nullptr);
    EXPECT_THAT(panel->calls, ElementsAre("query instance=", "query ="));
}

TEST_F(PanelTest, AlarmButtonsAreOrdinaryControlsWhileAlarmsAreOff) {
    kovo_key_value ack("button=released");
    kovo_key_value action("alarm=ack");
    kovo_control_record ackAll{nullptr, nullptr, "1", "AckAll", &ack};
    kovo_control_record actionAll{nullptr, nullptr, "1", "ActionAll", &action};
    panel->hostCallback(&ackAll, KOVO_EVENT_CONTROL);
    panel->hostCallback(&actionAll, KOVO_EVENT_CONTROL);
    EXPECT_THAT(panel->calls,
                ElementsAre("control 1 AckAll button=released", "control 1 ActionAll alarm=ack"));
    EXPECT_TRUE(link.commands().empty());
}

TEST_F(PanelTest, DestructionSendsAsLastAndOnlyOnce) {
    panel->textPut("x", "1", "c");
    panel.reset();
    EXPECT_THAT(link.commands(), ElementsAre("TP 'x' '1' 'c'", "AS"));
    panel = std::make_unique<TestPanel>(nullptr, "");  // no link: nothing is sent
}

TEST(ScriptLifetime, DestroyingThroughTheHostInterfaceSendsAs) {
    RecordingHostLink link;
    kovo_client_callback* script = new TestPanel(&link, "");
    delete script;
    EXPECT_THAT(link.commands(), ElementsAre("AS"));
    EXPECT_THAT(link.problems(), IsEmpty());
}
