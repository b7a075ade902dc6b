// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"
#include "setup/program_paths.h"
#include "setup/setting.h"

namespace corvanel {

using Setting_Observer = std::function<void(const Setting& setting, const std::string& value)>;
struct Setting_Observers;

// Held by whoever observes a setting; observing ends when it is dropped or Cancel()ed,
// also from inside a notification, and outliving the store is harmless.
class Setting_Subscription {
  public:
    Setting_Subscription() = default;
    Setting_Subscription(std::weak_ptr<Setting_Observers> observers, int id)
        : Observers_(std::move(observers)), Id_(id) {}
    Setting_Subscription(Setting_Subscription&& other) noexcept { *this = std::move(other); }
    Setting_Subscription& operator=(Setting_Subscription&& other) noexcept;
    Setting_Subscription(const Setting_Subscription&) = delete;
    Setting_Subscription& operator=(const Setting_Subscription&) = delete;
    ~Setting_Subscription() { Cancel(); }
    void Cancel();

  private:
    std::weak_ptr<Setting_Observers> Observers_;
    int Id_ = 0;
};

// The settings of one program folder's Setup folder. Every setting is read, checked and
// written here: a file holding a value the setting may not have leaves the value it had
// (its default, the first time) and says so as a problem; a value is written whole or not
// at all. A file of one setting holds its value and CR LF; a file of several holds one
// Key=value CR LF line per setting declared for it, in the order declared. Observers hear
// of every change, written here or found in a file. Used from one thread.
class Settings_Store {
  public:
    explicit Settings_Store(Program_Paths paths);

    // Settings kept as Key=value lines are declared, all of a file together, before one
    // of them is written: the store writes the lines it knows, in the order declared. A
    // setting read or written undeclared is declared then, after those declared before.
    // Settings of one-line files need not be declared.
    void Declare(const Setting_List& settings);

    struct Reading {
        std::string Value;
        Maybe_Problem Problem;  // the file held a value the setting may not have
    };
    // Reads the setting's file now. A missing file gives the value the store had (the
    // default at first) without a problem.
    Reading Read(const Setting& setting);
    // Reads it so, its problem added to those of the other settings read with it.
    std::string Read(const Setting& setting, std::vector<Problem>& problems);

    // What was wrong with one line of a Key=value file, for the owner whose messages
    // have fixed words of their own, and the shared wording.
    struct Line_Problem {
        const Setting* Of = nullptr;  // null: a line that names no declared setting
        enum class Kind { Not_Known, Not_Taken, Missing } What = Kind::Not_Known;
        std::string Found;  // the line (Not_Known) or the value (Not_Taken) as found
        Problem Said;
    };
    // Reads every declared line of a Key=value file: a line not known, a value not taken
    // and a setting without its line are each a problem, in the order of the file. A
    // missing file is none.
    std::vector<Line_Problem> Read_File(const std::string& file);
    bool File_Exists(const std::string& file) const;

    // A Key=value file whose keys the operator chooses (the port map's port numbers), not
    // settings declared beforehand: the value of the first line with `key`, blanks at its
    // ends dropped; nullopt when there is none. A line not understood is passed over, not
    // said, and nothing is kept: the file is read at every call.
    std::optional<std::string> Free_Value(const std::string& file, std::string_view key) const;

    // The value last read or written; the file is read the first time.
    std::string Value(const Setting& setting);
    bool On(const Setting& setting) { return Value(setting) == setting.On_Word; }
    std::optional<double> Number(const Setting& setting);  // nullopt: not set

    // Writes the value (as Setting_Value_Of_Text takes it). A value not taken, or a file
    // that could not be written, is a problem and the setting keeps its value.
    Maybe_Problem Write(const Setting& setting, std::string_view value);
    Maybe_Problem Set_On(const Setting& setting, bool on) {
        return Write(setting, on ? setting.On_Word : setting.Off_Word);
    }
    // Writes a Key=value file whole, with the values the store has.
    Maybe_Problem Write_File(const std::string& file);

    Setting_Subscription Subscribe(const Setting& setting, Setting_Observer observer);
    Setting_Subscription Subscribe_File(const std::string& file, Setting_Observer observer);

    const Program_Paths& Paths() const { return Paths_; }

  private:
    const Setting_List& Lines_Of(const std::string& file) const;
    void Take(const Setting& setting, const std::string& value);
    bool Save(const Setting& setting, const std::string& content);
    Maybe_Problem Not_Saved(const Setting& setting, const std::string& value) const;

    Program_Paths Paths_;
    std::map<std::string, Setting_List> Keyed_Files_;
    std::map<const Setting*, std::string> Values_;
    std::shared_ptr<Setting_Observers> Observers_;
};

}  // namespace corvanel
