// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/setup_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace corvanel {

namespace fs = std::filesystem;

namespace {

// The whole of `content` to the descriptor; false on any failure (a full disk).
bool Write_All(int descriptor, const std::string& content) {
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t now = ::write(descriptor, content.data() + written, content.size() - written);
        if (now < 0 && errno == EINTR) continue;
        if (now <= 0) return false;
        written += static_cast<std::size_t>(now);
    }
    return true;
}

// A name beside the target that no other writer (another thread, the guard, a second
// program) uses at the same time.
fs::path Beside(const fs::path& target) {
    static std::atomic<unsigned> count{0};
    fs::path beside = target;
    beside += ".new-" + std::to_string(::getpid()) + "-" + std::to_string(count++);
    return beside;
}

}  // namespace

bool Replace_File_Contents(const std::string& path, const std::string& content, bool durable) {
    std::error_code error;
    fs::path target(path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
    const fs::path beside = Beside(target);
    // Never through a link someone left under that name: a new file of our own.
    const int descriptor =
        ::open(beside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    bool written = Write_All(descriptor, content);
    // On the disk before it takes the old one's place: a power cut leaves one or the other.
    if (written && durable) written = ::fsync(descriptor) == 0;
    written = ::close(descriptor) == 0 && written;
    if (written) {
        fs::rename(beside, target, error);
        written = !error;
    }
    if (!written) {
        fs::remove(beside, error);
        return false;
    }
    if (durable) {
        // The rename itself is in the folder's entry.
        const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (directory >= 0) {
            ::fsync(directory);
            ::close(directory);
        }
    }
    return true;
}

bool Append_File_Contents(const std::string& path, const std::string& content) {
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (descriptor < 0) return false;
    struct stat before {};
    if (::fstat(descriptor, &before) != 0) {
        ::close(descriptor);
        return false;
    }
    bool written = Write_All(descriptor, content) && ::fsync(descriptor) == 0;
    // What a full disk took of it is taken back: the whole text is tried again later.
    if (!written) (void)::ftruncate(descriptor, before.st_size);
    return ::close(descriptor) == 0 && written;
}

void Write_Text_File(const std::string& path, const std::string& text) {
    Replace_File_Contents(path, text + "\r\n");
}

bool Replace_Private_File_Contents(const std::string& path, const std::string& content) {
    // The file is written beside and renamed over the old one: the mask makes that new
    // file private as it is created, the permissions fix a file an older version left.
    const mode_t old_mask = ::umask(077);
    const bool written = Replace_File_Contents(path, content);
    ::umask(old_mask);
    Make_Private(path);
    return written;
}

void Make_Private(const std::string& path) {
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace,
                    ignored);
}

void Write_Private_Text_File(const std::string& path, const std::string& text) {
    Replace_Private_File_Contents(path, text + "\r\n");
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
