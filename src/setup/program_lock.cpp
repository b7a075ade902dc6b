// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/program_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace corvanel {

namespace {

long Pid_In(int file) {
    char text[32] = {};
    const ssize_t length = ::pread(file, text, sizeof text - 1, 0);
    if (length <= 0) return 0;
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    return pid > 0 ? pid : 0;
}

}  // namespace

Program_Lock Program_Lock::Take(const std::filesystem::path& program_folder,
                                const std::string& file_name) {
    Program_Lock lock;
    const std::string path = (program_folder / file_name).string();
    // Opened without truncating: the holder's id must survive a refused start. Never
    // through a link: the id would be written into whatever file it points at.
    lock.File_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (lock.File_ < 0) {
        lock.Error_ = std::strerror(errno);
        return lock;
    }
    if (::flock(lock.File_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK) {
            lock.Result_ = Outcome::Held;
            lock.Holder_ = Pid_In(lock.File_);
        } else {
            lock.Error_ = std::strerror(error);
        }
        lock.Release();
        return lock;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(lock.File_, 0) != 0 ||
        ::pwrite(lock.File_, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
        // Held all the same; only the id a refused start would name is missing.
    }
    lock.Result_ = Outcome::Taken;
    return lock;
}

std::optional<long> Program_Lock::Holder_Of(const std::filesystem::path& program_folder,
                                            const std::string& file_name) {
    const std::string path = (program_folder / file_name).string();
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (file < 0) return std::nullopt;
    std::optional<long> holder;
    if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) holder = Pid_In(file);
    } else {
        ::flock(file, LOCK_UN);
    }
    ::close(file);
    return holder;
}

Program_Lock::Program_Lock(Program_Lock&& other) noexcept {
    *this = std::move(other);
}

Program_Lock& Program_Lock::operator=(Program_Lock&& other) noexcept {
    if (this != &other) {
        Release();
        File_ = std::exchange(other.File_, -1);
        Result_ = other.Result_;
        Holder_ = other.Holder_;
        Error_ = std::move(other.Error_);
    }
    return *this;
}

Program_Lock::~Program_Lock() {
    Release();
}

void Program_Lock::Release() {
    if (File_ >= 0) ::close(File_);
    File_ = -1;
}

}  // namespace corvanel
