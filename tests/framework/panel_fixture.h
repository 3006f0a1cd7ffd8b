// A test panel on a recording host link; every test ends by destroying the panel
// and checking that "AS" came last and every lent buffer came back exactly once.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "debug_output_capture.h"
#include "recording_host_link.h"
#include "test_panel.h"

class PanelTest : public testing::Test {
  protected:
    void SetUp() override { panel = std::make_unique<TestPanel>(&link, ""); }

    void TearDown() override {
        panel.reset();
        ASSERT_FALSE(link.commands().empty());
        EXPECT_EQ(link.commands().back(), "AS");
        EXPECT_THAT(link.problems(), testing::IsEmpty());
    }

    // Every (text, code) pair sent so far.
    std::vector<std::pair<std::string, int>> sentPairs() const {
        std::vector<std::pair<std::string, int>> result;
        for (const auto& s : link.sent()) {
            result.emplace_back(s.text, s.code);
        }
        return result;
    }

    RecordingHostLink link;
    std::unique_ptr<TestPanel> panel;
};

using Pairs = std::vector<std::pair<std::string, int>>;
using Texts = std::vector<std::string>;
