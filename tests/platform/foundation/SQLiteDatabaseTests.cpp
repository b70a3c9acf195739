#include "platform/control/SQLiteControl.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchSemaphore.hpp"
#include "platform/dispatch/DispatchTime.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/SQLiteDatabase.hpp"
#include "platform/foundation/SQLiteError.hpp"
#include "platform/foundation/SQLiteTransaction.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
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

TEST_F(SQLiteDatabaseTest, ALockHeldInThisProcessIsWaitedForOnThePlatformsClockUntilTheProcessEnds) {
    openWithTable();
    struct Case {
        const char* name;
        double timeout;
        std::optional<double> heldFor; // none: held past the wait
        bool succeeds;
        double waited;
        bool processEnding = false; // the host says the process is ending: no wait goes on
    };
    const Case cases[] = {
        {"no wait asked for", 0, std::nullopt, false, 0},
        {"held past the wait", 2, std::nullopt, false, 2},
        {"released within the wait", 5, 1, true, 1},
        {"the process ending", 5, 1, false, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SQLiteControl::abandonBusyWaitsWhen(c.processEnding ? +[] { return true; } : nullptr);
        auto holder = SQLiteDatabase::open(file());
        auto waiter = SQLiteDatabase::open(file());
        waiter.setBusyTimeout(c.timeout);
        holder.exec("BEGIN EXCLUSIVE");
        platform::DispatchSemaphore released;
        // The holder lets go on a worker, which runs while the waiter waits.
        if (c.heldFor)
            platform::DispatchQueue::global().async([&holder, &released, hold = *c.heldFor] {
                platform::Thread::sleep(hold);
                holder.exec("COMMIT");
                released.signal();
            });
        const double start = sim().now();
        std::optional<int> failure;
        try {
            waiter.queryInt64("SELECT count(*) FROM t");
        } catch (const SQLiteError& e) {
            failure = e.code();
            EXPECT_STREQ(e.what(), "database is locked");
        }
        const double waited = sim().now() - start;
        EXPECT_EQ(!failure, c.succeeds);
        EXPECT_EQ(failure.value_or(SQLiteError::busy), SQLiteError::busy);
        EXPECT_GE(waited, c.waited - 1e-6);
        EXPECT_LT(waited, c.waited + 0.11) << "the wait tries again at least every 0.1 s";
        if (c.heldFor) {
            released.wait(platform::DispatchTime::distantFuture());
        } else {
            holder.exec("COMMIT");
        }
    }
    platform::SQLiteControl::abandonBusyWaitsWhen(nullptr);
}

} // namespace
