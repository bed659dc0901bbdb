#pragma once

#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// What went wrong with a library: the engine's own words, for the message the user reads.
class LibraryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One row of a result; a NULL is nothing.
using SqlRow = std::vector<std::optional<std::string>>;

// The little the price library needs of a database engine. Statements use $1, $2 … in the
// order they first appear, which both engines read the same way; parameters and results go
// as text, and the columns' types convert them. Every failure throws LibraryError.
class SqlSession {
  public:
    virtual ~SqlSession() = default;

    // A write transaction: other writers wait for it (up to a time limit) rather than fail.
    virtual void beginWrite() = 0;
    virtual void beginRead() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    // Schema changes of concurrent first opens, one at a time.
    virtual void lockSchema() = 0;

    std::vector<SqlRow> query(std::string_view sql, std::span<const std::string> parameters = {}) {
        return run(sql, parameters);
    }
    // Whether the failure was a clash with another writer that trying again may clear.
    virtual bool mayRetry(const LibraryError& error) const = 0;
    // The engine's words for the type of an auto-numbered key column.
    virtual std::string_view serialKey() const = 0;

  protected:
    virtual std::vector<SqlRow> run(std::string_view sql,
                                    std::span<const std::string> parameters) = 0;
};

// A SQLite database file (made when missing), in WAL mode, waiting up to `waitMs` for
// other writers.
std::unique_ptr<SqlSession> openSqliteSession(const std::string& path, int waitMs);

// A PostgreSQL server by a libpq connection string or URI ("postgresql://user@host/db"); the
// password from libpq's usual sources (PGPASSWORD, ~/.pgpass).
std::unique_ptr<SqlSession> openPostgresSession(const std::string& connection);

}  // namespace tf
