#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "kovo_script_test.h"
#include "layout_file.h"

using namespace kovo_host;

namespace {

class LayoutFile : public ::testing::Test {
  protected:
    layout_status read(const std::string& xml, std::string& error) {
        const std::string path = dir_.path() + "/panel.kovo_ui";
        std::ofstream(path, std::ios::binary) << xml;
        return readLayout(path, layout_, error);
    }
    kovo_host_testing::temp_directory dir_;
    layout_file layout_;
};

}  // namespace

TEST_F(LayoutFile, ControlsWithStartingState) {
    std::string error;
    ASSERT_EQ(read("<kovo_ui width=\"1024\" height=\"768\">"
                   "<control id=\"WS_01\" kind=\"button\" x=\"1\" y=\"2\" w=\"3\" h=\"4\">"
                   "<property name=\"text\" value=\"WS 12\"/></control>"
                   "<control id=\"KB_1\" kind=\"keyboard\" x=\"0\" y=\"0\" w=\"9\" h=\"9\" "
                   "visible=\"false\" enabled=\"false\"/></kovo_ui>",
                   error),
              layout_status::ok)
        << error;
    EXPECT_EQ(layout_.width, 1024);
    ASSERT_EQ(layout_.controls.size(), 2u);
    EXPECT_EQ(layout_.controls[0].properties.at(0).second, "WS 12");
    EXPECT_EQ(layout_.controls[0].h, 4);
    EXPECT_FALSE(layout_.controls[1].visible);
    EXPECT_FALSE(layout_.controls[1].enabled);
}

TEST_F(LayoutFile, WhatMakesALayoutInvalid) {
    const char* head = "<kovo_ui width=\"1\" height=\"1\">";
    const struct {
        std::string xml;
        const char* error;
    } cases[] = {
        {"<kovo_ui width=\"1\" height=\"1\"", "panel.kovo_ui: "},
        {"<panel width=\"1\" height=\"1\"/>", "the root element is <panel>"},
        {"<kovo_ui width=\"wide\" height=\"1\"/>", "kovo_ui attribute width is not a pixel count"},
        {std::string(head) + "<control kind=\"button\" x=\"0\" y=\"0\" w=\"1\" h=\"1\"/></kovo_ui>",
         "a control without an id"},
        {std::string(head) +
             "<control id=\"A\" kind=\"dial\" x=\"0\" y=\"0\" w=\"1\" h=\"1\"/></kovo_ui>",
         "control A has an unknown kind \"dial\""},
        {std::string(head) + "<control id=\"A\" kind=\"label\" x=\"0\" y=\"0\" w=\"1\"/></kovo_ui>",
         "control A: attribute h is missing"},
        {std::string(head) + "<control id=\"A\" kind=\"label\" x=\"0\" y=\"0\" w=\"1\" h=\"1\" "
                             "visible=\"no\"/></kovo_ui>",
         "control A: attribute visible must be true or false"},
        {std::string(head) + "<control id=\"A\" kind=\"label\" x=\"0\" y=\"0\" w=\"1\" h=\"1\"/>" +
             "<control id=\"A\" kind=\"button\" x=\"0\" y=\"0\" w=\"1\" h=\"1\"/></kovo_ui>",
         "control A is declared twice"},
        {std::string(head) + "<button id=\"A\"/></kovo_ui>", "unexpected <button> in kovo_ui"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(read(c.xml, error), layout_status::invalid) << c.xml;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.xml << "\n" << error;
    }
    std::string error;
    EXPECT_EQ(readLayout(dir_.path() + "/none.kovo_ui", layout_, error), layout_status::missing);
}
