#include "fuzz_input.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace corvanel::fuzz {

std::string Scratch_File(const char* name) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("corvanel-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

void Write_Scratch(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

}  // namespace corvanel::fuzz
