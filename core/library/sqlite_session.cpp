#include <sqlite3.h>

#include "core/library/sql_session.h"

namespace tf {
namespace {

// $N is a name to SQLite, and so is ?N in effect: each is looked up among the names before
// it, which costs the square of their number in a statement of a few thousand. Parameters
// that appear once each, in order, become plain ?; others ?N.
std::string sqliteParameters(std::string_view sql) {
    std::string plain;
    std::string numbered;
    int expected = 1;
    bool inOrder = true;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        if (sql[i] != '$' || i + 1 >= sql.size() || sql[i + 1] < '0' || sql[i + 1] > '9') {
            plain.push_back(sql[i]);
            numbered.push_back(sql[i]);
            continue;
        }
        std::size_t end = i + 1;
        int number = 0;
        while (end < sql.size() && sql[end] >= '0' && sql[end] <= '9') {
            number = number * 10 + (sql[end] - '0');
            ++end;
        }
        inOrder = inOrder && number == expected++;
        plain.push_back('?');
        numbered += "?" + std::string(sql.substr(i + 1, end - i - 1));
        i = end - 1;
    }
    return inOrder ? plain : numbered;
}

class SqliteSession : public SqlSession {
  public:
    SqliteSession(const std::string& path, int waitMs) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw LibraryError(why);
        }
        sqlite3_busy_timeout(db_, waitMs);
        sqlite3_extended_result_codes(db_, 1);
        try {
            // Readers never wait for the writer; a file that is no database fails here.
            query("PRAGMA journal_mode=WAL");
            query("PRAGMA foreign_keys=ON");
        } catch (const LibraryError&) {
            sqlite3_close(db_);  // no destructor runs for what a constructor gave up
            throw;
        }
    }
    ~SqliteSession() override { sqlite3_close(db_); }

    // IMMEDIATE: the write lock is taken at once, so two writers never both read and then
    // deadlock upgrading.
    void beginWrite() override { query("BEGIN IMMEDIATE"); }
    void beginRead() override { query("BEGIN"); }
    void commit() override { query("COMMIT"); }
    void rollback() override {
        if (!sqlite3_get_autocommit(db_)) {
            query("ROLLBACK");
        }
    }
    void lockSchema() override {}  // the write transaction holds the whole file

  protected:
    std::vector<SqlRow> run(std::string_view sql,
                            std::span<const std::string> parameters) override {
        const std::string numbered = sqliteParameters(sql);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, numbered.data(), static_cast<int>(numbered.size()), &statement,
                               nullptr) != SQLITE_OK) {
            fail();
        }
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owned(statement,
                                                                          sqlite3_finalize);
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            if (sqlite3_bind_text(statement, static_cast<int>(i + 1), parameters[i].data(),
                                  static_cast<int>(parameters[i].size()),
                                  SQLITE_TRANSIENT) != SQLITE_OK) {
                fail();
            }
        }
        std::vector<SqlRow> rows;
        for (;;) {
            const int step = sqlite3_step(statement);
            if (step == SQLITE_DONE) {
                return rows;
            }
            if (step != SQLITE_ROW) {
                fail();
            }
            SqlRow& row = rows.emplace_back();
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const auto* text = sqlite3_column_text(statement, c);
                row.push_back(
                    text ? std::optional<std::string>(std::string(
                               reinterpret_cast<const char*>(text),
                               static_cast<std::size_t>(sqlite3_column_bytes(statement, c))))
                         : std::nullopt);
            }
        }
    }

  public:
    bool mayRetry(const LibraryError&) const override { return false; }  // the wait did it
    std::string_view serialKey() const override { return "INTEGER PRIMARY KEY AUTOINCREMENT"; }

  private:
    [[noreturn]] void fail() { throw LibraryError(sqlite3_errmsg(db_)); }

    sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<SqlSession> openSqliteSession(const std::string& path, int waitMs) {
    return std::make_unique<SqliteSession>(path, waitMs);
}

}  // namespace tf
