// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

// A small disk of its own (a tmpfs) on a folder, that a test fills to its last byte and
// frees again. It is mounted in a mount namespace of the test process's own, so nothing
// outside the process (and its children) sees it. Only where the system lets the test
// mount (root); elsewhere Mounted() is false and the test skips.
class Small_Disk {
  public:
    Small_Disk(const std::filesystem::path& folder, std::size_t bytes) : Folder_(folder) {
        std::filesystem::create_directories(folder);
        if (!Own_Namespace()) return;
        const std::string size = "size=" + std::to_string(bytes);
        Mounted_ = ::mount("corvanel-test", folder.c_str(), "tmpfs", 0, size.c_str()) == 0;
    }
    ~Small_Disk() {
        if (Mounted_) ::umount2(Folder_.c_str(), MNT_DETACH);
    }
    Small_Disk(const Small_Disk&) = delete;
    Small_Disk& operator=(const Small_Disk&) = delete;

    bool Mounted() const { return Mounted_; }

    // Writes a filler until the disk takes not one byte more.
    void Fill() {
        const int file = ::open(Filler().c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (file < 0) return;
        const std::string chunk(4096, '#');
        while (::write(file, chunk.data(), chunk.size()) > 0) {
        }
        while (::write(file, "#", 1) > 0) {
        }
        ::close(file);
    }
    void Free() { std::filesystem::remove(Filler()); }

  private:
    std::string Filler() const { return (Folder_ / ".filler").string(); }
    static bool Own_Namespace() {
        static const bool own = ::unshare(CLONE_NEWNS) == 0 &&
                                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        return own;
    }

    std::filesystem::path Folder_;
    bool Mounted_ = false;
};
