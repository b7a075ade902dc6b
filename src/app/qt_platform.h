// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "common/platform.h"

namespace corvanel {

// The platform pieces of the window models, over Qt.

class Qt_File_Dialog : public File_Dialog {
  public:
    explicit Qt_File_Dialog(QWidget* parent) : Parent_(parent) {}
    File_Dialog_Result Show_Open(const File_Dialog_Request& request) override;
    File_Dialog_Result Show_Save(const File_Dialog_Request& request) override;

  private:
    QWidget* Parent_;
};

class Qt_Message_Box : public Message_Box {
  public:
    explicit Qt_Message_Box(QWidget* parent) : Parent_(parent) {}
    bool Ask_OK_Cancel(const std::string& text) override;

  private:
    QWidget* Parent_;
};

class Qt_Beeper : public Beeper {
  public:
    void Beep() override;
};

// The filter "Text files (*.txt) | *.txt|All files (*.*) | *.*" in Qt's own form.
QString Qt_Filter_Of(const std::string& filter);

}  // namespace corvanel
