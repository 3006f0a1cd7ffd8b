#include <gtest/gtest.h>

#include <string>

#include "lent_buffers.h"

using kovo_host::lent_buffers;

TEST(LentBuffers, AReplyComesBackOnce) {
    lent_buffers buffers;
    char* reply = buffers.lend("text=VT 1", "TG '1' 'A' 'text'");
    EXPECT_STREQ(reply, "text=VT 1");
    EXPECT_EQ(buffers.outstanding(), 1u);
    std::string command;
    EXPECT_EQ(buffers.giveBack(reply, command), lent_buffers::give_back::ok);
    EXPECT_EQ(command, "TG '1' 'A' 'text'");
    EXPECT_EQ(buffers.giveBack(reply, command), lent_buffers::give_back::twice);
    EXPECT_EQ(command, "TG '1' 'A' 'text'");
    EXPECT_TRUE(buffers.endCallback().empty());
}

TEST(LentBuffers, ForeignAndNullPointers) {
    lent_buffers buffers;
    char local[] = "mine";
    std::string command;
    EXPECT_EQ(buffers.giveBack(local, command), lent_buffers::give_back::foreign);
    EXPECT_EQ(buffers.giveBack(nullptr, command), lent_buffers::give_back::null_pointer);
}

TEST(LentBuffers, KeptPastTheCallbackIsReportedAndLateGiveBackToo) {
    lent_buffers buffers;
    char* first = buffers.lend("1 0", "SD 'X'");
    char* second = buffers.lend("", "RN 1 0 1");
    std::string command;
    EXPECT_EQ(buffers.giveBack(second, command), lent_buffers::give_back::ok);
    const std::vector<std::string> kept = buffers.endCallback();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0], "SD 'X'");
    // The kept buffer stays readable: the script may still look at it.
    EXPECT_STREQ(first, "1 0");
    EXPECT_EQ(buffers.giveBack(first, command), lent_buffers::give_back::late);
    EXPECT_EQ(buffers.giveBack(first, command), lent_buffers::give_back::twice);
}
