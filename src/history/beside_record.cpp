// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/beside_record.h"

#include <filesystem>

#include "run/firing_record.h"
#include "setup/setup_files.h"

namespace corvanel {

std::string File_Beside_Record(const std::string& record_path, const std::string& suffix) {
    std::string path = record_path;
    if (path.ends_with(Firing_Record_Suffix))
        path.resize(path.size() - Firing_Record_Suffix.size());
    return path + suffix;
}

std::string Read_Beside_Record(const std::string& record_path, const std::string& suffix) {
    const std::string path = File_Beside_Record(record_path, suffix);
    std::string text;
    std::error_code missing;
    if (!std::filesystem::exists(path, missing) || Read_Record_File(path, text)) return "";
    return text;
}

bool Keep_Beside_Record(const std::string& record_path, const std::string& suffix,
                        const std::string& text) {
    const std::string path = File_Beside_Record(record_path, suffix);
    std::error_code error;
    if (text.empty()) return std::filesystem::remove(path, error), !error;
    return Replace_File_Contents(path, text);
}

}  // namespace corvanel
