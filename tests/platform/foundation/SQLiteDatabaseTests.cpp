#include "platform/control/SQLiteControl.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/SQLiteDatabase.hpp"
#include "platform/foundation/SQLiteError.hpp"
#include "platform/foundation/SQLiteTransaction.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

using platform::SQLiteDatabase;
using platform::SQLiteError;
using platform::SQLiteTransaction;

class SQLiteDatabaseTest : public PlatformTest {
protected:
    std::filesystem::path file() const { return root() / "test.sqlite"; }

    SQLiteDatabase openWithTable() {
        auto db = SQLiteDatabase::open(file());
        db.exec("CREATE TABLE t (i INTEGER, r REAL, s TEXT)");
        return db;
    }
};

TEST_F(SQLiteDatabaseTest, BindsAndReadsEveryKind) {
    auto db = openWithTable();
    const double inf = std::numeric_limits<double>::infinity();
    db.prepare("INSERT INTO t VALUES (?1, ?2, ?3)")
        .bind(1, std::int64_t{-1})
        .bind(2, inf)
        .bind(3, "é\0x")
        .step();
    db.prepare("INSERT INTO t VALUES (?1, ?2, ?3)")
        .bindNull(1)
        .bind(2, std::numeric_limits<double>::quiet_NaN())
        .bind(3, std::optional<std::string>())
        .step();
    EXPECT_EQ(db.lastInsertRowId(), 2);
    auto rows = db.prepare("SELECT i, r, s FROM t ORDER BY rowid");
    ASSERT_TRUE(rows.step());
    EXPECT_EQ(rows.columnInt64(0), -1);
    EXPECT_EQ(rows.columnDouble(1), inf);
    EXPECT_EQ(rows.columnText(2), std::string("é"));
    ASSERT_TRUE(rows.step());
    EXPECT_TRUE(rows.columnIsNull(0));
    EXPECT_TRUE(rows.columnIsNull(1)) << "NaN is stored as null";
    EXPECT_EQ(rows.columnText(2), std::nullopt);
    EXPECT_FALSE(rows.step());
}

TEST_F(SQLiteDatabaseTest, FailuresCarrySQLitesCodeAndMessage) {
    auto db = openWithTable();
    try {
        db.exec("SELECT x FROM missing");
        FAIL();
    } catch (const SQLiteError& e) {
        EXPECT_EQ(e.code(), 1);
        EXPECT_STREQ(e.what(), "no such table: missing");
    }
    EXPECT_EQ(db.resultCode(), 1);

    platform::FileSystem::writeFile(root() / "hello", "hello");
    EXPECT_FALSE(SQLiteDatabase::looksLikeDatabaseFile(root() / "hello"));
    EXPECT_TRUE(SQLiteDatabase::looksLikeDatabaseFile(file()));
    auto notADatabase = SQLiteDatabase::open(root() / "hello");
    try {
        notADatabase.queryText("PRAGMA quick_check");
        FAIL();
    } catch (const SQLiteError& e) {
        EXPECT_EQ(e.code(), SQLiteError::notADatabase);
        EXPECT_STREQ(e.what(), "file is not a database");
    }
}

TEST_F(SQLiteDatabaseTest, ATransactionCommitsOrLeavesTheFileAsItWas) {
    struct Case {
        const char* name;
        std::function<void(SQLiteTransaction&)> end;
        std::int64_t rowsAfter;
        const char* error;
    };
    const Case cases[] = {
        {"commit", [](SQLiteTransaction& t) { t.commit(); }, 2, nullptr},
        {"left without commit", [](SQLiteTransaction&) {}, 1, nullptr},
        {"full disk at commit",
         [](SQLiteTransaction& t) {
             platform::SQLiteControl::failNextCommit();
             t.commit();
         },
         1, "database or disk is full"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(file());
        auto db = openWithTable();
        db.exec("INSERT INTO t VALUES (1, 1, 'a')");
        const std::string before = platform::FileSystem::readFile(file());
        try {
            SQLiteTransaction transaction(db);
            db.exec("INSERT INTO t VALUES (2, 2, 'b')");
            c.end(transaction);
            EXPECT_EQ(c.error, nullptr);
        } catch (const SQLiteError& e) {
            ASSERT_NE(c.error, nullptr);
            EXPECT_STREQ(e.what(), c.error);
            EXPECT_EQ(e.code(), SQLiteError::full);
        }
        EXPECT_FALSE(db.inTransaction());
        EXPECT_EQ(db.queryInt64("SELECT COUNT(*) FROM t"), c.rowsAfter);
        if (c.rowsAfter == 1) {
            EXPECT_EQ(platform::FileSystem::readFile(file()), before);
        }
    }
    // The fault is used up by the commit it failed.
    auto db = SQLiteDatabase::open(file());
    SQLiteTransaction again(db);
    EXPECT_NO_THROW(again.commit());
}

TEST_F(SQLiteDatabaseTest, AFailedOpenTouchesNoFile) {
    platform::SQLiteControl::failNextOpen();
    try {
        SQLiteDatabase::open(file());
        FAIL();
    } catch (const SQLiteError& e) {
        EXPECT_EQ(e.code(), SQLiteError::cannotOpen);
        EXPECT_STREQ(e.what(), "unable to open database file");
    }
    EXPECT_FALSE(platform::FileSystem::fileExists(file()));
    EXPECT_NO_THROW(SQLiteDatabase::open(file()));
}

} // namespace
