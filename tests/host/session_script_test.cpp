#include <gtest/gtest.h>

#include "session_script.h"

using namespace kovo_host;

namespace {

script_line parsed(const std::string& text) {
    script_line line;
    std::string error;
    EXPECT_TRUE(parseScriptLine(text, 1, line, error)) << text << ": " << error;
    return line;
}

std::string errorOf(const std::string& text) {
    script_line line;
    std::string error;
    EXPECT_FALSE(parseScriptLine(text, 1, line, error)) << text;
    return error;
}

}  // namespace

TEST(SessionScript, RestOfLineIsTakenAsItStands) {
    EXPECT_EQ(parsed("expect TP 'text=' '2' 'LongName'").rest, "TP 'text=' '2' 'LongName'");
    EXPECT_EQ(parsed("type ed 2 KB_1  two  spaces ").rest, " two  spaces ");
    const script_line rename = parsed("rename 101 0 5 VT 1 = Replay");
    EXPECT_EQ(rename.device, 101);
    EXPECT_EQ(rename.index, 5);
    EXPECT_EQ(rename.rest, "VT 1 = Replay");
    EXPECT_EQ(parsed("expect-name 101 0 5").rest, "");
    EXPECT_EQ(parsed("expect ET 1\r").rest, "ET 1");
    EXPECT_FALSE(parsed("query ws").hasRest);
    EXPECT_TRUE(parsed("query ws return=all").hasRest);
}

TEST(SessionScript, LoadOptions) {
    const script_line load = parsed("load ws Tavisk instance=panels/System/Tavisk workstation=12");
    EXPECT_EQ(load.name, "ws");
    EXPECT_EQ(load.plugin, "Tavisk");
    EXPECT_TRUE(load.hasInstance);
    EXPECT_EQ(load.instance, "panels/System/Tavisk");
    EXPECT_EQ(load.workstation, 12);
    EXPECT_EQ(parsed("load ws Tavisk").workstation, -1);
    EXPECT_TRUE(parsed("load ws Tavisk instance=").hasInstance);
    EXPECT_EQ(parsed("load ws Tavisk site=sites/demo").site, "sites/demo");
    EXPECT_EQ(parsed("load ws Tavisk").site, "");
}

TEST(SessionScript, CommentsBlankLinesAndActions) {
    EXPECT_EQ(parsed("# press ws 1 A").kind, line_kind::blank);
    EXPECT_EQ(parsed("   ").kind, line_kind::blank);
    EXPECT_TRUE(parsed("advance 250").isAction());
    EXPECT_TRUE(parsed("rename 1 0 1 x").isAction());
    EXPECT_FALSE(parsed("show ws").isAction());
    EXPECT_FALSE(parsed("expect-none").isAction());
}

TEST(SessionScript, LinesThatCannotBeRead) {
    EXPECT_EQ(errorOf("presss ws 1 A"), "unknown instruction \"presss\" (try help)");
    EXPECT_EQ(errorOf("press ws 1"), "too few words: press NAME PANEL CONTROL");
    EXPECT_EQ(errorOf("press ws 1 A B"), "too many words: press NAME PANEL CONTROL");
    EXPECT_EQ(errorOf("choose ed 2 MtxNames first"),
              "the position must be a number, not \"first\"");
    EXPECT_NE(errorOf("advance -5"), "");
    EXPECT_NE(errorOf("advance soon"), "");
    EXPECT_NE(errorOf("load ws Tavisk width=12"), "");
    EXPECT_NE(errorOf("load ws Tavisk workstation=x"), "");
    EXPECT_NE(errorOf("load ws Tavisk site="), "");
    EXPECT_NE(errorOf("expect"), "");
    EXPECT_NE(errorOf("rename 101 zero 5 x"), "");
}

TEST(SessionScript, WholeScriptNamesFileAndLine) {
    std::vector<script_line> lines;
    std::string error;
    EXPECT_FALSE(parseScript("load ws Tavisk\n\n# fine\nprss ws 1 A\n", "s.kovo", lines, error));
    EXPECT_EQ(error, "s.kovo:4: unknown instruction \"prss\" (try help)");
    lines.clear();
    EXPECT_TRUE(parseScript("load ws Tavisk\n# c\nunload ws", "s.kovo", lines, error));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].number, 3);
}
