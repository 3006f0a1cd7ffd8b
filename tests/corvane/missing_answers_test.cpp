// A host without an answer for some names: every name read for display or
// comparison starts from an empty text, so such a name shows and compares as
// empty, never as another entry's name. Studio T site, workstation 12; the
// recording link answers only the names a test gives it.
#include "corvane_driver.h"

namespace {

using Commands = std::vector<std::string>;

class CorvaneMissingAnswers : public CorvaneDriver {
  protected:
    void SetUp() override { start("tests/corvane/packages/sites/studio_t", "12"); }

    // Router "Video" (device 101) of area Studio T, source names (40 entries).
    Commands openSourceNames() {
        return choose({"Area_name_0", "Type_1", "Edit_what_1", "Router_1", "DoEdit"});
    }
    // Entry 2: long name "V Src 2", no short name.
    void chooseEntryTwo() {
        link.replyExactly("RN 101 0 2", "V Src 2");
        buttonHolds("LongName", "V Src 2");
        buttonHolds("ShortName", "");
        control("2", "MtxNames", "selected=002 = V Src 2");
    }
    const Commands entryTwoShown = {"RN 101 0 2", "TP 'text=V Src 2' '2' 'LongName'", "RN 101 2 2",
                                    "TP 'text=' '2' 'ShortName'"};
};

TEST_F(CorvaneMissingAnswers, ListEntriesWithoutAnswerAreEmpty) {
    link.replyExactly("RN 101 0 2", "V Src 2");
    const Commands list = after(openSourceNames(), "RN 101 0 1");
    ASSERT_GE(list.size(), 6u);
    EXPECT_EQ(Commands(list.begin(), list.begin() + 6),
              (Commands{"RN 101 0 1", "TP 'add=001 = ' '2' 'MtxNames'", "RN 101 0 2",
                        "TP 'add=002 = V Src 2' '2' 'MtxNames'", "RN 101 0 3",
                        "TP 'add=003 = ' '2' 'MtxNames'"}));
    EXPECT_EQ(link.nullReleases(), 39);
}

TEST_F(CorvaneMissingAnswers, ShortNameWithoutAnswerIsEmptyOnChoiceCancelAndCountdownEnd) {
    openSourceNames();
    link.replyExactly("RN 101 0 2", "V Src 2");
    EXPECT_EQ(control("2", "MtxNames", "selected=002 = V Src 2"), entryTwoShown);

    // A long name typed and cancelled: both names are read again, each on its own.
    buttonHolds("LongName", "V Src 2");
    keyboardHolds("2", "Wide");
    press("2", "LongName");
    control("2", "KB_1", "text=Wide");
    const Commands cancelled = press("2", "Cancel");
    ASSERT_GE(cancelled.size(), 4u);
    EXPECT_EQ(Commands(cancelled.begin(), cancelled.begin() + 4), entryTwoShown);

    // Typed again and left to the end of the countdown.
    press("2", "LongName");
    control("2", "KB_1", "text=Wide");
    for (int count = 9; count >= 1; --count) {
        tick(1);
    }
    EXPECT_EQ(after(tick(1), "RN 101 0 2"),
              (Commands{"RN 101 0 2", "TP 'text=V Src 2' '2' 'LongName'", "RN 101 2 2",
                        "TP 'text=' '2' 'ShortName'", "CD '2' 'Update'", "CD '2' 'Cancel'",
                        "CE '2' 'LongName'", "CE '2' 'ShortName'", "CE '2' 'KB_1'"}));
}

TEST_F(CorvaneMissingAnswers, UnchangedShortNameKeyboardOnAMissingShortNameWritesNothing) {
    openSourceNames();
    chooseEntryTwo();
    // The keyboard starts from the empty short name, not from the long name.
    EXPECT_EQ(press("2", "ShortName"),
              (Commands{"TG '2' 'ShortName' 'text'", "TP 'text=' '2' 'KB_1'", "CS '2' 'KB_1'",
                        "CD '2' 'LongName'", "CD '2' 'ShortName'", "CD '2' 'Home'",
                        "CD '2' 'MtxNames'", "CD '2' 'Cancel'", "CD '2' 'Update'"}));
    keyboardHolds("2", "");
    EXPECT_EQ(control("2", "KB_1", "text="),
              (Commands{"TG '2' 'ShortName' 'text'", "TG '2' 'KB_1' 'text'",
                        "TP 'text=' '2' 'KB_1'", "CH '2' 'KB_1'", "CE '2' 'LongName'",
                        "CE '2' 'ShortName'", "CE '2' 'MtxNames'", "CE '2' 'Home'"}));
    EXPECT_FALSE(anyStartsWith(press("2", "Update"), "RM"));

    // Typing a name for it is a change, written to the short names, cut to 8.
    press("2", "ShortName");
    keyboardHolds("2", "Camera 22 wide");
    EXPECT_EQ(
        after(control("2", "KB_1", "text=Camera 22 wide"), "TP 'text=Camera 2' '2' 'ShortName'")
            .size(),
        7u);
    EXPECT_EQ(press("2", "Update").front(), "RM 101 2 2 'Camera 2' 0");
}

TEST_F(CorvaneMissingAnswers, PackageNameWithoutAnswerIsEmptyAfterAnotherPackage) {
    choose({"Area_name_0", "Type_2", "Edit_what_1", "DoEdit"});
    link.replyExactly("RN 110 0 3", "Src Pkg 3");
    keyboardHolds("3", "Src Pkg 3");
    control("3", "PackageName", "index=3");
    control("3", "KB_1", "text=Src Pkg 3");  // unchanged: back to choosing
    EXPECT_EQ(control("3", "PackageName", "index=4"),
              (Commands{"TP 'text=4' '3' 'PkgNo'", "RN 110 0 4", "TP 'text=' '3' 'PreEdit'",
                        "TP 'text=' '3' 'PostEdit'", "TP 'text=' '3' 'KB_1'", "CS '3' 'KB_1'",
                        "CD '3' 'AllDone'", "CD '3' 'Group'", "CD '3' 'PackageName'"}));
    // Finishing the keyboard unchanged compares against the empty name: nothing waits.
    keyboardHolds("3", "");
    const Commands unchanged = control("3", "KB_1", "text=");
    EXPECT_FALSE(anyStartsWith(unchanged, "ET 2"));
    EXPECT_FALSE(anyStartsWith(press("3", "Update"), "RM"));
    // A typed name is a change and is written to package 4.
    control("3", "PackageName", "index=4");
    keyboardHolds("3", "Fresh");
    EXPECT_EQ(control("3", "KB_1", "text=Fresh").back(), "ET 2 1000");
    EXPECT_EQ(after(press("3", "Update"), "RM 110 0 4 'Fresh' 0").size(), 8u);
}

TEST_F(CorvaneMissingAnswers, LevelNameWithoutAnswerIsEmpty) {
    choose({"Area_name_0", "Type_3", "Edit_what_3", "DoEdit"});
    link.replyExactly("RN 111 0 1", "12,34,7");
    link.replyExactly("RN 101 0 12", "V Src 12");
    link.replyExactly("RN 103 0 7", "AES 7");
    EXPECT_EQ(
        after(control("4", "PackageName", "index=1"), "RN 110 0 1"),
        (Commands{"RN 110 0 1",       "TP 'text=' '4' 'PkgName'", "RN 111 0 1",
                  "RN 101 0 12",      "TP 'text=12' '4' 'V_ID'",  "TP 'text=V Src 12' '4' 'V_Name'",
                  "RN 102 0 34",      "TP 'text=34' '4' 'A_ID'",  "TP 'text=' '4' 'A_Name'",
                  "RN 103 0 7",       "TP 'text=7' '4' 'D_ID'",   "TP 'text=AES 7' '4' 'D_Name'",
                  "CE '4' 'ClrVid'",  "CE '4' 'ClrAud'",          "CE '4' 'ClrAES'",
                  "CE '4' 'V_Name'",  "CE '4' 'A_Name'",          "CE '4' 'D_Name'",
                  "CD '4' 'AllDone'", "CD '4' 'Group'",           "CD '4' 'PackageName'"}));
}

// A name the host gives with a quote or a control character is shown, and
// compared, in the form it could be written back in.
TEST_F(CorvaneMissingAnswers, NamesFromTheHostAreReadHostSafe) {
    link.replyExactly("RN 101 0 1", "Guest's\tCam");
    const Commands list = after(openSourceNames(), "RN 101 0 1");
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[1], "TP 'add=001 = Guest`s Cam' '2' 'MtxNames'");
    control("2", "MtxNames", "selected=001 = Guest`s Cam");
    buttonHolds("LongName", "Guest`s Cam");
    keyboardHolds("2", "Guest`s Cam");
    press("2", "LongName");
    EXPECT_FALSE(anyStartsWith(control("2", "KB_1", "text=Guest`s Cam"), "ET 1"));
}

}  // namespace
