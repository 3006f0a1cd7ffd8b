// Session lines written from their parts: the text the recordings and the
// reproducers hold, and the same line read back.
#include <gtest/gtest.h>

#include <filesystem>

#include "script_writer.h"

using namespace kovo_host;

namespace {

script_line readBack(const std::string& text) {
    script_line line;
    std::string error;
    EXPECT_TRUE(parseScriptLine(text, 1, line, error)) << text << ": " << error;
    return line;
}

}  // namespace

TEST(ScriptWriter, EveryLineReadsBackAsWritten) {
    struct written {
        script_line line;
        std::string text;
    };
    const written cases[] = {
        {loadLine("ws", "Tavisk", 12), "load ws Tavisk workstation=12"},
        {loadLine("ws", "Tavisk", -1), "load ws Tavisk"},
        {loadLine("p", "Tavisk", "sites/x/layouts", 12),
         "load p Tavisk instance=sites/x/layouts workstation=12"},
        {unloadLine("ws"), "unload ws"},
        {pressLine("ws", "1", "WS_01"), "press ws 1 WS_01"},
        {chooseLine("cv", "2", "MtxNames", 4), "choose cv 2 MtxNames 4"},
        {typeLine("cv", "2", "KB_1", " Guest  Cam "), "type cv 2 KB_1  Guest  Cam "},
        {typeLine("cv", "2", "KB_1", ""), "type cv 2 KB_1 "},
        {eventLine("ws", "1", "Confirm", "button=released"), "event ws 1 Confirm button=released"},
        {queryLine("ws", "return=all", true), "query ws return=all"},
        {queryLine("ws", "", false), "query ws"},
        {renameLine(101, 0, 2, "Guest Cam"), "rename 101 0 2 Guest Cam"},
        {dbeventLine("cv", 101, 0, -1, "O'Brien"), "dbevent cv 101 0 -1 O'Brien"},
        {dbeventLine("cv", 0, 64, 1, ""), "dbevent cv 0 64 1 "},
        {tickLine("ws", -2147483647 - 1), "tick ws -2147483648"},
        {advanceLine(300), "advance 300"},
        {answersLine("nonnumber"), "answers nonnumber"},
        {invariantsLine(true), "invariants on"},
        {expectLine("TP 'text=a b' '1' 'L'"), "expect TP 'text=a b' '1' 'L'"},
        {expectNoneLine(), "expect-none"},
        {expectPxLine(12, "PX c:\\x.exe /s"), "expect-px 12 PX c:\\x.exe /s"},
        {expectAnswerLine(""), "expect-answer "},
        {siteLine("sites/demo"), "site sites/demo"},
    };
    for (const written& c : cases) {
        const std::string text = writeScriptLine(c.line);
        EXPECT_EQ(text, c.text);
        const script_line back = readBack(text);
        EXPECT_EQ(back.kind, c.line.kind) << text;
        EXPECT_EQ(back.name, c.line.name) << text;
        EXPECT_EQ(back.plugin, c.line.plugin) << text;
        EXPECT_EQ(back.instance, c.line.instance) << text;
        EXPECT_EQ(back.hasInstance, c.line.hasInstance) << text;
        EXPECT_EQ(back.mode, c.line.mode) << text;
        EXPECT_EQ(back.panel, c.line.panel) << text;
        EXPECT_EQ(back.control, c.line.control) << text;
        EXPECT_EQ(back.rest, c.line.rest) << text;
        EXPECT_EQ(back.hasRest, c.line.hasRest) << text;
        EXPECT_EQ(back.workstation, c.line.workstation) << text;
        EXPECT_EQ(back.position, c.line.position) << text;
        EXPECT_EQ(back.ms, c.line.ms) << text;
        EXPECT_EQ(back.device, c.line.device) << text;
        EXPECT_EQ(back.database, c.line.database) << text;
        EXPECT_EQ(back.index, c.line.index) << text;
        EXPECT_EQ(back.on, c.line.on) << text;
    }
}

TEST(ScriptWriter, ALineEndCannotStandOnALine) {
    EXPECT_TRUE(fitsOnLine("TP 'text=x' '1' 'L'"));
    EXPECT_FALSE(fitsOnLine("a\nb"));
    EXPECT_FALSE(fitsOnLine("a\rb"));
}

TEST(ScriptWriter, ASiteInsideTheRootIsNamedRelativeToIt) {
    namespace fs = std::filesystem;
    const fs::path root = fs::weakly_canonical(fs::temp_directory_path());
    EXPECT_EQ(writeScriptLine(siteLine((root / "sites" / "demo").string(), root.string())),
              "site sites/demo");
    const std::string elsewhere = (root.parent_path() / "other-site").string();
    EXPECT_EQ(writeScriptLine(siteLine(elsewhere, (root / "sites").string())), "site " + elsewhere);
    EXPECT_EQ(writeScriptLine(siteLine("/abs/site")), "site /abs/site");
}
