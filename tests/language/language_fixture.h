#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "language/language_database.h"
#include "language/translate.h"
#include "setup/program_paths.h"
#include "support/temp_folder.h"

namespace corvanel {

// A program folder of its own with a LanguageFiles folder, made the folder every
// lookup uses; the language is reset to "none chosen", as at a fresh start.
class Language_Test_Folder {
  public:
    Language_Test_Folder() : Paths(Folder.Path()) {
        std::filesystem::create_directories(Paths.Language_Folder());
        Use_Language_Program_Folder(Paths);
        CurrentLanguage.clear();
    }
    ~Language_Test_Folder() { CurrentLanguage.clear(); }

    std::string Database(const std::string& language) const {
        return Paths.Language_Folder() + language + ".mdb";
    }

    // A language file holding the given rows, in order.
    void Make_Language(const std::string& language, const std::vector<Phrase_Row>& rows) const {
        Language_Database::Create(Database(language));
        Language_Database database(Database(language), Language_Database::Access::Read_Write);
        database.Execute("BEGIN");
        for (const Phrase_Row& row : rows) database.Insert(row);
        database.Execute("COMMIT");
    }
    std::vector<Phrase_Row> Rows(const std::string& language) const {
        return Language_Database(Database(language), Language_Database::Access::Read_Only)
            .Select_All();
    }

    Temp_Folder Folder;
    Program_Paths Paths;
};

inline Phrase_Row Row(std::string english, std::optional<std::string> target,
                      std::optional<std::string> comment = std::nullopt) {
    return {std::move(english), std::move(target), std::move(comment), std::nullopt, std::nullopt};
}

}  // namespace corvanel
