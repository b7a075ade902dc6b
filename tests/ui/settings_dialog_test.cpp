// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "support/qt_rig.h"
#include "support/temp_folder.h"
#include "support/test_settings.h"

namespace corvanel {
namespace {

using namespace test_settings;

// The dialog is laid out from its model, takes the entries back, and stays open with
// the model's message until they are right.
TEST(Settings_Dialog, LaysOutTheFormByTypeAndSavesOnlyWhatTheModelTakes) {
    testing::Make_Application();
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Settings_Store store(paths);
    Settings_Form form(store, {&Enabled, &Listen, &Port, &Token});
    form.Enable_When_On(Port, Enabled);
    Settings_Dialog dialog(form, "Remote", "Remote Monitoring", [](std::string_view english) {
        return "<" + std::string(english) + ">";
    });
    form.Load();
    dialog.Show_Fields();
    dialog.Apply_Language();

    auto* on = dialog.findChild<QCheckBox*>("Enabled");
    auto* listen = dialog.findChild<QComboBox*>("Listen");
    auto* port = dialog.findChild<QLineEdit*>("Port");
    auto* token = dialog.findChild<QLineEdit*>("Token");
    auto* message = dialog.findChild<QLabel*>("Remote_Message");
    ASSERT_TRUE(on && listen && port && token && message &&
                dialog.findChild<QPushButton*>("Remote_OK"));
    EXPECT_EQ(dialog.windowTitle(), "<Remote Monitoring>");
    EXPECT_EQ(on->text(), "<Publish>");
    EXPECT_EQ(listen->itemText(1), "<the network>");
    EXPECT_EQ(token->echoMode(), QLineEdit::Password);
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

    port->setText("9000");
    EXPECT_TRUE(dialog.Take_Fields());
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Listen.txt")), "network\r\n");
    EXPECT_EQ(Read_Whole_File(paths.Setup_File("Token.txt")), "abcdefgh\r\n");
}

}  // namespace
}  // namespace corvanel
