// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "language/translate.h"

namespace corvanel {

namespace {

QString Start_Path(const File_Dialog_Request& request) {
    QString folder = QString::fromStdString(request.Initial_Folder);
    if (request.File_Name.empty()) return folder;
    return folder + QString::fromStdString(request.File_Name);
}

File_Dialog_Result Result_Of(const QString& chosen) {
    if (chosen.isEmpty()) return File_Dialog_Result::Cancelled();
    return File_Dialog_Result::Chosen(chosen.toStdString());
}

}  // namespace

QString Qt_Filter_Of(const std::string& filter) {
    // "Name (*.x) | *.x|Other (*.*) | *.*": Qt wants "Name (*.x);;Other (*.*)".
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) entries << parts[i].trimmed();
    return entries.join(";;");
}

File_Dialog_Result Qt_File_Dialog::Show_Open(const File_Dialog_Request& request) {
    return Result_Of(QFileDialog::getOpenFileName(Parent_, QString(), Start_Path(request),
                                                  Qt_Filter_Of(request.Filter)));
}

File_Dialog_Result Qt_File_Dialog::Show_Save(const File_Dialog_Request& request) {
    // The program never asks before overwriting a profile; neither does the dialog.
    return Result_Of(QFileDialog::getSaveFileName(Parent_, QString(), Start_Path(request),
                                                  Qt_Filter_Of(request.Filter), nullptr,
                                                  QFileDialog::DontConfirmOverwrite));
}

bool Qt_Message_Box::Ask_OK_Cancel(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString(), QString::fromStdString(text),
                    QMessageBox::Ok | QMessageBox::Cancel, Parent_);
    box.setObjectName("Message_Box");
    box.setDefaultButton(QMessageBox::Ok);
    // The buttons in the operator's language, not the desktop's.
    box.button(QMessageBox::Ok)->setText(QString::fromStdString(TranslateText("OK")));
    box.button(QMessageBox::Cancel)->setText(QString::fromStdString(TranslateText("Cancel")));
    return box.exec() == QMessageBox::Ok;
}

void Qt_Beeper::Beep() {
    QApplication::beep();
}

}  // namespace corvanel
