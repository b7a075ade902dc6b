// SPDX-License-Identifier: GPL-3.0-or-later
// The language files: a damaged or hostile database file, and hostile phrases and
// searches against it, through the lookup every window uses and the language editor's
// search.

#include <filesystem>

#include "common/error_numbers.h"
#include "fuzz_input.h"
#include "language/language_database.h"
#include "language/language_database_interface_model.h"
#include "language/translate.h"

using namespace corvanel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fuzz_Input input(data, size);
    const std::string phrase = input.Piece();
    const std::string search = input.Piece();
    const std::string database = input.Rest();

    static const Program_Paths paths(fuzz::Scratch_File("program"));
    const std::string file = paths.Language_Folder() + "fuzzed.mdb";
    std::filesystem::remove(file + "-journal");
    Write_Whole_File(file, database);

    try {
        Language_Database db(file, Language_Database::Access::Read_Only);
        db.Find(phrase);
        db.Select_Prefix(true, search);
        db.Select_Prefix(false, search);
    } catch (const Run_Time_Error&) {           // not a file
    } catch (const Language_Database_Error&) {  // not a language database
    }

    // A fresh start of the program's lookups over this folder, in the fuzzed language.
    Use_Language_Program_Folder(paths);
    CurrentLanguage = "fuzzed";
    TranslateText(phrase);
    LanguageDataBaseInterface editor(paths);
    editor.SearchBox_Change(search);
    editor.SearchLanguageOption_Click(false);
    editor.SearchBox_Change(search);
    CurrentLanguage.clear();
    return 0;
}
