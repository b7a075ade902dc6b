// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "support/temp_folder.h"

namespace corvanel {
namespace {

const Setting On{.File = "RemoteEnabled.txt",
                 .Type = Setting_Type::On_Off,
                 .Default = "unchecked",
                 .Label = "Remote monitoring"};
const Setting Listen{.File = "RemoteListen.txt",
                     .Type = Setting_Type::Choice,
                     .Default = "local",
                     .Label = "Listen on",
                     .Choices = {"local", "network"},
                     .Choice_Labels = {"this computer", "the network"}};
const Setting Port{.File = "RemotePort.txt",
                   .Type = Setting_Type::Whole,
                   .Default = "8080",
                   .Label = "Port",
                   .Low = 1,
                   .High = 65535};
const Setting Token{.File = "RemoteToken.txt", .Type = Setting_Type::Secret, .Label = "Token"};

QApplication& Application() {
    static int argc = 1;
    static char name[] = "setup_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}

// The dialog is laid out from its model, takes the entries back, and stays open with
// the model's message until they are right.
TEST(Settings_Dialog, LaysOutTheFormByTypeAndSavesOnlyWhatTheModelTakes) {
    Application();
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Settings_Store store(paths);
    Settings_Form form(store, {&On, &Listen, &Port, &Token});
    form.Enable_When_On(Port, On);
    Settings_Dialog dialog(form, "Remote", "Remote Monitoring", [](std::string_view english) {
        return "<" + std::string(english) + ">";
    });
    form.Load();
    dialog.Show_Fields();
    dialog.Apply_Language();

    auto* on = dialog.findChild<QCheckBox*>("RemoteEnabled");
    auto* listen = dialog.findChild<QComboBox*>("RemoteListen");
    auto* port = dialog.findChild<QLineEdit*>("RemotePort");
    auto* token = dialog.findChild<QLineEdit*>("RemoteToken");
    auto* message = dialog.findChild<QLabel*>("Remote_Message");
    ASSERT_TRUE(on && listen && port && token && message &&
                dialog.findChild<QPushButton*>("Remote_OK"));
    EXPECT_EQ(dialog.windowTitle(), "<Remote Monitoring>");
    EXPECT_EQ(on->text(), "<Remote monitoring>");
    EXPECT_EQ(dialog.findChild<QLabel*>("RemotePortLabel")->text(), "<Port>");
    EXPECT_EQ(listen->itemText(1), "<the network>");
    EXPECT_EQ(token->echoMode(), QLineEdit::Password);
    EXPECT_EQ(port->text(), "8080");
    EXPECT_FALSE(port->isEnabled());

    on->setChecked(true);  // enables the port as the box is ticked
    EXPECT_TRUE(port->isEnabled());
    listen->setCurrentIndex(1);
    port->setText("http");
    token->setText("abcdefgh");
    EXPECT_FALSE(dialog.Take_Fields());
    dialog.Apply_Language();
    EXPECT_EQ(message->text().toStdString(),
              "<<Port>: \"http\" is not <a whole number from 1 to 65535>.>\r\n"
              "<Correct it, then press OK again.>");
    EXPECT_FALSE(store.File_Exists("RemoteEnabled.txt"));

    port->setText("9000");
    EXPECT_TRUE(dialog.Take_Fields());
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("RemoteListen.txt")), "network\r\n");
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("RemotePort.txt")), "9000\r\n");
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("RemoteToken.txt")), "abcdefgh\r\n");
}

}  // namespace
}  // namespace corvanel
