// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/log_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
    // Never through a link left under the log's name; a missing file is created.
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (file < 0) return false;
    struct stat before {};
    if (::fstat(file, &before) != 0) {
        ::close(file);
        return false;
    }
    const auto length = static_cast<std::uintmax_t>(before.st_size);
    const auto position = static_cast<off_t>(length / Log_Record_Length * Log_Record_Length);
    std::size_t done = 0;
    bool written = true;
    while (written && done < record.size()) {
        const ssize_t now = ::pwrite(file, record.data() + done, record.size() - done,
                                     position + static_cast<off_t>(done));
        if (now < 0 && errno == EINTR) continue;
        written = now > 0;
        if (written) done += static_cast<std::size_t>(now);
    }
    if (written) written = ::fsync(file) == 0;
    // Part of a record on a full disk is taken back; the whole one comes again later.
    if (!written && position + static_cast<off_t>(done) > before.st_size) {
        (void)::ftruncate(file, before.st_size);
    }
    return ::close(file) == 0 && written;
}

double Last_Logged_Elapsed_Time(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        // Created empty; never through a link, nor over a file that is there after all.
        const int created = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (created >= 0) ::close(created);
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
