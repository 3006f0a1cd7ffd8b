// A small site written into a temporary directory for one test.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "kovo_script_test.h"

class test_site {
  public:
    test_site() : dir_((std::filesystem::path(temp_.path()) / "site").string()) {
        write("config/system/dev_007.ini",
              "[Device]\nName=Test Router\nOffset=3\n\n[Database]\nDatabaseSize_0=4\n"
              "DatabaseSize_1=2\n");
        write("names/dev_007/db_0.txt", "# sources\n1 Camera 1\n2 VT 1\n\n4 \n");
    }
    void write(const std::string& relative, const std::string& text) const {
        const std::filesystem::path path = std::filesystem::path(dir_) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    const std::string& dir() const { return dir_; }
    std::string store() const {
        return (std::filesystem::path(temp_.path()) / "names.sqlite").string();
    }

  private:
    kovo_host_testing::temp_directory temp_;
    std::string dir_;
};
