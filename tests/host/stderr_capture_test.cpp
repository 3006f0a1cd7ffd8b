// The host's catch of the plug-ins' standard error: a cheap look tells whether
// anything is new, and a drain takes exactly what was written since the last one.
#include <gtest/gtest.h>

#include <string>

#include "kovo_os.h"
#include "kovo_os_host.h"

namespace {

TEST(StderrCapture, DrainsExactlyWhatWasWrittenAndSeesNewOutputCheaply) {
    kovo_os::stderr_capture capture;
    if (!capture.begin()) {
        GTEST_SKIP() << "standard error is not caught on this platform";
    }
    const bool quietAtFirst = !capture.maybeWritten();
    kovo_os::debugOutput("one");
    const bool seen = capture.maybeWritten();
    kovo_os::debugOutput(" two\n");
    const std::string first = capture.drain();
    const bool quietAfter = !capture.maybeWritten();
    const std::string nothing = capture.drain();
    // More than the cheap view covers, then a short text: no byte of the long
    // one may be left behind or come back.
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
    EXPECT_EQ(second.size(), big.size());
    EXPECT_EQ(second, big);
    EXPECT_EQ(third, "after");
}

}  // namespace
