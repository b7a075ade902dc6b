// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "common/platform.h"
#include "profiles/profile_editor_model.h"

namespace corvanel {

// An editor model with no window behind it: no beeps, a save dialog that answers with
// a path given beforehand, and a settings folder of its own, so the program's editor
// settings are neither read nor written. The profile tool and the cone preview type
// into it.
class Detached_Editor {
  public:
    Detached_Editor();
    ~Detached_Editor();
    Detached_Editor(const Detached_Editor&) = delete;
    Detached_Editor& operator=(const Detached_Editor&) = delete;

    // Where the next Save As writes.
    void Save_To(const std::string& path) { Dialog_.Target = path; }

    class Silent_Beeper : public Beeper {
      public:
        void Beep() override {}
    };
    class Answering_Dialog : public File_Dialog {
      public:
        std::string Target;
        File_Dialog_Result Show_Open(const File_Dialog_Request&) override {
            return File_Dialog_Result::Cancelled();
        }
        File_Dialog_Result Show_Save(const File_Dialog_Request&) override {
            return File_Dialog_Result::Chosen(Target);
        }
    };
    class Confirming_Box : public Message_Box {
      public:
        bool Ask_OK_Cancel(const std::string&) override { return true; }
    };

  private:
    std::filesystem::path Settings_Folder_;
    Settings_Store Settings_{Program_Paths(Settings_Folder_)};
    Answering_Dialog Dialog_;
    Confirming_Box Box_;
    Silent_Beeper Beeper_;

  public:
    Profile_Editor Editor;
};

}  // namespace corvanel
