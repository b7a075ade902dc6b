#pragma once

#include <string>
#include <string_view>

namespace corvanel {

// Writes text and CR LF as the whole content of the file. The new content is written
// beside the file and renamed over it, so a power cut leaves either the old setting
// or the new one, never half of one. A missing Setup folder is created. Failures are
// silent: the old file, if any, stays as it was.
void Write_Text_File(const std::string& path, const std::string& text);

// The first line of the file without its line end (a line ends at CR, LF or CR LF);
// "" when the file is missing, unreadable or empty.
std::string Read_First_Line(const std::string& path);

// The part of path after its last "\" or "/"; the whole path when it has neither.
std::string File_Name_Of_Path(std::string_view path);

}  // namespace corvanel
