// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/detached_editor.h"

#include <random>

namespace corvanel {

namespace fs = std::filesystem;

Detached_Editor::Detached_Editor()
    : Settings_Folder_([] {
          std::random_device random;
          return fs::temp_directory_path() /
                 ("corvanel-profile-" + std::to_string(random()) + std::to_string(random()));
          // never created: the editor finds no settings there
      }()),
      Editor(Program_Paths(Settings_Folder_), Settings_, Dialog_, Box_, Beeper_) {
    Editor.Form_Load();
}

Detached_Editor::~Detached_Editor() {
    std::error_code ignored;
    fs::remove_all(Settings_Folder_, ignored);
}

}  // namespace corvanel
