// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/platform.h"
#include "run/feature.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

class QWidget;

namespace corvanel {

// What a feature is made with: where the program keeps its files, the program's one
// settings store, its clock, its hands on the kiln, the message area, the window its
// dialogs open over and the dialog that asks where a file is exported to.
struct Feature_Host {
    Program_Paths Paths;
    Settings_Store& Settings;
    Clock& Time;
    Kiln_Access& Kiln;
    Message_Area& Messages;
    // For what must not be missed during a run: the message area, and the banner until
    // the operator acknowledges it (the run's ticks empty the message area).
    Message_Area& Notices;
    QWidget* Dialog_Parent = nullptr;
    File_Dialog& Export_Dialog;
};

// The kiln guard started beside the program: the program to start ("" for the installed
// one, found beside the program or on the PATH) and its wait (0 for the safety setting's
// minutes). Tests set them; the program leaves them empty.
struct Guard_Launch {
    std::string Program;
    double Seconds = 0;
};

// The program's features, in the order they hear the firing and add their menu entries.
// A new feature is one more line in Make_Features.
using Program_Features = std::vector<std::unique_ptr<Feature>>;

Program_Features Make_Features(const Feature_Host& host, const Guard_Launch& guard = {});

// The feature of a kind in the list; null when the program has none.
template <typename Kind>
Kind* Find_Feature(const Program_Features& features) {
    for (const std::unique_ptr<Feature>& feature : features)
        if (auto* found = dynamic_cast<Kind*>(feature.get())) return found;
    return nullptr;
}

}  // namespace corvanel
