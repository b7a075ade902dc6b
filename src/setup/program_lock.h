// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace corvanel {

// One program per program folder, so that two copies never drive the same kiln or append
// to the same log. The lock is the file "corvanel.lock" in the folder, held for the life
// of the program; the system lets go of it when the program ends in any way, so a crash
// leaves the file but not the hold and the next start takes it over. The file says the
// holder's process id. A second kiln has a program folder, and so a lock, of its own.
class Program_Lock {
  public:
    enum class Outcome {
        Taken,       // this program holds the folder
        Held,        // another program does: Holder() says which
        Not_Locked,  // the file could not be made (a folder not writable): run unlocked
    };

    // Tries once; never waits. The kiln guard holds a lock of its own in the folder
    // ("corvanel-guard.lock") the same way.
    static Program_Lock Take(const std::filesystem::path& program_folder,
                             const std::string& file_name = "corvanel.lock");

    // Who holds the lock now, without taking it or touching the file: the holder's process
    // id (0 when it did not say), nothing when no one holds it or there is no such file.
    static std::optional<long> Holder_Of(const std::filesystem::path& program_folder,
                                         const std::string& file_name = "corvanel.lock");

    Program_Lock(Program_Lock&& other) noexcept;
    Program_Lock& operator=(Program_Lock&& other) noexcept;
    Program_Lock(const Program_Lock&) = delete;
    Program_Lock& operator=(const Program_Lock&) = delete;
    ~Program_Lock();  // lets go; the file stays

    Outcome Result() const { return Result_; }
    long Holder() const { return Holder_; }  // the other program's process id; 0 unknown
    const std::string& Error() const { return Error_; }  // why Not_Locked

  private:
    Program_Lock() = default;
    void Release();

    int File_ = -1;
    Outcome Result_ = Outcome::Not_Locked;
    long Holder_ = 0;
    std::string Error_;
};

}  // namespace corvanel
