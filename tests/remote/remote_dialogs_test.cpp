// SPDX-License-Identifier: GPL-3.0-or-later
// What the status page's and MQTT's dialogs add to the fields laid out from their settings.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <filesystem>

#include "remote/mqtt_settings.h"
#include "remote/remote_settings.h"
#include "remote/windows/mqtt_setup_window.h"
#include "remote/windows/remote_monitoring_window.h"
#include "support/qt_rig.h"

namespace corvanel::testing {
namespace {

struct Dialog_Rig {
    Dialog_Rig() { Make_Application(); }
    // Runs `steps` on the open dialog, which they close; a dialog they leave open is
    // cancelled, so a failing step cannot hang the test.
    void While_Open(QDialog& dialog, std::function<void()> steps) {
        QTimer::singleShot(0, [&dialog, steps] {
            steps();
            if (dialog.isVisible()) dialog.reject();
        });
    }
    template <typename Kind = QLineEdit>
    Kind* Get(QDialog& dialog, const char* name) {
        return dialog.findChild<Kind*>(name);
    }
    std::string Said(QDialog& dialog) {
        return Get<QLabel>(dialog, "Message")->text().toStdString();
    }
    void Type(QDialog& dialog, const char* name, const QString& text) {
        Get(dialog, name)->clear();
        QTest::keyClicks(Get(dialog, name), text);
    }
    void OK(QDialog& dialog) {
        Get<QPushButton>(dialog, (dialog.objectName() + "_OK").toUtf8())->click();
    }

    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    Settings_Store Store{Paths};
};

// The port and token are refused in their own words; choosing the network makes a token,
// a new one on request; the address follows what is shown, with this computer's network
// address; OK saves the four files.
TEST(Remote_Monitoring_Dialog, MakesATokenForTheNetworkAndShowsTheAddress) {
    Dialog_Rig rig;
    Settings_Form form(rig.Store, Remote_Setting_List());
    Remote_Monitoring_Window dialog(form, "192.168.1.20");
    std::string token;
    rig.While_Open(dialog, [&] {
        EXPECT_EQ(dialog.Address->text(), "http://127.0.0.1:8080/");
        rig.Get<QCheckBox>(dialog, "Enable_Page")->click();
        rig.Type(dialog, "Port", "70000");
        rig.OK(dialog);
        EXPECT_EQ(rig.Said(dialog), "The port must be a whole number from 1 to 65535");
        rig.Type(dialog, "Port", "8181");
        rig.Type(dialog, "Token", "short");
        rig.OK(dialog);
        EXPECT_EQ(rig.Said(dialog), "The access token must be 8 to 64 letters, digits, - or _");
        rig.Type(dialog, "Token", "");
        rig.Get<QRadioButton>(dialog, "Listen_Network")->click();
        const QString first = rig.Get(dialog, "Token")->text();
        EXPECT_EQ(first.size(), 32);
        rig.Get<QPushButton>(dialog, "New_Token")->click();
        token = rig.Get(dialog, "Token")->text().toStdString();
        EXPECT_NE(QString::fromStdString(token), first);
        EXPECT_EQ(dialog.Address->text().toStdString(), "http://192.168.1.20:8181/?token=" + token);
        rig.OK(dialog);
    });
    ASSERT_EQ(dialog.Open(), QDialog::Accepted);
    for (auto [file, bytes] : {std::pair{"RemoteMonitoring.txt", std::string("checked")},
                               {"RemoteMonitoringPort.txt", "8181"},
                               {"RemoteMonitoringListen.txt", "network"},
                               {"RemoteMonitoringToken.txt", token}}) {
        EXPECT_EQ(Read_Whole_File(rig.Paths.Setup_File(file)), bytes + "\r\n") << file;
    }
}

// The host is refused in its own words; the CA file is greyed while TLS is off and must
// exist while it is on; the kiln's default prefix is stored empty; the password privately.
TEST(Mqtt_Dialog, ChecksTheCaFileWithTlsAndStoresTheDefaultPrefixEmpty) {
    Dialog_Rig rig;
    Settings_Form form(rig.Store, Mqtt_Setting_List());
    Mqtt_Setup_Window dialog(form);
    rig.While_Open(dialog, [&] {
        EXPECT_FALSE(rig.Get(dialog, "Ca_File")->isEnabled());
        EXPECT_EQ(rig.Get(dialog, "Topic_Prefix")->placeholderText(), "corvanel/studio_kiln");
        rig.Type(dialog, "Host", "kiln lan");
        rig.OK(dialog);
        EXPECT_EQ(rig.Said(dialog),
                  "The broker's host must be a name or an address without spaces");
        rig.Type(dialog, "Host", "kiln.lan");
        rig.Get<QCheckBox>(dialog, "Use_Tls")->click();
        EXPECT_TRUE(rig.Get(dialog, "Ca_File")->isEnabled());
        rig.Type(dialog, "Ca_File", "/no/such/ca.pem");
        rig.OK(dialog);
        EXPECT_EQ(rig.Said(dialog), "The CA file does not exist: /no/such/ca.pem");
        rig.Type(dialog, "Ca_File", "");
        rig.Type(dialog, "Password", "secret");
        rig.Type(dialog, "Topic_Prefix", "corvanel/studio_kiln");
        rig.OK(dialog);
    });
    ASSERT_EQ(dialog.Open("corvanel/studio_kiln"), QDialog::Accepted);
    for (auto [file, bytes] : {std::pair{"MqttHost.txt", "kiln.lan\r\n"},
                               {"MqttTls.txt", "checked\r\n"},
                               {"MqttTopicPrefix.txt", "\r\n"},
                               {"MqttPassword.txt", "secret\r\n"}}) {
        EXPECT_EQ(Read_Whole_File(rig.Paths.Setup_File(file)), bytes) << file;
    }
    auto perms = std::filesystem::status(rig.Paths.Setup_File("MqttPassword.txt")).permissions();
    EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
}

}  // namespace
}  // namespace corvanel::testing
