// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace corvanel {

// The program folder and the fixed folders beneath it. The program runs from the
// folder of its executable; tests and tools point a model at a folder of their own.
class Program_Paths {
  public:
    explicit Program_Paths(std::filesystem::path folder) : Folder_(std::move(folder)) {}

    // The program folder of the running executable (Choose_Program_Folder), seeded on
    // first start when it is a user's folder of an installed program.
    static Program_Paths Of_Executable();

    const std::filesystem::path& Folder() const { return Folder_; }
    std::string Setup_File(const std::string& name) const;  // Setup/<name>
    std::string Profiles_Folder() const;                    // Profiles/, with the separator
    std::string Profile_File(const std::string& name) const;
    std::string Logfiles_Folder() const;
    std::string Logfile(const std::string& name) const;
    std::string Language_Folder() const;

  private:
    std::filesystem::path Folder_;
};

// Which program folder an executable uses. Run from a build tree or any folder that
// holds its own LanguageFiles, it is the executable's folder. Installed (the executable
// in <prefix>/bin beside <prefix>/share/corvanel), the folder is per user:
// $XDG_DATA_HOME/corvanel, or ~/.local/share/corvanel, and Seed_From names the shared
// folder whose languages and sample profiles it starts with.
struct Program_Folder_Choice {
    std::filesystem::path Folder;
    std::filesystem::path Seed_From;  // empty: nothing to seed
};
using Environment_Lookup = std::function<const char*(const char*)>;
Program_Folder_Choice Choose_Program_Folder(const std::filesystem::path& executable,
                                            const Environment_Lookup& environment);

// Copies the shared LanguageFiles missing from the program folder, and the sample
// Profiles when the folder has no Profiles yet. A file already there is left as it is
// (a translation the operator edited). Returns false when a copy failed.
bool Seed_Program_Folder(const std::filesystem::path& shared, const std::filesystem::path& folder);

}  // namespace corvanel
