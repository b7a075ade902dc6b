#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "common/platform.h"
#include "profiles/profile_editor_model.h"

namespace corvanel {

// The editor as the profile tool drives it: no windows, no beeps, and a settings
// folder of its own, so the program's own editor settings are neither read nor written.
class Tool_Editor {
  public:
    Tool_Editor();
    ~Tool_Editor();
    Tool_Editor(const Tool_Editor&) = delete;
    Tool_Editor& operator=(const Tool_Editor&) = delete;

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
    Answering_Dialog Dialog_;
    Confirming_Box Box_;
    Silent_Beeper Beeper_;

  public:
    Profile_Editor Editor;
};

// Message box text (CR LF line ends) as console lines.
std::string Console_Text(const std::string& message_box_text);

// Puts a checked profile text into the editor as Open does; returns the messages that
// matter on a console ("Profile is valid", and the sensor default when the file's own
// code is not a known sensor).
std::string Load_Into_Editor(Profile_Editor& editor, const std::string& text,
                             const std::string& file_name);

int Make_Profile(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);

}  // namespace corvanel
