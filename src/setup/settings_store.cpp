// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/settings_store.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "common/numeric.h"
#include "common/text.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace fs = std::filesystem;

struct Setting_Observers {
    struct Entry {
        int Id;
        const Setting* Of;  // null: every setting of File
        std::string File;
        Setting_Observer Observer;
    };
    std::vector<Entry> Entries;
    int Next_Id = 1;
    int Notifying = 0;

    void Remove(int id) {
        for (Entry& entry : Entries) {
            if (entry.Id == id) entry.Id = 0;  // swept when no notification is running
        }
        Sweep();
    }
    void Sweep() {
        if (Notifying) return;
        std::erase_if(Entries, [](const Entry& entry) { return entry.Id == 0; });
    }
    void Notify(const Setting& setting, const std::string& value) {
        ++Notifying;
        // An observer may subscribe or cancel: entries added now are not called, and
        // the vector is indexed, never iterated, as it may grow.
        const std::size_t count = Entries.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (Entries[i].Id == 0) continue;
            const bool mine =
                Entries[i].Of ? Entries[i].Of == &setting : Entries[i].File == setting.File;
            if (mine) {
                Setting_Observer observer = Entries[i].Observer;
                observer(setting, value);
            }
        }
        --Notifying;
        Sweep();
    }
};

Setting_Subscription& Setting_Subscription::operator=(Setting_Subscription&& other) noexcept {
    if (this != &other) {
        Cancel();
        Observers_ = std::move(other.Observers_);
        Id_ = other.Id_;
        other.Id_ = 0;
    }
    return *this;
}

void Setting_Subscription::Cancel() {
    if (std::shared_ptr<Setting_Observers> observers = Observers_.lock()) observers->Remove(Id_);
    Observers_.reset();
    Id_ = 0;
}

namespace {

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return "";
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// A Key=value file is a few short lines; one that is not is read no further.
constexpr int Most_Lines = 1000;
constexpr std::size_t Longest_Line = 64 * 1024;

}  // namespace

Settings_Store::Settings_Store(Program_Paths paths)
    : Paths_(std::move(paths)), Observers_(std::make_shared<Setting_Observers>()) {}

void Settings_Store::Declare(const Setting_List& settings) {
    for (const Setting* setting : settings) {
        if (setting->Key.empty()) continue;
        Setting_List& lines = Keyed_Files_[setting->File];
        if (std::find(lines.begin(), lines.end(), setting) == lines.end()) lines.push_back(setting);
    }
}

const Setting_List& Settings_Store::Lines_Of(const std::string& file) const {
    static const Setting_List None;
    auto found = Keyed_Files_.find(file);
    return found == Keyed_Files_.end() ? None : found->second;
}

bool Settings_Store::File_Exists(const std::string& file) const {
    std::error_code error;
    return fs::exists(Paths_.Setup_File(file), error);
}

std::optional<std::string> Settings_Store::Free_Value(const std::string& file,
                                                      std::string_view key) const {
    std::ifstream in(Paths_.Setup_File(file), std::ios::binary);
    const std::string start = std::string(key) + "=";
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        const std::size_t first = line.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        line.erase(0, first);
        if (line.size() > start.size() && line.compare(0, start.size(), start) == 0)
            return line.substr(start.size());
    }
    return std::nullopt;
}

std::string Settings_Store::Value(const Setting& setting) {
    auto found = Values_.find(&setting);
    if (found != Values_.end()) return found->second;
    return Read(setting).Value;
}

std::optional<double> Settings_Store::Number(const Setting& setting) {
    return Convert_To_Double(Value(setting)).Value;
}

void Settings_Store::Take(const Setting& setting, const std::string& value) {
    auto [at, added] = Values_.try_emplace(&setting, value);
    if (!added && at->second == value) return;
    const bool known = !added;
    at->second = value;
    if (known) Observers_->Notify(setting, value);
}

Settings_Store::Reading Settings_Store::Read(const Setting& setting) {
    if (!setting.Key.empty()) {
        Declare({&setting});
        Reading reading{"", std::nullopt};
        for (Line_Problem& problem : Read_File(setting.File)) {
            if (problem.Of == &setting) reading.Problem = std::move(problem.Said);
        }
        reading.Value = Value(setting);
        return reading;
    }
    auto known = Values_.find(&setting);
    std::string value = known != Values_.end() ? known->second : setting.Default;
    Reading reading;
    if (File_Exists(setting.File)) {
        // A secret put there by hand is kept from the other users of the computer.
        if (setting.Type == Setting_Type::Secret) Make_Private(Paths_.Setup_File(setting.File));
        const std::string line = Read_First_Line(Paths_.Setup_File(setting.File));
        if (std::optional<std::string> taken = Setting_Value_Of_Text(setting, line)) {
            value = *taken;
        } else {
            reading.Problem = Bad_Setting_Problem(setting, line, value);
        }
    }
    Take(setting, value);
    reading.Value = value;
    return reading;
}

std::string Settings_Store::Read(const Setting& setting, std::vector<Problem>& problems) {
    Reading reading = Read(setting);
    if (reading.Problem) problems.push_back(std::move(*reading.Problem));
    return std::move(reading.Value);
}

std::vector<Settings_Store::Line_Problem> Settings_Store::Read_File(const std::string& file) {
    const Setting_List& lines = Lines_Of(file);
    std::map<const Setting*, std::string> values;
    for (const Setting* setting : lines) {
        auto known = Values_.find(setting);
        values[setting] = known != Values_.end() ? known->second : setting->Default;
    }
    std::vector<Line_Problem> problems;
    std::ifstream in(Paths_.Setup_File(file), std::ios::binary);
    if (in) {
        std::set<const Setting*> seen;
        std::string line;
        for (int count = 0; count < Most_Lines && in; ++count) {
            line.clear();
            char c;
            while (in.get(c) && c != '\n') {
                if (line.size() < Longest_Line) line += c;
            }
            line = Trimmed(line);
            if (line.empty() || line[0] == '#') continue;
            const std::size_t equals = line.find('=');
            const std::string key = Trimmed(line.substr(0, equals));
            auto row = std::find_if(lines.begin(), lines.end(),
                                    [&](const Setting* setting) { return setting->Key == key; });
            if (row == lines.end() || equals == std::string::npos) {
                std::string shown;
                for (char ch : line.substr(0, 40))
                    shown += static_cast<unsigned char>(ch) < ' ' ? '?' : ch;
                problems.push_back(
                    {nullptr,
                     Line_Problem::Kind::Not_Known,
                     line.substr(0, 200),
                     {Operator_Text::Phrase(
                          "A setting the program does not know was left out: \"%1\".",
                          {Operator_Text::Value(shown)}),
                      Operator_Text::Phrase("Nothing to do: the settings are saved without it.")}});
                continue;
            }
            seen.insert(*row);
            const std::string text = Trimmed(line.substr(equals + 1));
            if (std::optional<std::string> taken = Setting_Value_Of_Text(**row, text)) {
                values[*row] = *taken;
            } else {
                problems.push_back({*row, Line_Problem::Kind::Not_Taken, text,
                                    Bad_Setting_Problem(**row, text, values[*row])});
            }
        }
        for (const Setting* setting : lines) {
            if (seen.count(setting)) continue;
            problems.push_back(
                {setting,
                 Line_Problem::Kind::Missing,
                 "",
                 {Operator_Text::Phrase(
                      "%1 is not set, so %2 is used.",
                      {Setting_Name(*setting), Setting_Value_Shown(*setting, values[setting])}),
                  Operator_Text::Phrase("Set %1 again to keep a value of your own.",
                                        {Setting_Name(*setting)})}});
        }
    }
    for (const Setting* setting : lines) Take(*setting, values[setting]);
    return problems;
}

bool Settings_Store::Save(const Setting& setting, const std::string& content) {
    const std::string path = Paths_.Setup_File(setting.File);
    if (setting.Type != Setting_Type::Secret) return Replace_File_Contents(path, content);
    return Replace_Private_File_Contents(path, content);
}

Maybe_Problem Settings_Store::Not_Saved(const Setting& setting, const std::string& value) const {
    return Problem{
        Operator_Text::Phrase("%1 could not be saved, so %2 stays in use.",
                              {Setting_Name(setting), Setting_Value_Shown(setting, value)}),
        Operator_Text::Phrase(
            "Check that the program's folder can be written to, then set it again.")};
}

Maybe_Problem Settings_Store::Write(const Setting& setting, std::string_view value) {
    std::optional<std::string> taken = Setting_Value_Of_Text(setting, value);
    if (!taken) return Bad_Setting_Problem(setting, value, Value(setting));
    if (taken->empty() && !setting.Write_Empty) return std::nullopt;
    if (setting.Key.empty()) {
        if (!Save(setting, *taken + std::string(CRLF))) return Not_Saved(setting, Value(setting));
        Take(setting, *taken);
        return std::nullopt;
    }
    Declare({&setting});
    // The other lines of the file are written as they are: asking for the value before
    // reads the file if the store has not yet.
    const std::string before = Value(setting);
    Values_[&setting] = *taken;
    if (Maybe_Problem problem = Write_File(setting.File)) {
        Values_[&setting] = before;
        return Not_Saved(setting, before);
    }
    Values_[&setting] = before;
    Take(setting, *taken);
    return std::nullopt;
}

Maybe_Problem Settings_Store::Write_File(const std::string& file) {
    const Setting_List& lines = Lines_Of(file);
    if (lines.empty()) return std::nullopt;
    std::string content;
    for (const Setting* setting : lines) {
        content += setting->Key + "=" + Value(*setting) + std::string(CRLF);
    }
    if (!Save(*lines.front(), content)) return Not_Saved(*lines.front(), Value(*lines.front()));
    return std::nullopt;
}

Setting_Subscription Settings_Store::Subscribe(const Setting& setting, Setting_Observer observer) {
    const int id = Observers_->Next_Id++;
    Observers_->Entries.push_back({id, &setting, setting.File, std::move(observer)});
    return Setting_Subscription(Observers_, id);
}

Setting_Subscription Settings_Store::Subscribe_File(const std::string& file,
                                                    Setting_Observer observer) {
    const int id = Observers_->Next_Id++;
    Observers_->Entries.push_back({id, nullptr, file, std::move(observer)});
    return Setting_Subscription(Observers_, id);
}

}  // namespace corvanel
