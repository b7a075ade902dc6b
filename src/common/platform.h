// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "common/error_numbers.h"

namespace corvanel {

// What a window model needs from the platform. The windows implement these over Qt;
// tests and the command-line tools implement them in plain C++.

// Open and save dialogs. Cancel is an outcome of its own, as is a dialog that failed.
struct File_Dialog_Request {
    std::string Initial_Folder;
    std::string Filter;     // "Text files (*.txt) | *.txt|All files (*.*) | *.*"
    std::string File_Name;  // preset name, may be empty
};

struct File_Dialog_Result {
    enum class Outcome { Chosen, Cancelled, Failed };
    Outcome Result = Outcome::Cancelled;
    std::string Path;                         // the chosen file, folder included, when Chosen
    Error_Number Error = Error_Number::None;  // when Failed

    static File_Dialog_Result Chosen(std::string path) {
        return {Outcome::Chosen, std::move(path), Error_Number::None};
    }
    static File_Dialog_Result Cancelled() {
        return {Outcome::Cancelled, {}, Error_Number::Dialog_Cancelled};
    }
    static File_Dialog_Result Failed(Error_Number error) { return {Outcome::Failed, {}, error}; }
};

class File_Dialog {
  public:
    virtual ~File_Dialog() = default;
    virtual File_Dialog_Result Show_Open(const File_Dialog_Request& request) = 0;
    virtual File_Dialog_Result Show_Save(const File_Dialog_Request& request) = 0;
};

// The modal message box with OK and Cancel; true for OK.
class Message_Box {
  public:
    virtual ~Message_Box() = default;
    virtual bool Ask_OK_Cancel(const std::string& text) = 0;
};

// The main window's message area: where the operator reads what happened.
class Message_Area {
  public:
    virtual ~Message_Area() = default;
    virtual void Display(const std::string& text) = 0;
    virtual void Clear() = 0;
};

// The system beep.
class Beeper {
  public:
    virtual ~Beeper() = default;
    virtual void Beep() = 0;
};

}  // namespace corvanel
