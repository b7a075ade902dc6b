// SPDX-License-Identifier: GPL-3.0-or-later
// corvanel-guard: stops a firing whose program has died or hangs.

#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "common/problem.h"
#include "guard/guard_heartbeat.h"
#include "guard/kiln_guard.h"
#include "guard/posix_guard_platform.h"
#include "language/translate.h"
#include "remote/mqtt_settings.h"
#include "run/safety_settings.h"
#include "run/smtp_mail_sender.h"
#include "setup/program_lock.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"
#include "tools/guard_mqtt.h"

namespace {

const char* const Help =
    "Usage: corvanel-guard --folder DIR --program-pid PID [--after SECONDS] [--life-pipe FD]\n"
    "Stops a kiln firing when the Corvanel program that drives it has died or hangs.\n"
    "\n"
    "Corvanel starts the guard when a run starts and stops it when the run ends with a\n"
    "soft off or at the profile's end; nobody needs to start it by hand. During the run\n"
    "the program writes a heartbeat at every tick into corvanel.heartbeat in its program\n"
    "folder, and a beat over a local socket it started the guard with, which needs no\n"
    "disk. When no new beat has come either way for the set time (\"Minutes without a\n"
    "sign of life before the guard acts\" in the Safety Settings, 10 minutes unless\n"
    "changed), the guard ends the program if it is still there but hangs, opens the\n"
    "controller's port with the program's settings, gives the controller the set value\n"
    "of a soft off (70 F or 20 C)\n"
    "and reads it back, trying again every 10 seconds until the controller takes it. It\n"
    "adds a \"guard\" line to the firing record and mails the notification list when\n"
    "e-mail notification is on, and publishes the state and an alarm to MQTT when the\n"
    "program publishes there.\n"
    "\n"
    "Then it reads the kiln every 30 seconds, adds a line to the record each minute and\n"
    "mails the \"Kiln heating with output off\" alarm, until the kiln is cold or Corvanel\n"
    "starts again and takes the controller back.\n"
    "\n"
    "The guard runs in a session of its own: closing the program's window or killing the\n"
    "program does not end it. It acts on the device the program had open, as the program\n"
    "names it in the heartbeat, takes it for itself alone and never uses it while the\n"
    "program does. SIGUSR1 is the program's word to stand down. SIGTERM or SIGINT (a\n"
    "shutdown, a logout, a kill) during a run make it act at once, unless the program\n"
    "asks it to stand down within 5 seconds. It cannot help when the computer itself\n"
    "stops. It logs what it does on standard error and in corvanel-guard.log in the\n"
    "program folder; a line repeated is counted, not written again.\n"
    "\n"
    "Options:\n"
    "  --folder DIR        the program folder of the kiln (Setup, Logfiles, ...)\n"
    "  --program-pid PID   the process of the program that starts the guard\n"
    "  --after SECONDS     how long without a sign of life before the guard acts\n"
    "                      (default 600)\n"
    "  --life-pipe FD      a local socket the program beats over (the program gives it)\n"
    "  --help              print this help and exit\n"
    "  --version           print the version and exit\n"
    "\n"
    "Exit status: 0 when told to stand down or once the kiln is cold, 1 when it was told to\n"
    "stand down before the controller took the soft off, 2 for bad arguments, 3 when\n"
    "another guard already watches the folder.\n";

constexpr std::string_view Tool_Name = "corvanel-guard";

int Bad_Usage(const std::string& message) {
    corvanel::Report_Tool_Problem(std::cerr, Tool_Name, corvanel::Problem::Fixed(message));
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    long pid = 0;
    double after = 600;
    long life_line = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--help") {
            std::cout << Help;
            return 0;
        }
        if (word == "--version") {
            std::cout << "corvanel-guard (Corvanel) " CORVANEL_PROGRAM_VERSION "\n"
                      << "Copyright (C) 2026 Corvanel developers\n"
                      << "License GPL-3.0-or-later <https://www.gnu.org/licenses/gpl-3.0.html>.\n";
            return 0;
        }
        if (i + 1 >= argc) return Bad_Usage("option " + word + " needs a value; see --help");
        const std::string value = argv[++i];
        char* end = nullptr;
        if (word == "--folder") {
            folder = value;
        } else if (word == "--program-pid") {
            pid = std::strtol(value.c_str(), &end, 10);
            if (*end || pid <= 0) return Bad_Usage("--program-pid takes a process id");
        } else if (word == "--after") {
            after = std::strtod(value.c_str(), &end);
            if (*end || !(after >= 1 && after <= 24 * 3600)) {
                return Bad_Usage("--after takes seconds from 1 to 86400");
            }
        } else if (word == "--life-pipe") {
            life_line = std::strtol(value.c_str(), &end, 10);
            if (*end || life_line < 0 || life_line > 1023) {
                return Bad_Usage("--life-pipe takes a file descriptor");
            }
        } else {
            return Bad_Usage("unknown option " + word + "; see --help");
        }
    }
    if (folder.empty() || pid == 0) return Bad_Usage("--folder and --program-pid are needed");

    corvanel::Posix_Guard_Platform::Catch_Signals();
    const corvanel::Program_Paths paths{std::filesystem::path(folder)};
    const corvanel::Program_Lock lock =
        corvanel::Program_Lock::Take(paths.Folder(), corvanel::Guard_Lock_File_Name);
    if (lock.Result() == corvanel::Program_Lock::Outcome::Held) {
        corvanel::Report_Tool_Problem(
            std::cerr, Tool_Name,
            corvanel::Problem::Fixed("another guard (process " + std::to_string(lock.Holder()) +
                                     ") already watches " + folder));
        return 3;
    }
    corvanel::Settings_Store settings(paths);
    corvanel::Use_Language_Program_Folder(paths);
    corvanel::Use_Chosen_Language(settings);
    corvanel::Guard_Settings guard;
    guard.After_Seconds = after;
    guard.Program_Pid = pid;
    settings.Declare(corvanel::Safety_Setting_List());
    settings.Read_File("Safety.txt");  // read only: the program keeps the file
    guard.Safety = corvanel::Safety_Settings_Of(settings);
    if (settings.On(corvanel::Program_Setting::EnableEmailNotification)) {
        guard.Notification_List = settings.Read(corvanel::Program_Setting::Email_List).Value;
    }
    corvanel::Smtp_Mail_Sender mail(paths);
    corvanel::Posix_Guard_Platform platform(settings, mail);
    if (life_line >= 0) platform.Use_Life_Line(static_cast<int>(life_line));
    // Connected only once the guard acts: until then the program publishes.
    std::vector<corvanel::Problem> ignored;
    const corvanel::Mqtt_Settings mqtt = corvanel::Read_Mqtt_Settings(settings, ignored);
    std::unique_ptr<corvanel::Guard_Mqtt> publisher;
    if (mqtt.Enabled) {
        platform.Published = [&](const corvanel::Firing_Status& status,
                                 corvanel::Firing_Event event, const std::string& detail) {
            if (!publisher) {
                publisher = std::make_unique<corvanel::Guard_Mqtt>(
                    mqtt, settings.Read(corvanel::Program_Setting::ThermalDeviceName).Value);
                if (!publisher->Refused().empty()) {
                    platform.Log("MQTT: not connecting to the broker: " + publisher->Refused());
                }
            }
            publisher->Firing_Changed(status, event, detail);
        };
    }
    return corvanel::Kiln_Guard(platform, guard).Run();
}
