#include <pqxx/pqxx>

#include "core/library/sql_session.h"

namespace tf {
namespace {

class PostgresSession : public SqlSession {
  public:
    explicit PostgresSession(const std::string& connection) try : connection_(connection) {
    } catch (const std::exception& e) {
        throw LibraryError(e.what());
    }

    void beginWrite() override { begin(); }
    void beginRead() override { begin(); }
    void commit() override {
        guarded([&] { work_->commit(); });
        work_.reset();
    }
    void rollback() override {
        if (work_) {
            work_->abort();
            work_.reset();
        }
    }
    void lockSchema() override { query("SELECT pg_advisory_xact_lock(724600138)"); }

  protected:
    std::vector<SqlRow> run(std::string_view sql,
                            std::span<const std::string> parameters) override {
        std::vector<SqlRow> rows;
        guarded([&] {
            const std::string text(sql);
            const pqxx::result result =
                work_ ? work_->exec_params(text, pqxx::prepare::make_dynamic_params(
                                                     parameters.begin(), parameters.end()))
                      : pqxx::nontransaction(connection_)
                            .exec_params(text, pqxx::prepare::make_dynamic_params(
                                                   parameters.begin(), parameters.end()));
            for (const auto& r : result) {
                SqlRow& row = rows.emplace_back();
                for (const auto& field : r) {
                    row.push_back(field.is_null() ? std::nullopt
                                                  : std::optional<std::string>(field.c_str()));
                }
            }
        });
        return rows;
    }

  public:
    bool mayRetry(const LibraryError& error) const override {
        return std::string_view(error.what()).starts_with(kRetryMark);
    }
    std::string_view serialKey() const override { return "BIGSERIAL PRIMARY KEY"; }

  private:
    static constexpr std::string_view kRetryMark = "[retry] ";

    void begin() {
        guarded([&] { work_ = std::make_unique<pqxx::work>(connection_); });
    }

    template <typename Work>
    void guarded(Work work) {
        try {
            work();
        } catch (const pqxx::deadlock_detected& e) {
            work_.reset();
            throw LibraryError(std::string(kRetryMark) + e.what());
        } catch (const pqxx::serialization_failure& e) {
            work_.reset();
            throw LibraryError(std::string(kRetryMark) + e.what());
        } catch (const std::exception& e) {
            work_.reset();
            throw LibraryError(e.what());
        }
    }

    pqxx::connection connection_;
    std::unique_ptr<pqxx::work> work_;
};

}  // namespace

std::unique_ptr<SqlSession> openPostgresSession(const std::string& connection) {
    return std::make_unique<PostgresSession>(connection);
}

}  // namespace tf
