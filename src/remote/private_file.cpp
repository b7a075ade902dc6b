#include "remote/private_file.h"

#include <sys/stat.h>

#include <filesystem>

#include "setup/setup_files.h"

namespace corvanel {

void Write_Private_Text_File(const std::string& path, const std::string& text) {
    // The file is written beside and renamed over the old one: the mask makes that new
    // file private as it is created, the permissions fix a file an older version left.
    mode_t old_mask = ::umask(077);
    Write_Text_File(path, text);
    ::umask(old_mask);
    std::error_code ignored;
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
        std::filesystem::perm_options::replace, ignored);
}

}  // namespace corvanel
