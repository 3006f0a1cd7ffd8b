// A throw-away site for settings tests: RX_ROOT/RX_SYSTEM/config/system with the
// files a test writes, and the environment pointing at it while the test runs.
#pragma once

#include <gtest/gtest.h>
#include "kovo_os_host.h"

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
        kovo_os::setEnvironment("RX_ROOT", root_.string());
        kovo_os::setEnvironment("RX_SYSTEM", system_);
        kovo_os::unsetEnvironment("RX_WORKSTATION");
    }
    ~SiteDirectory() {
        kovo_os::unsetEnvironment("RX_ROOT");
        kovo_os::unsetEnvironment("RX_SYSTEM");
        kovo_os::unsetEnvironment("RX_WORKSTATION");
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
