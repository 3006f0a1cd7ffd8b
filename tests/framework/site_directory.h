// A throw-away site for settings tests: RX_ROOT/RX_SYSTEM/config/system with the
// files a test writes, and the environment pointing at it while the test runs.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

class SiteDirectory {
  public:
    SiteDirectory() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::path(testing::TempDir()) /
                ("kovo_site_" + std::string(test->test_suite_name()) + "_" + test->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(configDir());
        setenv("RX_ROOT", root_.c_str(), 1);
        setenv("RX_SYSTEM", system_, 1);
        unsetenv("RX_WORKSTATION");
    }
    ~SiteDirectory() {
        unsetenv("RX_ROOT");
        unsetenv("RX_SYSTEM");
        unsetenv("RX_WORKSTATION");
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    SiteDirectory(const SiteDirectory&) = delete;
    SiteDirectory& operator=(const SiteDirectory&) = delete;

    std::filesystem::path configDir() const { return root_ / system_ / "config" / "system"; }
    const std::filesystem::path& root() const { return root_; }

    void write(const std::filesystem::path& path, const std::string& content) const {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    void writeConfig(const std::string& name, const std::string& content) const {
        write(configDir() / name, content);
    }

  private:
    static constexpr const char* system_ = "main_system";
    std::filesystem::path root_;
};
