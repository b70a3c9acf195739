#include "platform/foundation/SQLiteStatement.hpp"

#include "platform/foundation/SQLiteError.hpp"
#include "platform/internal/SQLiteStatementCount.hpp"

#include <sqlite3.h>

#include <cmath>
#include <utility>

namespace platform {

SQLiteStatement::SQLiteStatement(SQLiteStatement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr))
    , statement_(std::exchange(other.statement_, nullptr)) {}

SQLiteStatement& SQLiteStatement::operator=(SQLiteStatement&& other) noexcept {
    if (this != &other) {
        if (statement_) --sqlite_detail::openStatementCount();
        sqlite3_finalize(statement_);
        db_ = std::exchange(other.db_, nullptr);
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

SQLiteStatement::~SQLiteStatement() {
    if (statement_) --sqlite_detail::openStatementCount();
    sqlite3_finalize(statement_);
}

void SQLiteStatement::check(int rc) const {
    if (rc != SQLITE_OK) throw SQLiteError(rc & 0xff, sqlite3_errmsg(db_));
}

SQLiteStatement& SQLiteStatement::bind(int index, std::int64_t value) {
    check(sqlite3_bind_int64(statement_, index, value));
    return *this;
}

SQLiteStatement& SQLiteStatement::bind(int index, double value) {
    if (std::isnan(value)) return bindNull(index);
    check(sqlite3_bind_double(statement_, index, value));
    return *this;
}

SQLiteStatement& SQLiteStatement::bind(int index, std::string_view text) {
    check(sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    return *this;
}

SQLiteStatement& SQLiteStatement::bindNull(int index) {
    check(sqlite3_bind_null(statement_, index));
    return *this;
}

SQLiteStatement& SQLiteStatement::bind(int index, const std::optional<std::string>& text) {
    return text ? bind(index, std::string_view(*text)) : bindNull(index);
}

bool SQLiteStatement::step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw SQLiteError(rc & 0xff, sqlite3_errmsg(db_));
}

void SQLiteStatement::reset() {
    sqlite3_reset(statement_);
}

bool SQLiteStatement::columnIsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t SQLiteStatement::columnInt64(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double SQLiteStatement::columnDouble(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::optional<std::string> SQLiteStatement::columnText(int column) const {
    if (columnIsNull(column)) return std::nullopt;
    const auto* bytes = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

} // namespace platform
