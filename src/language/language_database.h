// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/problem.h"

struct sqlite3;

namespace corvanel {

// A failure of the database engine or of the file under it: the number and text the
// language windows show in their error reports.
class Language_Database_Error : public std::runtime_error {
  public:
    Language_Database_Error(int number, const std::string& description)
        : std::runtime_error(description), Number(number) {}
    int Number;
};

// A failed step of a language window's routine, reported as those windows always have,
// one line each: "Error in the <routine>", `number_label` and the number, "Error
// description: ...".
Problem Routine_Problem(const std::string& routine, const std::string& number_label, int number,
                        const std::string& description);
// The report of a failed database step.
Problem Problem_Of(const Language_Database_Error& error, const std::string& routine,
                   const std::string& number_label = "Error number= ");

// One row of table Language, every column read as text; NULL stays distinguishable.
struct Phrase_Row {
    std::string English;
    std::optional<std::string> TargetLanguage;
    std::optional<std::string> EnglishComments;
    std::optional<std::string> TargetLanguageComments;
    std::optional<std::string> DateLastModified;
};

// The three columns the language editor may write.
enum class Editable_Column { TargetLanguage, EnglishComments, TargetLanguageComments };
std::string Column_Name(Editable_Column column);

// One language file (<language>.mdb), open for the life of the object. Nothing is kept
// between openings, so every lookup sees the last edit. Phrases and typed texts are
// always bound as parameters: an apostrophe is an ordinary character and nothing the
// operator types is ever run as a statement.
class Language_Database {
  public:
    enum class Access { Read_Only, Read_Write };

    // A file handed over by anyone is only read when it is of a sane size and its
    // phrases are a real table (a view may compute forever).
    static constexpr std::uintmax_t Largest_File = 64 * 1024 * 1024;
    // How long a lookup may take before it is cut off: a caption pass or a tick asks.
    static constexpr std::chrono::milliseconds Lookup_Time{25};

    // Opens an existing file; a missing file is error 53 and is never created. A file
    // over the size or without the table Language is refused as a damaged one.
    Language_Database(const std::string& path, Access access);
    ~Language_Database();
    Language_Database(const Language_Database&) = delete;
    Language_Database& operator=(const Language_Database&) = delete;

    // The first row whose English equals the phrase without regard to letter case. A
    // search that takes longer than `limit` is cut off: error SQLITE_INTERRUPT (9).
    std::optional<Phrase_Row> Find(const std::string& english,
                                   std::chrono::milliseconds limit = Lookup_Time);

    // Every row, in table order.
    std::vector<Phrase_Row> Select_All();

    // Rows whose English (or TargetLanguage) begins with prefix, letter case ignored.
    // "%", "_" and "\" in the prefix are taken literally.
    std::vector<Phrase_Row> Select_Prefix(bool english_column, const std::string& prefix);

    // Writes value into every row whose English equals the phrase, case ignored.
    void Update(Editable_Column column, const std::string& value, const std::string& english);

    // Creates a fresh language file holding an empty table Language (for the builder).
    static void Create(const std::string& path);
    void Insert(const Phrase_Row& row);
    void Execute(const std::string& statement);

    static std::string Engine_Version();

  private:
    std::vector<Phrase_Row> Select(const std::string& statement,
                                   const std::vector<std::string>& parameters);
    [[noreturn]] void Fail();
    [[noreturn]] void Close_And_Fail();  // a failure while opening: nothing stays open
    sqlite3* Db_ = nullptr;
};

}  // namespace corvanel
