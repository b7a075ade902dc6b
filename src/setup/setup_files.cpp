// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/setup_files.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace corvanel {

namespace fs = std::filesystem;

bool Replace_File_Contents(const std::string& path, const std::string& content) {
    std::error_code error;
    fs::path target(path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
    fs::path beside = target;
    beside += ".new";
    {
        std::ofstream out(beside, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << content;
        out.flush();
        if (!out) {
            out.close();
            fs::remove(beside, error);
            return false;
        }
    }
    fs::rename(beside, target, error);
    if (error) {
        fs::remove(beside, error);
        return false;
    }
    return true;
}

void Write_Text_File(const std::string& path, const std::string& text) {
    Replace_File_Contents(path, text + "\r\n");
}

void Write_Private_Text_File(const std::string& path, const std::string& text) {
    // The file is written beside and renamed over the old one: the mask makes that new
    // file private as it is created, the permissions fix a file an older version left.
    mode_t old_mask = ::umask(077);
    Write_Text_File(path, text);
    ::umask(old_mask);
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace,
                    ignored);
}

std::string Read_First_Line(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "";
    std::string line;
    char c;
    // A setting is one short line; a file that is not one is read no further than
    // a setting could reasonably be.
    constexpr std::size_t Longest_Setting = 64 * 1024;
    while (line.size() < Longest_Setting && in.get(c)) {
        if (c == '\r' || c == '\n') break;
        line += c;
    }
    return line;
}

std::string File_Name_Of_Path(std::string_view path) {
    std::size_t last = path.find_last_of("\\/");
    if (last == std::string_view::npos) return std::string(path);
    return std::string(path.substr(last + 1));
}

}  // namespace corvanel
