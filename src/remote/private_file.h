#pragma once

#include <string>

namespace corvanel {

// Writes a setting that is a secret (a token, a password) as Write_Text_File does, but
// readable and writable by its owner only, from the moment the file exists.
void Write_Private_Text_File(const std::string& path, const std::string& text);

}  // namespace corvanel
