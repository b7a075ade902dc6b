// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/heat_work_end_file.h"

#include <filesystem>

#include "profiles/cone_table.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

constexpr std::string_view Line_Start = "end on heat-work: cone ";

}  // namespace

std::string Heat_Work_End_File(const std::string& profile_path) {
    return profile_path + std::string(Heat_Work_End_Suffix);
}

std::optional<std::string> Read_Heat_Work_End(const std::string& profile_path) {
    const std::string line = Read_First_Line(Heat_Work_End_File(profile_path));
    if (!line.starts_with(Line_Start)) return std::nullopt;
    const std::optional<Cone_Equivalent> cone = Find_Cone(line.substr(Line_Start.size()));
    if (!cone) return std::nullopt;
    return std::string(cone->Cone);
}

bool Keep_Heat_Work_End(const std::string& profile_path, const std::optional<std::string>& cone) {
    const std::string path = Heat_Work_End_File(profile_path);
    if (!cone) {
        std::error_code error;
        std::filesystem::remove(path, error);
        return !error;
    }
    return Replace_File_Contents(path, std::string(Line_Start) + *cone + "\r\n");
}

}  // namespace corvanel
