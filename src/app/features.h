// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/platform.h"
#include "run/feature.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

class QWidget;

namespace corvanel {

class Firing_History_Feature;
class Remote_Monitoring;
class Mqtt_Publishing;
class Guard_Keeper;

// What a feature is made with: where the program keeps its files, the program's one
// settings store, the message area, the window its dialogs open over and the dialog that
// asks where a file is exported to.
struct Feature_Host {
    Program_Paths Paths;
    Settings_Store& Settings;
    Message_Area& Messages;
    // For what must not be missed during a run: the message area, and the banner until
    // the operator acknowledges it (the run's ticks empty the message area).
    Message_Area& Notices;
    QWidget* Dialog_Parent = nullptr;
    File_Dialog& Export_Dialog;
    std::string Guard_Program;  // the kiln guard to start; "" for the installed one
    double Guard_Seconds = 0;   // its wait; 0 for the safety setting's minutes
};

// The program's features, in the order they hear the firing and add their menu entries.
// A new feature is one more line in Make_Features.
struct Program_Features {
    std::vector<std::unique_ptr<Feature>> All;
    Firing_History_Feature* History = nullptr;
    Remote_Monitoring* Remote = nullptr;
    Mqtt_Publishing* Mqtt = nullptr;
    Guard_Keeper* Guard = nullptr;
};

Program_Features Make_Features(const Feature_Host& host);

}  // namespace corvanel
