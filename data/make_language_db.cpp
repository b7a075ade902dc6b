// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a language database from the phrase list and, for a shipped language, its
// translation file. Refuses (and writes nothing) when a phrase is listed twice or a
// translation names a phrase the list does not hold; names every untranslated phrase.
//
//   make_language_db <phrases.txt> <out.mdb> [<translations.txt>]

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "language/language_database.h"
#include "language/language_names.h"

namespace {

struct Line {
    std::vector<std::string> Fields;
    int Number = 0;
};

struct Bad_File : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Lines of quoted fields: "first" "second"; a doubled "" inside quotes is one quote mark.
std::vector<Line> Read_Quoted_Lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Bad_File(path + ": cannot be read");
    std::vector<Line> lines;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        std::size_t i = text.find_first_not_of(" \t");
        if (i == std::string::npos || text[i] == '#') continue;
        Line line;
        line.Number = number;
        while (i < text.size()) {
            if (text[i] == ' ' || text[i] == '\t') {
                ++i;
                continue;
            }
            if (text[i] != '"') {
                throw Bad_File(path + ":" + std::to_string(number) + ": expected a quoted text");
            }
            std::string field;
            ++i;
            for (;;) {
                if (i >= text.size()) {
                    throw Bad_File(path + ":" + std::to_string(number) + ": unclosed quote");
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            line.Fields.push_back(field);
        }
        if (line.Fields.size() < 2) {
            throw Bad_File(path + ":" + std::to_string(number) + ": needs a phrase and a text");
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvanel;
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: make_language_db <phrases.txt> <out.mdb> [<translations.txt>]\n";
        return 2;
    }
    const std::string phrase_path = argv[1];
    const std::string out_path = argv[2];
    try {
        std::vector<Phrase_Row> rows;
        std::map<std::string, std::size_t> index;  // phrase in small letters -> row
        for (const Line& line : Read_Quoted_Lines(phrase_path)) {
            std::string key = LowerCaseName(line.Fields[0]);
            if (index.count(key)) {
                throw Bad_File(phrase_path + ":" + std::to_string(line.Number) +
                               ": phrase listed twice (letter case is ignored): " + line.Fields[0]);
            }
            index[key] = rows.size();
            rows.push_back(
                {line.Fields[0], std::nullopt, line.Fields[1], std::nullopt, std::nullopt});
        }
        if (argc == 4) {
            const std::string translation_path = argv[3];
            for (const Line& line : Read_Quoted_Lines(translation_path)) {
                std::string where = translation_path + ":" + std::to_string(line.Number) + ": ";
                auto found = index.find(LowerCaseName(line.Fields[0]));
                if (found == index.end() || rows[found->second].English != line.Fields[0]) {
                    throw Bad_File(where + "not in the phrase list: " + line.Fields[0]);
                }
                Phrase_Row& row = rows[found->second];
                if (row.TargetLanguage) throw Bad_File(where + "translated twice: " + row.English);
                row.TargetLanguage = line.Fields[1];
                if (line.Fields.size() > 2) row.TargetLanguageComments = line.Fields[2];
            }
            // A phrase added without its translation shows in English until it has one;
            // the language tests insist on a complete shipped language.
            for (const Phrase_Row& row : rows) {
                if (!row.TargetLanguage) {
                    std::cerr << "make_language_db: " << translation_path
                              << ": no translation yet for: " << row.English << "\n";
                }
            }
        }
        std::filesystem::create_directories(std::filesystem::path(out_path).parent_path());
        const std::string building = out_path + ".building";
        Language_Database::Create(building);
        {
            Language_Database database(building, Language_Database::Access::Read_Write);
            database.Execute("BEGIN");
            for (const Phrase_Row& row : rows) database.Insert(row);
            database.Execute("COMMIT");
        }
        std::filesystem::rename(building, out_path);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "make_language_db: " << error.what() << "\n";
        return 1;
    }
}
