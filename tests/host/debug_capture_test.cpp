// The host's catch of the plug-ins' debug output: a look tells whether anything
// is new, a drain takes exactly what was written since the last one, and what is
// written while no capture is active is not kept for a later one.
#include <gtest/gtest.h>

#include <string>

#include "kovo_os.h"
#include "kovo_os_host.h"

namespace {

TEST(DebugCapture, DrainsExactlyWhatWasWrittenAndSeesNewOutputCheaply) {
    kovo_os::debug_capture capture;
    ASSERT_TRUE(capture.begin());
    const bool quietAtFirst = !capture.maybeWritten();
    kovo_os::debugOutput("one");
    const bool seen = capture.maybeWritten();
    kovo_os::debugOutput(" two\n");
    const std::string first = capture.drain();
    const bool quietAfter = !capture.maybeWritten();
    const std::string nothing = capture.drain();
    const std::string big(200000, 'b');
    kovo_os::debugOutput(big.c_str());
    const bool bigSeen = capture.maybeWritten();
    const std::string second = capture.drain();
    kovo_os::debugOutput("after");
    const std::string third = capture.drain();
    capture.end();

    EXPECT_TRUE(quietAtFirst);
    EXPECT_TRUE(seen);
    EXPECT_EQ(first, "one two\n");
    EXPECT_TRUE(quietAfter);
    EXPECT_EQ(nothing, "");
    EXPECT_TRUE(bigSeen);
    EXPECT_EQ(second, big);
    EXPECT_EQ(third, "after");
}

// A plug-in writing without end between two looks cannot take all memory: what
// does not fit is dropped, and the drain says so once.
TEST(DebugCapture, WhatDoesNotFitIsDroppedAndSaidSo) {
    kovo_os::debug_capture capture;
    ASSERT_TRUE(capture.begin());
    const std::string chunk(1 << 20, 'c');
    for (std::size_t i = 0; i < (kovo_os::debug_capture::maxCaught >> 20) + 2; ++i) {
        kovo_os::debugOutput(chunk.c_str());
    }
    const std::string text = capture.drain();
    EXPECT_EQ(text.compare(0, kovo_os::debug_capture::maxCaught,
                           std::string(kovo_os::debug_capture::maxCaught, 'c')),
              0);
    EXPECT_NE(text.find("(the rest of this debug output was dropped: more than 16 MiB",
                        kovo_os::debug_capture::maxCaught),
              std::string::npos);
    EXPECT_LT(text.size(), kovo_os::debug_capture::maxCaught + 200);
    kovo_os::debugOutput("next");
    EXPECT_EQ(capture.drain(), "next");
    capture.end();
}

// Output between two captures goes to standard error as before, not into the
// next capture; a capture ended early leaves the chain without taking the
// outer one's text.
TEST(DebugCapture, OnlyWhatIsWrittenWhileActiveIsCaught) {
    kovo_os::debug_capture outer;
    kovo_os::debug_capture inner;
    testing::internal::CaptureStderr();
    kovo_os::debugOutput("before|");
    ASSERT_TRUE(outer.begin());
    kovo_os::debugOutput("outer1|");
    ASSERT_TRUE(inner.begin());
    kovo_os::debugOutput("inner|");
    outer.end();  // ends before the inner one
    kovo_os::debugOutput("inner2|");
    inner.end();
    kovo_os::debugOutput("between|");
    ASSERT_TRUE(inner.begin());
    kovo_os::debugOutput("again");
    inner.end();
    const std::string passedOn = testing::internal::GetCapturedStderr();
    EXPECT_EQ(outer.drain(), "outer1|");
    EXPECT_EQ(inner.drain(), "inner|inner2|again");
    // Elsewhere uncaught debug output goes to a debugger, if any.
    EXPECT_EQ(passedOn, KOVO_DEBUG_OUTPUT_IS_STDERR ? "before|between|" : "");
}

}  // namespace
