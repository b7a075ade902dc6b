// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/autostart_entry.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "common/text.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

// The Exec key's value: the path as one argument in double quotes, where a backslash
// goes before " ` $ and itself; % is doubled, as it starts a field code; and then the
// escapes of any string value of the file (a backslash doubled, \n \t \r), which a
// reader undoes first.
std::string Quoted_For_Exec(const std::string& word) {
    std::string quoted = "\"";
    for (char c : word) {
        if (c == '"' || c == '`' || c == '$') {
            quoted += "\\\\";
            quoted += c;
        } else if (c == '\\') {
            quoted += "\\\\\\\\";
        } else if (c == '%') {
            quoted += "%%";
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c == '\r') {
            quoted += "\\r";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

}  // namespace

std::filesystem::path Autostart_Entry_Path(const std::filesystem::path& program_folder) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path base = config && *config ? std::filesystem::path(config)
                                       : home            ? std::filesystem::path(home) / ".config"
                                                         : std::filesystem::path(".config");
    // FNV-1a of the folder: short, stable, the same for the same folder.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : program_folder.lexically_normal().string()) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return base / "autostart" /
           Formatted("corvanel-%08llx.desktop",
                     static_cast<unsigned long long>(hash & 0xffffffffull));
}

std::string Autostart_Entry_Text(const std::string& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Corvanel\n"
           "Comment=Fire an electric kiln through its temperature controller along a firing "
           "profile\n"
           "Exec=" +
           Quoted_For_Exec(program) +
           "\n"
           "Icon=corvanel\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

Maybe_Problem Keep_Autostart_Entry(bool wanted, const std::filesystem::path& program_folder,
                                   const std::string& program) {
    const Problem not_kept{
        Operator_Text::Phrase("Corvanel could not be set to start when you log in"),
        Operator_Text::Phrase("Check that your home folder can be written to, then save the "
                              "safety settings again")};
    const std::filesystem::path entry = Autostart_Entry_Path(program_folder);
    std::error_code code;
    if (!wanted) {
        std::filesystem::remove(entry, code);
        return code ? Maybe_Problem(not_kept) : std::nullopt;
    }
    const std::string text = Autostart_Entry_Text(program);
    std::ifstream current(entry, std::ios::binary);
    std::string found((std::istreambuf_iterator<char>(current)), std::istreambuf_iterator<char>());
    if (found == text) return std::nullopt;
    // Whole or not at all: a session never starts from half an entry.
    if (!Replace_File_Contents(entry.string(), text)) return not_kept;
    return std::nullopt;
}

}  // namespace corvanel
