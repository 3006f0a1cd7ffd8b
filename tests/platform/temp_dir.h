// A fresh directory under the system's temporary directory, removed with all
// its contents when the object goes.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class temp_dir {
  public:
    temp_dir() {
        std::random_device seed;
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("kovo_test_" + std::to_string(seed()));
            if (std::filesystem::create_directory(path_)) {
                break;
            }
        }
    }
    ~temp_dir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    temp_dir(const temp_dir&) = delete;
    temp_dir& operator=(const temp_dir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes text to the file at relative, creating its directories; the path
    // returned has the platform's own separators, as the libraries build them.
    std::filesystem::path write(const std::string& relative, const std::string& text) const {
        auto file = path_ / relative;
        file.make_preferred();
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << text;
        return file;
    }

  private:
    std::filesystem::path path_;
};
