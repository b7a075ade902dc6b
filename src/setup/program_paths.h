#pragma once

#include <filesystem>
#include <string>

namespace corvanel {

// The program folder and the fixed folders beneath it. The program runs from the
// folder of its executable; tests and tools point a model at a folder of their own.
class Program_Paths {
  public:
    explicit Program_Paths(std::filesystem::path folder) : Folder_(std::move(folder)) {}

    // The folder holding the running executable.
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

}  // namespace corvanel
