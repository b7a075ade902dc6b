// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace corvanel {

// Replaces the whole content of a file: written to a new file of a name of its own beside
// it (never through a link found there), on the disk (unless not `durable`), then renamed
// over it, the folder's entry on the disk too; so the file holds either its old content
// or the new one, even after a power cut. Creates a missing parent folder. Returns false
// (and leaves the old file, and nothing beside it) when any step fails, a full disk too.
bool Replace_File_Contents(const std::string& path, const std::string& content,
                           bool durable = true);

// Adds `content` at the end of the file, creating it: all of it, on the disk, or nothing
// (a part a full disk took is taken back). Never through a link found under the name.
bool Append_File_Contents(const std::string& path, const std::string& content);

// Writes text and CR LF as the whole content of the file. The new content is written
// beside the file and renamed over it, so a power cut leaves either the old setting
// or the new one, never half of one. A missing Setup folder is created. Failures are
// silent: the old file, if any, stays as it was.
void Write_Text_File(const std::string& path, const std::string& text);

// Replace_File_Contents for a secret (a token, a password): readable and writable by its
// owner only, from the moment the file exists.
bool Replace_Private_File_Contents(const std::string& path, const std::string& content);
// Takes every permission but the owner's from a file (one written by hand, or by an older
// version); nothing when there is no such file.
void Make_Private(const std::string& path);

// Writes a setting that is a secret (a token, a password) as Write_Text_File does, but
// readable and writable by its owner only, from the moment the file exists.
void Write_Private_Text_File(const std::string& path, const std::string& text);

// The first line of the file without its line end (a line ends at CR, LF or CR LF);
// "" when the file is missing, unreadable or empty.
std::string Read_First_Line(const std::string& path);

// The part of path after its last "\" or "/"; the whole path when it has neither.
std::string File_Name_Of_Path(std::string_view path);

}  // namespace corvanel
