#include "setup/program_paths.h"

#include <system_error>

namespace corvanel {

namespace fs = std::filesystem;

Program_Paths Program_Paths::Of_Executable() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error || exe.empty()) return Program_Paths(fs::current_path(error));
    return Program_Paths(exe.parent_path());
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
