// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"
#include "setup/setting.h"
#include "setup/settings_store.h"

namespace corvanel {

// One entry of a settings dialog.
struct Settings_Field {
    const Setting* Of = nullptr;
    std::string Text;  // as typed; a check mark holds its setting's On_Word or Off_Word
    bool Enabled = true;
    const Setting* Enabled_By = nullptr;  // a check mark that must be on

    bool On() const { return Text == Of->On_Word; }
};

// The model of a settings dialog, built from the settings it shows: each field's text,
// enabled state and what it is called. OK takes every enabled field or none: the first
// field whose entry breaks its setting's rule is said in Message and nothing is written.
class Settings_Form {
  public:
    Settings_Form(Settings_Store& store, const Setting_List& settings);

    // The fields from the store, read now; what the files held that was not taken is
    // in Message, the first problem, and in Load_Problems, all of them.
    void Load();

    std::vector<Settings_Field>& Fields() { return Fields_; }
    Settings_Field* Field(std::string_view name);  // by Setting::Name()

    void Set_Text(Settings_Field& field, std::string text);
    void Set_On(Settings_Field& field, bool on);
    // The field can be edited only while the check mark is on (MQTT's host while MQTT is on).
    void Enable_When_On(const Setting& field, const Setting& check_mark);

    // Checks, then writes every enabled field through the store. False: Message says
    // why, and the field at Bad_Field is the one to correct.
    bool OK();

    Maybe_Problem Message;
    std::vector<Problem> Load_Problems;
    std::size_t Bad_Field = 0;

  private:
    void Update_Enabled();

    Settings_Store& Store_;
    std::vector<Settings_Field> Fields_;
};

}  // namespace corvanel
