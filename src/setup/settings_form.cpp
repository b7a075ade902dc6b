// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/settings_form.h"

#include <set>
#include <span>

namespace corvanel {

Settings_Form::Settings_Form(Settings_Store& store, const Setting_List& settings,
                             Form_Taking taking)
    : Store_(store), Taking_(taking) {
    store.Declare(settings);
    for (const Setting* setting : settings) Fields_.push_back({setting, setting->Default});
}

void Settings_Form::Load() {
    Load_Problems.clear();
    std::set<std::string> read_files;
    // Settings kept together are read by their owner; every other one alone.
    if (Kept) Load_Problems = Kept->Read(*this);
    for (Settings_Field& field : Kept ? std::span<Settings_Field>() : std::span(Fields_)) {
        const Setting& setting = *field.Of;
        if (!Load_Reads_Files) {
            field.Text = Shown(setting, Store_.Value(setting));
            continue;
        }
        if (!setting.Key.empty()) {
            // A file of several settings is read once, all its problems with it.
            if (read_files.insert(setting.File).second) {
                for (Settings_Store::Line_Problem& problem : Store_.Read_File(setting.File))
                    Load_Problems.push_back(std::move(problem.Said));
            }
            field.Text = Shown(setting, Store_.Value(setting));
            continue;
        }
        Settings_Store::Reading reading = Store_.Read(setting);
        field.Text = Shown(setting, reading.Value);
        if (reading.Problem) Load_Problems.push_back(*reading.Problem);
    }
    Message.reset();
    if (!Load_Problems.empty()) Message = Load_Problems.front();
    Update_Enabled();
}

Settings_Field* Settings_Form::Field(std::string_view name) {
    for (Settings_Field& field : Fields_) {
        if (field.Of->Name() == name) return &field;
    }
    return nullptr;
}

void Settings_Form::Set_Text(Settings_Field& field, std::string text) {
    field.Text = std::move(text);
    Update_Enabled();
}

void Settings_Form::Set_On(Settings_Field& field, bool on) {
    Set_Text(field, on ? field.Of->On_Word : field.Of->Off_Word);
}

void Settings_Form::Enable_When_On(const Setting& field, const Setting& check_mark) {
    for (Settings_Field& each : Fields_) {
        if (each.Of == &field) each.Enabled_By = &check_mark;
    }
    Update_Enabled();
}

void Settings_Form::Update_Enabled() {
    for (Settings_Field& field : Fields_) {
        if (!field.Enabled_By) continue;
        field.Enabled = false;
        for (const Settings_Field& other : Fields_) {
            if (other.Of == field.Enabled_By) field.Enabled = other.On();
        }
    }
}

bool Settings_Form::OK() {
    if (Taking_ == Form_Taking::Good_Ones) return Take_Good_Ones();
    for (std::size_t i = 0; i < Fields_.size(); ++i) {
        const Settings_Field& field = Fields_[i];
        if (!field.Enabled || Setting_Value_Of_Text(*field.Of, Stored(field))) continue;
        Message = Bad_Setting_Problem(*field.Of, field.Text, std::nullopt);
        Bad_Field = i;
        return false;
    }
    if (Kept) {
        Bad_Field = 0;  // or the field Write names
        Message = Kept->Write(*this);
        return !Message;
    }
    for (std::size_t i = 0; i < Fields_.size(); ++i) {
        if (!Fields_[i].Enabled) continue;
        if (Maybe_Problem problem = Store_.Write(*Fields_[i].Of, Stored(Fields_[i]))) {
            Message = std::move(problem);
            Bad_Field = i;
            return false;
        }
    }
    Message.reset();
    return true;
}

bool Settings_Form::Take_Good_Ones() {
    std::vector<Not_Taken> not_taken;
    for (std::size_t i = 0; i < Fields_.size(); ++i) {
        Settings_Field& field = Fields_[i];
        if (!field.Enabled) continue;
        const Setting& setting = *field.Of;
        Not_Taken entry{
            i, Not_Taken::Kind::Bad_Entry, field.Text, Shown(setting, Store_.Value(setting)), {}};
        if (!Setting_Value_Of_Text(setting, Stored(field))) {
            entry.Said = Bad_Setting_Problem(setting, field.Text, entry.Kept);
        } else if (Maybe_Problem problem = Store_.Write(setting, Stored(field))) {
            entry.Why = Not_Taken::Kind::Not_Saved;
            entry.Typed.clear();
            entry.Said = std::move(*problem);
        } else {
            continue;
        }
        field.Text = entry.Kept;
        not_taken.push_back(std::move(entry));
    }
    Update_Enabled();
    if (not_taken.empty()) {
        Message.reset();
        return true;
    }
    Bad_Field = not_taken.front().Field;
    Message = Say_Not_Taken ? Say_Not_Taken(not_taken) : not_taken.front().Said;
    return false;
}

std::string Settings_Form::Shown(const Setting& setting, std::string stored) const {
    if (setting.Type != Setting_Type::Decimal || Typing.Decimal == ".") return stored;
    if (const std::size_t point = stored.find('.'); point != std::string::npos)
        stored.replace(point, 1, Typing.Decimal);
    return stored;
}

std::string Settings_Form::Stored(const Settings_Field& field) const {
    return field.Of->Is_Number() ? Decimal_Point_Text(field.Text, Typing) : field.Text;
}

}  // namespace corvanel
