// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/windows/remote_monitoring.h"

#include <QHostInfo>
#include <QNetworkInterface>

#include "common/text.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "remote/qt/status_server.h"
#include "remote/remote_settings.h"
#include "remote/windows/remote_monitoring_window.h"

namespace corvanel {

std::string Network_Host_Name() {
    // A phone in the studio reaches the computer at its address on the home or studio
    // network (10.x, 172.16-31.x, 192.168.x), so such an address comes before any other.
    auto on_studio_network = [](const QHostAddress& address) {
        const quint32 ip = address.toIPv4Address();
        return (ip >> 24) == 10 || (ip >> 20) == 0xAC1 || (ip >> 16) == 0xC0A8;
    };
    std::string other;
    for (const QNetworkInterface& line : QNetworkInterface::allInterfaces()) {
        const auto flags = line.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        for (const QNetworkAddressEntry& entry : line.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() != QAbstractSocket::IPv4Protocol) continue;
            if (on_studio_network(address)) return address.toString().toStdString();
            if (other.empty()) other = address.toString().toStdString();
        }
    }
    return other.empty() ? QHostInfo::localHostName().toStdString() : other;
}

Remote_Monitoring::Remote_Monitoring(Settings_Store& settings, Message_Area& messages,
                                     QWidget* dialog_parent)
    : Settings_(settings),
      Messages_(messages),
      Dialog_Parent_(dialog_parent),
      Form_(settings, Remote_Setting_List()) {}

Remote_Monitoring::~Remote_Monitoring() {
    Window_.reset();
    Server_.reset();
    if (Firing_) Firing_->Detach(Snapshot_);
}

void Remote_Monitoring::Attach(Firing_Status_Seam& firing) {
    Firing_ = &firing;
    Firing_->Attach(Snapshot_);
}

std::vector<Menu_Entry> Remote_Monitoring::Menu_Entries() {
    return {{"SetUp", "Remote Monitoring", "mnuRemoteMonitoring", [this] { Open_Dialog(); }}};
}

void Remote_Monitoring::Apply_Settings() {
    Server_.reset();
    std::vector<Problem> problems;
    Remote_Settings settings = Read_Remote_Settings(Settings_, problems);
    for (const Problem& problem : problems) Show_Problem(Messages_, problem);
    if (!settings.Enabled) return;
    if (settings.On_Network && settings.Token.empty()) {
        // The network needs a token: make one and keep it, so the dialog shows it.
        settings.Token = New_Access_Token();
        if (Maybe_Problem problem = Settings_.Write(Remote_Setting::Token, settings.Token))
            Show_Problem(Messages_, *problem);
    }
    Server_ = std::make_unique<Status_Server>(Snapshot_);
    std::string failure = Server_->Start(settings);
    if (!failure.empty()) {
        Server_.reset();
        Show_Problem(
            Messages_,
            {Operator_Text::Phrase(
                 "%1 %2", {Operator_Text::Phrase("The status page could not be started on port"),
                           Operator_Text::Value(std::to_string(settings.Port) + ": " + failure)}),
             Operator_Text::Phrase("The firing goes on without it")});
        return;
    }
    Remote_Settings shown = settings;
    shown.Token.clear();  // the message area is no place for the token
    std::string said = TranslateText("Status page at") + " " +
                       Page_Address(shown, settings.On_Network ? Network_Host_Name() : "127.0.0.1");
    if (settings.On_Network) {
        said +=
            std::string(CRLF) + TranslateText(
                                    "A phone needs the whole address with its key: SetUp -> Remote "
                                    "Monitoring shows it, ready to copy.");
        // A short token the operator typed still opens the page, but is said to be weak.
        if (!Token_Is_Strong(settings.Token)) {
            said += std::string(CRLF) +
                    TranslateText(
                        "The access token is short: someone on the network could guess it. "
                        "SetUp -> Remote Monitoring -> New Token makes a safe one.");
        }
    }
    Messages_.Display(said);
}

void Remote_Monitoring::Open_Dialog() {
    if (!Window_) {
        Window_ =
            std::make_unique<Remote_Monitoring_Window>(Form_, Network_Host_Name(), Dialog_Parent_);
    }
    if (Window_->Open() == QDialog::Accepted) Apply_Settings();
}

}  // namespace corvanel
