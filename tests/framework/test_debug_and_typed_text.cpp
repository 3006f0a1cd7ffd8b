// Debug output formatting, and the rule that makes typed text safe for the host.
#include "kovo_typed_text.h"
#include "panel_fixture.h"

TEST(Debug, OneStringGoesOutUnchanged) {
    TestPanel panel(nullptr, "");
    EXPECT_EQ(debugOutputOf([&] { panel.debug("a %1 line\n"); }), "a %1 line\n");
    EXPECT_EQ(debugOutputOf([&] { panel.debug(""); }), "");
}

TEST(Debug, MarkersTakeTheirArgumentsInOnePass) {
    TestPanel panel(nullptr, "");
    EXPECT_EQ(debugOutputOf([&] {
                  panel.debug("%1-%2-%3-%4-%5-%6-%7-%8-%9", "a", "b", "c", "d", "e", "f", "g", "h",
                              "i");
              }),
              "a-b-c-d-e-f-g-h-i");
    // Inserted text is never scanned again: a name holding "%2" stays as it is.
    EXPECT_EQ(debugOutputOf([&] {
                  panel.debug("name %1 on %2\n", "Cam %2", "panel", "", "", "", "", "", "", "");
              }),
              "name Cam %2 on panel\n");
    // Unused trailing arguments change nothing; repeated and out-of-order markers work;
    // "%0", "%%" and a lone "%" at the end are plain text, "%10" is %1 then "0".
    EXPECT_EQ(debugOutputOf([&] {
                  panel.debug("%2 %1 %1 %0 %% %10 %", "x", "y", "", "", "", "", "", "", "");
              }),
              "y x x %0 %% x0 %");
}

TEST(HostSafeText, QuotesBecomeBackticksAndControlCharactersSpaces) {
    EXPECT_STREQ(hostSafeText("Cam 1").c_str(), "Cam 1");
    EXPECT_STREQ(hostSafeText("it's 'x'").c_str(), "it`s `x`");
    EXPECT_STREQ(hostSafeText("a\tb\nc\rd\x1f"
                              "e\x7f"
                              "f")
                     .c_str(),
                 "a b c d e f");
    EXPECT_STREQ(hostSafeText("").c_str(), "");
    // Bytes of UTF-8 sequences and the rest of printable ASCII stay as typed.
    EXPECT_STREQ(hostSafeText("Caf\xc3\xa9 \"%1\" `~").c_str(), "Caf\xc3\xa9 \"%1\" `~");
}

TEST_F(PanelTest, SafeTextKeepsAWrittenNameInOnePiece) {
    debugOutputOf([&] { panel->databaseModifyName(5, 0, 1, hostSafeText("O'Neil\n"), false); });
    EXPECT_EQ(link.commands().front(), "RM 5 0 1 'O`Neil ' 0");
}
