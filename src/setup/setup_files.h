// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace corvanel {

// Replaces the whole content of a file: written beside it, flushed, then renamed over
// it, so the file holds either its old content or the new one. Creates a missing parent
// folder. Returns false (and leaves the old file) when any step fails.
bool Replace_File_Contents(const std::string& path, const std::string& content);

// Writes text and CR LF as the whole content of the file. The new content is written
// beside the file and renamed over it, so a power cut leaves either the old setting
// or the new one, never half of one. A missing Setup folder is created. Failures are
// silent: the old file, if any, stays as it was.
void Write_Text_File(const std::string& path, const std::string& text);

// Writes a setting that is a secret (a token, a password) as Write_Text_File does, but
// readable and writable by its owner only, from the moment the file exists.
void Write_Private_Text_File(const std::string& path, const std::string& text);

// The first line of the file without its line end (a line ends at CR, LF or CR LF);
// "" when the file is missing, unreadable or empty.
std::string Read_First_Line(const std::string& path);

// The part of path after its last "\" or "/"; the whole path when it has neither.
std::string File_Name_Of_Path(std::string_view path);

}  // namespace corvanel
