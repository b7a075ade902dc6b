// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/language_database.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>

#include "common/error_numbers.h"
#include "common/text.h"

namespace corvanel {

Problem Routine_Problem(const std::string& routine, const std::string& number_label, int number,
                        const std::string& description) {
    return Problem::Fixed(
        Join_Lines({"Error in the " + routine, number_label + std::to_string(number),
                    "Error description: " + description}));
}

Problem Problem_Of(const Language_Database_Error& error, const std::string& routine,
                   const std::string& number_label) {
    return Routine_Problem(routine, number_label, error.Number, error.what());
}

namespace {

struct Statement_Closer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Statement_Closer>;

std::optional<std::string> Text_Of(sqlite3_stmt* statement, int column) {
    if (sqlite3_column_type(statement, column) == SQLITE_NULL) return std::nullopt;
    const unsigned char* text = sqlite3_column_text(statement, column);
    int bytes = sqlite3_column_bytes(statement, column);
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes));
}

// Turns the typed prefix into a LIKE pattern that matches it literally.
std::string Like_Prefix(const std::string& prefix) {
    std::string pattern;
    for (char c : prefix) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
    }
    return pattern + '%';
}

const char* const Select_Columns =
    "SELECT English, TargetLanguage, EnglishComments, TargetLanguageComments, "
    "DateLastModified FROM Language";

}  // namespace

std::string Column_Name(Editable_Column column) {
    switch (column) {
        case Editable_Column::TargetLanguage:
            return "TargetLanguage";
        case Editable_Column::EnglishComments:
            return "EnglishComments";
        case Editable_Column::TargetLanguageComments:
            return "TargetLanguageComments";
    }
    return "TargetLanguage";
}

Language_Database::Language_Database(const std::string& path, Access access) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw Language_Database_Error(To_Int(Error_Number::File_Not_Found),
                                      "Could not find file '" + path + "'.");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > Largest_File) {
        throw Language_Database_Error(SQLITE_TOOBIG, "The language file is too large to be one.");
    }
    int flags = access == Access::Read_Only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(path.c_str(), &Db_, flags, nullptr) != SQLITE_OK) Fail();
    sqlite3_busy_timeout(Db_, 2000);
    // What the file's schema holds runs only as SQLite's own: no function it does not trust.
    sqlite3_db_config(Db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(Db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(Db_, "SELECT type FROM sqlite_master WHERE name = 'Language'", -1, &raw,
                           nullptr) != SQLITE_OK) {
        Close_And_Fail();
    }
    const bool table = sqlite3_step(raw) == SQLITE_ROW && Text_Of(raw, 0) == "table";
    sqlite3_finalize(raw);
    if (!table) {
        sqlite3_close(Db_);
        Db_ = nullptr;
        throw Language_Database_Error(SQLITE_CORRUPT, "The language file holds no table Language.");
    }
}

void Language_Database::Close_And_Fail() {
    const int number = sqlite3_errcode(Db_);
    const std::string text = sqlite3_errmsg(Db_);
    sqlite3_close(Db_);
    Db_ = nullptr;
    throw Language_Database_Error(number, text);
}

Language_Database::~Language_Database() {
    sqlite3_close(Db_);
}

void Language_Database::Fail() {
    int number = Db_ ? sqlite3_errcode(Db_) : SQLITE_CANTOPEN;
    std::string text = Db_ ? sqlite3_errmsg(Db_) : "unable to open database file";
    throw Language_Database_Error(number, text);
}

std::vector<Phrase_Row> Language_Database::Select(const std::string& statement_text,
                                                  const std::vector<std::string>& parameters) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(Db_, statement_text.c_str(), -1, &raw, nullptr) != SQLITE_OK) Fail();
    Statement statement(raw);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        sqlite3_bind_text(raw, static_cast<int>(i + 1), parameters[i].data(),
                          static_cast<int>(parameters[i].size()), SQLITE_TRANSIENT);
    }
    std::vector<Phrase_Row> rows;
    for (;;) {
        int step = sqlite3_step(raw);
        if (step == SQLITE_DONE) break;
        if (step != SQLITE_ROW) Fail();
        Phrase_Row row;
        row.English = Text_Of(raw, 0).value_or("");
        row.TargetLanguage = Text_Of(raw, 1);
        row.EnglishComments = Text_Of(raw, 2);
        row.TargetLanguageComments = Text_Of(raw, 3);
        row.DateLastModified = Text_Of(raw, 4);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<Phrase_Row> Language_Database::Find(const std::string& english,
                                                 std::chrono::milliseconds limit) {
    // Asked every few hundred steps of the search: past its time it is cut off.
    struct Deadline {
        std::chrono::steady_clock::time_point At;
    } deadline{std::chrono::steady_clock::now() + limit};
    sqlite3_progress_handler(
        Db_, 100,
        [](void* deadline) {
            return std::chrono::steady_clock::now() >= static_cast<Deadline*>(deadline)->At ? 1 : 0;
        },
        &deadline);
    struct Handler_Off {
        sqlite3* Db;
        ~Handler_Off() { sqlite3_progress_handler(Db, 0, nullptr, nullptr); }
    } off{Db_};
    auto rows = Select(
        std::string(Select_Columns) + " WHERE English = ?1 COLLATE NOCASE ORDER BY rowid LIMIT 1",
        {english});
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

std::vector<Phrase_Row> Language_Database::Select_All() {
    return Select(std::string(Select_Columns) + " ORDER BY rowid", {});
}

std::vector<Phrase_Row> Language_Database::Select_Prefix(bool english_column,
                                                         const std::string& prefix) {
    std::string column = english_column ? "English" : "TargetLanguage";
    return Select(
        std::string(Select_Columns) + " WHERE " + column + " LIKE ?1 ESCAPE '\\' ORDER BY rowid",
        {Like_Prefix(prefix)});
}

void Language_Database::Update(Editable_Column column, const std::string& value,
                               const std::string& english) {
    std::string text =
        "UPDATE Language SET " + Column_Name(column) + " = ?1 WHERE English = ?2 COLLATE NOCASE";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(Db_, text.c_str(), -1, &raw, nullptr) != SQLITE_OK) Fail();
    Statement statement(raw);
    sqlite3_bind_text(raw, 1, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(raw, 2, english.data(), static_cast<int>(english.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(raw) != SQLITE_DONE) Fail();
}

void Language_Database::Create(const std::string& path) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    int opened =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::string error = db ? sqlite3_errmsg(db) : "unable to create database file";
    int code = db ? sqlite3_errcode(db) : SQLITE_CANTOPEN;
    if (opened == SQLITE_OK) {
        char* message = nullptr;
        opened = sqlite3_exec(db,
                              "CREATE TABLE Language (English TEXT NOT NULL, TargetLanguage TEXT, "
                              "EnglishComments TEXT, TargetLanguageComments TEXT, "
                              "DateLastModified TEXT);"
                              "CREATE INDEX Language_English ON Language (English COLLATE NOCASE);",
                              nullptr, nullptr, &message);
        if (message) {
            error = message;
            code = opened;
            sqlite3_free(message);
        }
    }
    sqlite3_close(db);
    if (opened != SQLITE_OK) throw Language_Database_Error(code, error);
}

void Language_Database::Insert(const Phrase_Row& row) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(Db_,
                           "INSERT INTO Language (English, TargetLanguage, EnglishComments, "
                           "TargetLanguageComments, DateLastModified) VALUES (?1, ?2, ?3, ?4, ?5)",
                           -1, &raw, nullptr) != SQLITE_OK) {
        Fail();
    }
    Statement statement(raw);
    auto bind = [raw](int index, const std::optional<std::string>& value) {
        if (value) {
            sqlite3_bind_text(raw, index, value->data(), static_cast<int>(value->size()),
                              SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(raw, index);
        }
    };
    bind(1, row.English);
    bind(2, row.TargetLanguage);
    bind(3, row.EnglishComments);
    bind(4, row.TargetLanguageComments);
    bind(5, row.DateLastModified);
    if (sqlite3_step(raw) != SQLITE_DONE) Fail();
}

void Language_Database::Execute(const std::string& statement) {
    char* message = nullptr;
    int result = sqlite3_exec(Db_, statement.c_str(), nullptr, nullptr, &message);
    if (result != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errstr(result);
        sqlite3_free(message);
        throw Language_Database_Error(result, text);
    }
}

std::string Language_Database::Engine_Version() {
    return std::string("SQLite ") + sqlite3_libversion();
}

}  // namespace corvanel
