// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features.h"

#include "guard/guard_keeper.h"
#include "history/cone_watch.h"
#include "history/firing_forecaster.h"
#include "history/heat_work_end.h"
#include "history/windows/firing_history_feature.h"
#include "history/windows/kiln_health_feature.h"
#include "remote/windows/mqtt_publishing.h"
#include "remote/windows/remote_monitoring.h"
#include "run/mail_setup.h"
#include "run/safety_settings.h"
#include "run/windows/mail_settings_window.h"
#include "run/windows/safety_settings_window.h"
#include "ui/settings_dialog_feature.h"

namespace corvanel {

namespace {

template <typename Kind, typename... Args>
Kind& Add(Program_Features& features, Args&&... args) {
    auto feature = std::make_unique<Kind>(std::forward<Args>(args)...);
    Kind& added = *feature;
    features.push_back(std::move(feature));
    return added;
}

}  // namespace

Program_Features Make_Features(const Feature_Host& host, const Guard_Launch& guard) {
    Program_Features features;
    Add<Firing_History_Feature>(features, host.Paths, host.Export_Dialog, host.Settings);
    Add<Kiln_Health_Feature>(features, host.Paths, host.Settings, host.Time, host.Notices,
                             host.Messages, host.Export_Dialog);
    Add<Firing_Forecaster>(features, host.Paths, host.Settings);
    Add<Cone_Watch>(features, host.Paths, host.Settings);
    Add<Heat_Work_End>(features, host.Paths, host.Settings, host.Kiln);
    // Safety's entry ends the program's own SetUp entries, before the remote ones.
    // The supervision reads them at the run window's load and follows every change saved.
    QWidget* parent = host.Dialog_Parent;
    Add<Settings_Dialog_Feature<Safety_Settings_Window>>(
        features, Menu_Entry{"SetUp", "Safety Settings", "mnuSafetySettings", {}},
        Safety_Settings_Form(host.Settings), [parent](Settings_Form& form) {
            return std::make_unique<Safety_Settings_Window>(form, parent);
        });
    // The Email menu's last entry: the server the alarm mails go out through (the sender
    // reads it at every mail), and its test mail to the notification list.
    Kiln_Access& kiln = host.Kiln;
    Add<Settings_Dialog_Feature<Mail_Settings_Window>>(
        features, Menu_Entry{"Email", "Mail Settings", "mnuMailSettings", {}},
        Mail_Setup_Form(host.Settings), [parent, &kiln](Settings_Form& form) {
            return std::make_unique<Mail_Settings_Window>(
                form, [&kiln] { return kiln.Notification_List(); }, parent);
        });
    // Its setting is in the safety dialog; it has no entry of its own. What it says must
    // outlast the tick that clears the message area: the banner keeps it.
    Add<Guard_Keeper>(features, host.Paths, host.Settings, host.Notices, host.Kiln, guard.Program,
                      guard.Seconds);
    Add<Remote_Monitoring>(features, host.Settings, host.Messages, host.Dialog_Parent);
    Add<Mqtt_Publishing>(features, host.Settings, host.Messages, host.Dialog_Parent);
    return features;
}

}  // namespace corvanel
