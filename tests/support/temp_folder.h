// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it
// when the test ends.
class Temp_Folder {
  public:
    Temp_Folder() {
        std::random_device random;
        Path_ = std::filesystem::temp_directory_path() /
                ("corvanel-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(Path_);
    }
    ~Temp_Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path_, ignored);
    }
    Temp_Folder(const Temp_Folder&) = delete;
    Temp_Folder& operator=(const Temp_Folder&) = delete;

    const std::filesystem::path& Path() const { return Path_; }
    std::string File(const std::string& relative) const { return (Path_ / relative).string(); }

  private:
    std::filesystem::path Path_;
};

inline std::string Read_Whole_File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void Write_Whole_File(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}
