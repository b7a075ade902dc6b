// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/windows/remote_monitoring.h"

#include <QHostInfo>
#include <QNetworkInterface>

#include "common/text.h"
#include "language/translate.h"
#include "remote/windows/remote_monitoring_window.h"
#include "remote/windows/status_server.h"

namespace corvanel {

std::string Network_Host_Name() {
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback()) {
            return address.toString().toStdString();
        }
    }
    return QHostInfo::localHostName().toStdString();
}

Remote_Monitoring::Remote_Monitoring(const Program_Paths& paths, Firing_Status_Seam& firing,
                                     std::function<void(const std::string&)> display)
    : Paths_(paths),
      Firing_(firing),
      Display_(std::move(display)),
      Model_(paths, Network_Host_Name()) {
    Firing_.Attach(Snapshot_);
}

Remote_Monitoring::~Remote_Monitoring() {
    Server_.reset();
    Firing_.Detach(Snapshot_);
}

void Remote_Monitoring::Apply_Settings() {
    Server_.reset();
    std::vector<std::string> complaints;
    Remote_Settings settings = Read_Remote_Settings(Paths_, complaints);
    for (const std::string& complaint : complaints) Display_(complaint);
    if (!settings.Enabled) return;
    if (settings.On_Network && settings.Token.empty()) {
        // The network needs a token: make one and keep it, so the dialog shows it.
        settings.Token = New_Access_Token();
        Save_Remote_Settings(Paths_, settings);
    }
    Server_ = std::make_unique<Status_Server>(Snapshot_);
    std::string failure = Server_->Start(settings);
    if (!failure.empty()) {
        Server_.reset();
        Display_(Join_Lines({TranslateText("The status page could not be started on port") + " " +
                                 std::to_string(settings.Port) + ": " + failure,
                             TranslateText("The firing goes on without it")}));
        return;
    }
    Remote_Settings shown = settings;
    shown.Token.clear();  // the message area is no place for the token
    Display_(TranslateText("Status page at") + " " +
             Page_Address(shown, settings.On_Network ? Network_Host_Name() : "127.0.0.1"));
}

void Remote_Monitoring::Open_Dialog(QWidget* parent) {
    if (!Window_) {
        Window_ = std::make_unique<Remote_Monitoring_Window>(Model_, parent);
        Window_->Saved = [this] { Apply_Settings(); };
    }
    Window_->Open();
}

}  // namespace corvanel
