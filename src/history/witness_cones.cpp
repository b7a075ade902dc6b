// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/witness_cones.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "history/beside_record.h"
#include "profiles/cone_table.h"
#include "run/firing_record.h"
#include "setup/setting_binding.h"
#include "setup/setup_files.h"

namespace corvanel {

std::string Witness_File_Of_Record(const std::string& record_path) {
    return File_Beside_Record(record_path, ".cones");
}

std::string Read_Witness_Cones(const std::string& record_path) {
    return Read_Beside_Record(record_path, ".cones");
}

Maybe_Problem Write_Witness_Cones(const std::string& record_path, const std::string& text) {
    if (Keep_Beside_Record(record_path, ".cones", text)) return std::nullopt;
    return Problem{Operator_Text::Phrase("The witness cones were not kept"),
                   Operator_Text::Phrase("Check that the records' folder can be written, then "
                                         "save the witness cones again")};
}

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::size_t> Cone_Index(const std::string& cone) {
    const auto table = Cone_Table();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].Cone == cone) return i;
    return std::nullopt;
}

// How far one cone of the pack bent, from 0 (standing) to 1 (down); none when unreadable.
std::optional<double> Bend_Of(const std::vector<std::string>& words,
                              const Translate_Function& translate) {
    auto said = [&](const char* english) {
        const std::string own = Lower(translate(english));
        return std::ranges::any_of(words, [&](const std::string& w) {
            return w == english || (!own.empty() && w == own);
        });
    };
    if (said("down")) return 1.0;
    if (said("standing")) return 0.0;
    for (const std::string& word : words) {
        if (word.empty() || !std::isdigit(static_cast<unsigned char>(word[0]))) continue;
        const int hour = std::atoi(word.c_str());
        if (hour == 12) return 0.0;
        if (hour >= 1 && hour <= 6) return hour / 6.0;
    }
    return std::nullopt;
}

}  // namespace

Witness_Reading Read_Witness_Text(const std::string& text, const Translate_Function& translate) {
    Witness_Reading reading;
    std::string part, all = text;
    std::ranges::replace(all, ';', ',');
    std::istringstream parts(all);
    while (std::getline(parts, part, ',')) {
        std::istringstream in(Lower(part));
        std::vector<std::string> words;
        for (std::string word; in >> word;) words.push_back(word);
        if (words.empty()) continue;
        const std::optional<std::size_t> cone = Cone_Index(words[0]);
        words.erase(words.begin());
        const std::optional<double> bend = Bend_Of(words, translate);
        if (!cone || !bend) {
            reading.Position.reset();
            reading.Problem = Problem{
                Operator_Text::Phrase("The witness cones could not be read at \"%1\"",
                                      {Operator_Text::Value(part)}),
                Operator_Text::Phrase("Write each cone with how it bent, for example: 5 down, "
                                      "6 at 3 o'clock, 7 standing")};
            return reading;
        }
        // The hottest cone that bent says the most.
        const double position = static_cast<double>(*cone) - 1 + *bend;
        if (*bend > 0 && (!reading.Position || position > *reading.Position))
            reading.Position = position;
    }
    return reading;
}

Offset_Proposal Propose_Cone_Offset(const std::vector<Witness_Comparison>& newest_first,
                                    const std::string& kiln) {
    std::vector<double> apart;
    for (const Witness_Comparison& firing : newest_first) {
        if (firing.Kiln != kiln) continue;
        if (apart.size() == Offset_Firings_Used) break;
        apart.push_back(firing.Witness - firing.Program);
    }
    Offset_Proposal proposal;
    proposal.Firings = apart.size();
    if (apart.size() < Offset_Firings_Needed) return proposal;
    std::ranges::sort(apart);
    const std::size_t n = apart.size();
    const double median = n % 2 ? apart[n / 2] : (apart[n / 2 - 1] + apart[n / 2]) / 2;
    proposal.Cones = std::round(median * 4) / 4 + 0.0;
    return proposal;
}

namespace {

const Setting_Bindings<Cone_Offset>& Offset_Lines() {
    static const Setting_Bindings<Cone_Offset> lines = {
        {Setting{.File = "ConeOffset.txt",
                 .Key = "Kiln",
                 .Type = Setting_Type::Text,
                 .Label = "Kiln the cone offset is for"},
         &Cone_Offset::Kiln},
        {Setting{.File = "ConeOffset.txt",
                 .Key = "Cones",
                 .Type = Setting_Type::Decimal,
                 .Label = "Cone offset",
                 .Unit = "cones",
                 .Low = -3,
                 .High = 3},
         &Cone_Offset::Cones},
    };
    return lines;
}

}  // namespace

const Setting_List& Cone_Offset_Setting_List() {
    return Offset_Lines().Settings();
}

Cone_Offset Read_Cone_Offset(Settings_Store& store, std::vector<Problem>* problems) {
    store.Declare(Cone_Offset_Setting_List());
    for (const Settings_Store::Line_Problem& problem : store.Read_File("ConeOffset.txt")) {
        // No file, or no line: no offset taken yet.
        if (problems && problem.What != Settings_Store::Line_Problem::Kind::Missing) {
            problems->push_back(problem.Said);
        }
    }
    Cone_Offset offset;
    Values_Into(store, Offset_Lines(), offset);
    return offset;
}

Maybe_Problem Write_Cone_Offset(Settings_Store& store, const Cone_Offset& offset) {
    store.Declare(Cone_Offset_Setting_List());
    return Write_From(store, Offset_Lines(), offset);
}

}  // namespace corvanel
