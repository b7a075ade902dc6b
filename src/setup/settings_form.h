// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"
#include "common/quantity_text.h"
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

// What a dialog's OK does with entries that break their setting's rule.
enum class Form_Taking {
    All_Or_None,  // nothing is written; the first bad entry is said, to be corrected
    Good_Ones,    // every good entry is written; a bad one shows the value in force again
};

// The model of a settings dialog, built from the settings it shows: each field's text,
// enabled state and what it is called. OK takes every enabled field or none, or the good
// ones only (`taking`): what it did not take is said in Message.
class Settings_Form {
  public:
    Settings_Form(Settings_Store& store, const Setting_List& settings,
                  Form_Taking taking = Form_Taking::All_Or_None);

    // The fields from the store, read now; what the files held that was not taken is
    // in Message, the first problem, and in Load_Problems, all of them. With
    // Load_Reads_Files off, the fields show the values in force, read before, and
    // nothing is said: the owner said it when it read them.
    void Load();
    bool Load_Reads_Files = true;
    // How the operator writes a decimal number: decimal settings are shown with its mark
    // and taken with it (or a point); files always keep the point.
    Number_Style Typing;

    std::vector<Settings_Field>& Fields() { return Fields_; }
    Settings_Field* Field(std::string_view name);  // by Setting::Name()

    void Set_Text(Settings_Field& field, std::string text);
    void Set_On(Settings_Field& field, bool on);
    // The field can be edited only while the check mark is on (MQTT's host while MQTT is on).
    void Enable_When_On(const Setting& field, const Setting& check_mark);

    // Checks, then writes every enabled field through the store (the good ones only,
    // when so taken). False: Message says why, and the field at Bad_Field is the one to
    // correct.
    bool OK();

    // An entry OK did not take when it takes the good ones: its field shows Kept again.
    struct Not_Taken {
        std::size_t Field = 0;
        enum class Kind { Bad_Entry, Not_Saved } Why = Kind::Bad_Entry;
        std::string Typed;  // as typed, for a bad entry
        std::string Kept;   // the value in force
        Problem Said;       // in the shared wording
    };
    // How OK says what it did not take, for an owner whose messages have fixed words;
    // by default the first entry's shared wording.
    std::function<Problem(const std::vector<Not_Taken>&)> Say_Not_Taken;

    // Settings kept in another shape than a line or a key each (the mail server's address
    // holds its host, port, user and password): Read fills the fields and says what the
    // files held that was not taken, Write saves the entries OK took. Both go through the
    // store; without them each field is its own setting's line.
    struct Kept_Together {
        std::function<std::vector<Problem>(Settings_Form& form)> Read;
        std::function<Maybe_Problem(Settings_Form& form)> Write;
    };
    std::optional<Kept_Together> Kept;

    Maybe_Problem Message;
    std::vector<Problem> Load_Problems;
    std::size_t Bad_Field = 0;

  private:
    void Update_Enabled();
    bool Take_Good_Ones();
    std::string Shown(const Setting& setting, std::string stored) const;
    std::string Stored(const Settings_Field& field) const;

    Settings_Store& Store_;
    Form_Taking Taking_;
    std::vector<Settings_Field> Fields_;
};

}  // namespace corvanel
