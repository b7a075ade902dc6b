// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/program_paths.h"

#include <cstdlib>
#include <system_error>

namespace corvanel {

namespace fs = std::filesystem;

Program_Folder_Choice Choose_Program_Folder(const fs::path& executable,
                                            const Environment_Lookup& environment) {
    const fs::path own = executable.parent_path();
    std::error_code error;
    const fs::path shared = own.parent_path() / "share" / "corvanel";
    if (fs::is_directory(own / "LanguageFiles", error) || own.filename() != "bin" ||
        !fs::is_directory(shared, error)) {
        return {own, {}};
    }
    // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
    const char* data_home = environment("XDG_DATA_HOME");
    if (data_home && *data_home && fs::path(data_home).is_absolute()) {
        return {fs::path(data_home) / "corvanel", shared};
    }
    const char* home = environment("HOME");
    if (home && *home) return {fs::path(home) / ".local" / "share" / "corvanel", shared};
    return {own, {}};
}

bool Seed_Program_Folder(const fs::path& shared, const fs::path& folder) {
    bool copied_all = true;
    for (const std::string part : {"LanguageFiles", "Profiles"}) {
        std::error_code error;
        // Samples come once: a profile the operator deleted stays deleted. Languages
        // a newer package ships arrive at the next start.
        if (part == "Profiles" && fs::exists(folder / part, error)) continue;
        fs::create_directories(folder / part, error);
        for (fs::recursive_directory_iterator it(shared / part, error), end; !error && it != end;
             it.increment(error)) {
            const fs::path target = folder / part / fs::relative(it->path(), shared / part);
            std::error_code step;
            if (it->is_directory(step)) {
                fs::create_directories(target, step);
            } else if (!fs::exists(target, step)) {
                fs::copy_file(it->path(), target, fs::copy_options::skip_existing, step);
            }
            if (step) copied_all = false;
        }
        if (error) copied_all = false;
    }
    return copied_all;
}

Program_Paths Program_Paths::Of_Executable() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error || exe.empty()) return Program_Paths(fs::current_path(error));
    Program_Folder_Choice choice = Choose_Program_Folder(
        exe, [](const char* name) { return static_cast<const char*>(std::getenv(name)); });
    if (!choice.Seed_From.empty()) Seed_Program_Folder(choice.Seed_From, choice.Folder);
    return Program_Paths(choice.Folder);
}

std::string Program_Paths::Setup_File(const std::string& name) const {
    return (Folder_ / "Setup" / name).string();
}

std::string Program_Paths::Profiles_Folder() const {
    return (Folder_ / "Profiles" / "").string();
}

std::string Program_Paths::Profile_File(const std::string& name) const {
    return (Folder_ / "Profiles" / name).string();
}

std::string Program_Paths::Logfiles_Folder() const {
    return (Folder_ / "Logfiles" / "").string();
}

std::string Program_Paths::Logfile(const std::string& name) const {
    return (Folder_ / "Logfiles" / name).string();
}

std::string Program_Paths::Language_Folder() const {
    return (Folder_ / "LanguageFiles" / "").string();
}

}  // namespace corvanel
