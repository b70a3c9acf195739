#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

/// One compiled statement of an `SQLiteDatabase` (`SQLiteDatabase::prepare`). Parameters are
/// numbered from 1, result columns from 0. Failing calls throw `SQLiteError`. Used by one thread
/// at a time; must not outlive its connection. Move-only; nothing is logged.
class SQLiteStatement {
public:
    SQLiteStatement(SQLiteStatement&& other) noexcept;
    SQLiteStatement& operator=(SQLiteStatement&& other) noexcept;
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;
    ~SQLiteStatement();

    SQLiteStatement& bind(int index, std::int64_t value);
    /// A NaN is stored as null (SQLite has no NaN); infinities are kept.
    SQLiteStatement& bind(int index, double value);
    SQLiteStatement& bind(int index, std::string_view text);
    SQLiteStatement& bind(int index, const char* text) { return bind(index, std::string_view(text)); }
    SQLiteStatement& bindNull(int index);
    /// The text, or null when absent.
    SQLiteStatement& bind(int index, const std::optional<std::string>& text);

    /// Runs the statement one step: true when a row is ready to read, false when it is done.
    bool step();
    /// Makes the statement ready to run again; the bound values stay.
    void reset();

    bool columnIsNull(int column) const;
    std::int64_t columnInt64(int column) const;
    /// Null reads as 0.
    double columnDouble(int column) const;
    /// None when the column is null.
    std::optional<std::string> columnText(int column) const;

private:
    friend class SQLiteDatabase;
    SQLiteStatement(sqlite3* db, sqlite3_stmt* statement)
        : db_(db)
        , statement_(statement) {}

    void check(int rc) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
};

} // namespace platform
