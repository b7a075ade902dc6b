// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/log_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#if defined(__unix__)
#include <unistd.h>
#endif

#include "common/numeric.h"

namespace corvanel {

namespace {

std::string Left_Field(const std::string& text, std::size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, ' ');
    return field;
}

}  // namespace

std::string Log_Record(const std::string& elapsed_text, std::int16_t desired_temp,
                       std::int16_t measured_temp) {
    return Left_Field(elapsed_text, 9) + Left_Field(std::to_string(desired_temp), 5) +
           Left_Field(std::to_string(measured_temp), 5) + "\r\n";
}

bool Append_Log_Record(const std::string& path, const std::string& record) {
    std::error_code error;
    std::uintmax_t length = std::filesystem::file_size(path, error);
    if (error) length = 0;
    // "r+b" never truncates; only a file that is not there yet is created.
    std::FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file) file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    long position = static_cast<long>(length / Log_Record_Length * Log_Record_Length);
    bool written = std::fseek(file, position, SEEK_SET) == 0 &&
                   std::fwrite(record.data(), 1, record.size(), file) == record.size() &&
                   std::fflush(file) == 0;
#if defined(__unix__)
    if (written) written = ::fsync(::fileno(file)) == 0;
#endif
    return std::fclose(file) == 0 && written;
}

double Last_Logged_Elapsed_Time(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        file = std::fopen(path.c_str(), "wb");  // created empty
        if (file) std::fclose(file);
        return 0;
    }
    std::error_code error;
    std::uintmax_t length = std::filesystem::file_size(path, error);
    double elapsed = 0;
    std::uintmax_t records = error ? 0 : length / Log_Record_Length;
    if (records > 0 &&
        std::fseek(file, static_cast<long>((records - 1) * Log_Record_Length), SEEK_SET) == 0) {
        char field[9];
        if (std::fread(field, 1, sizeof field, file) == sizeof field) {
            elapsed = Convert_To_Double(std::string(field, sizeof field)).Value.value_or(0);
        }
    }
    std::fclose(file);
    return elapsed;
}

std::vector<Log_Entry> Read_Log_Records(const std::string& path) {
    std::vector<Log_Entry> entries;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return entries;
    char record[Log_Record_Length];
    while (std::fread(record, 1, sizeof record, file) == sizeof record) {
        const std::string_view text(record, sizeof record);
        auto elapsed = Convert_To_Double(text.substr(0, 9)).Value;
        auto set_value = Convert_To_Double(text.substr(9, 5)).Value;
        auto measured = Convert_To_Double(text.substr(14, 5)).Value;
        if (elapsed && set_value && measured) entries.push_back({*elapsed, *set_value, *measured});
    }
    std::fclose(file);
    return entries;
}

std::string Reset_Log_Name(const std::string& profile_name, const Date_Time& now) {
    std::size_t dot = profile_name.rfind('.');
    std::string base = dot == std::string::npos ? profile_name : profile_name.substr(0, dot);
    return base + "_" + Format_Month_Day_Year_Hour_Minute(now) + ".txt";
}

}  // namespace corvanel
