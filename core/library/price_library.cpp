#include "core/library/price_library.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "core/base/number_text.h"
#include "core/base/text_util.h"
#include "core/base/time_text.h"
#include "core/base/utf8.h"

namespace tf {
namespace {

// Rows per statement: few round trips to a server, far below either engine's limit of
// parameters.
constexpr std::size_t kBatch = 400;
constexpr int kTries = 5;  // a transaction a concurrent writer aborted is tried again

// "$first, $first+1, …" for `count` parameters.
std::string placeholders(std::size_t first, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += (i ? ",$" : "$") + std::to_string(first + i);
    }
    return text;
}

// "($1,$2,$3),($4,$5,$6)" for `rows` rows of `columns`.
std::string valueRows(std::size_t rows, std::size_t columns) {
    std::string text;
    for (std::size_t r = 0; r < rows; ++r) {
        text += (r ? ",(" : "(") + placeholders(1 + r * columns, columns) + ")";
    }
    return text;
}

std::string text(const SqlRow& row, std::size_t column) {
    return column < row.size() && row[column] ? *row[column] : std::string();
}

// A LIKE pattern finding `text` anywhere, its own % _ and \ taken literally.
std::string containing(std::string_view text) {
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\') {
            pattern.push_back('\\');
        }
        pattern.push_back(c);
    }
    return pattern + "%";
}

// category name spec unit day price source supplier region, as search and history read them.
constexpr std::string_view kPricedColumns =
    "m.category, m.name, m.spec, m.unit, p.day, p.price, p.source, p.supplier, p.region";

std::pair<LibraryMaterial, LibraryPrice> pricedRow(const SqlRow& row) {
    return {{text(row, 0), text(row, 1), text(row, 2), text(row, 3)},
            {text(row, 4), parseNumber(text(row, 5)), text(row, 6), text(row, 7), text(row, 8)}};
}

}  // namespace

std::string libraryKey(const LibraryMaterial& material) {
    std::string key;
    for (const std::string* field :
         {&material.category, &material.name, &material.spec, &material.unit}) {
        const std::string valid = utf8::sanitize(*field);
        std::size_t pos = 0;
        while (pos < valid.size()) {
            const char32_t c = utf8::next(valid, pos);
            if (c == U' ' || c == U'\t' || c == U'\u3000') {
                continue;  // spaces, the ideographic one too, count for nothing
            }
            utf8::append(key, c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c);
        }
        key.push_back('\x1f');  // a separator no field holds
    }
    return key;
}

bool isLibraryDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return false;
    }
    int parts[3] = {};
    for (const auto& [from, length, part] : {std::tuple{0, 4, 0}, {5, 2, 1}, {8, 2, 2}}) {
        for (int i = from; i < from + length; ++i) {
            const char c = text[static_cast<std::size_t>(i)];
            if (c < '0' || c > '9') {
                return false;
            }
            parts[part] = parts[part] * 10 + (c - '0');
        }
    }
    using namespace std::chrono;
    return year_month_day{year{parts[0]}, month{static_cast<unsigned>(parts[1])},
                          day{static_cast<unsigned>(parts[2])}}
        .ok();
}

std::string libraryToday() {
    return localTimeText(std::chrono::system_clock::now()).substr(0, 10);
}

template <typename Work>
auto PriceLibrary::writing(Work work) {
    for (int attempt = 1;; ++attempt) {
        try {
            session_->beginWrite();
            if constexpr (std::is_void_v<decltype(work())>) {
                work();
                session_->commit();
                return;
            } else {
                auto result = work();
                session_->commit();
                return result;
            }
        } catch (const LibraryError& e) {
            session_->rollback();
            if (attempt >= kTries || !session_->mayRetry(e)) {
                throw;
            }
        }
    }
}

PriceLibrary::PriceLibrary(std::unique_ptr<SqlSession> session) : session_(std::move(session)) {
    writing([&] { makeSchema(); });
}

void PriceLibrary::makeSchema() {
    session_->lockSchema();
    const std::string key(session_->serialKey());
    session_->query(
        "CREATE TABLE IF NOT EXISTS library_info (name TEXT PRIMARY KEY, value TEXT NOT NULL)");
    session_->query("CREATE TABLE IF NOT EXISTS materials (id " + key +
                    ", match_key TEXT NOT NULL UNIQUE, category TEXT NOT NULL, name TEXT NOT "
                    "NULL, spec TEXT NOT NULL, unit TEXT NOT NULL)");
    session_->query("CREATE TABLE IF NOT EXISTS prices (id " + key +
                    ", material_id BIGINT NOT NULL REFERENCES materials(id), day TEXT NOT NULL, "
                    "price DOUBLE PRECISION NOT NULL, source TEXT NOT NULL, supplier TEXT NOT "
                    "NULL, region TEXT NOT NULL, UNIQUE (material_id, day, source, supplier, "
                    "region))");
    const auto version = session_->query("SELECT value FROM library_info WHERE name = 'schema'");
    if (version.empty()) {
        session_->query("INSERT INTO library_info (name, value) VALUES ('schema', $1)",
                        std::vector{std::to_string(kSchemaVersion)});
        return;
    }
    // Upgrades from older schemas go here, one version after the other.
    if (parseNumber(text(version[0], 0)) > kSchemaVersion) {
        throw LibraryError("价格库由更新的程序建立（版本 " + text(version[0], 0) +
                           "），请升级本程序");
    }
}

int PriceLibrary::schemaVersion() {
    const auto rows = session_->query("SELECT value FROM library_info WHERE name = 'schema'");
    return rows.empty() ? 0 : static_cast<int>(parseNumber(text(rows[0], 0)));
}

PriceImport PriceLibrary::importPrices(
    const std::vector<std::pair<LibraryMaterial, double>>& prices, std::string_view day,
    std::string_view source, std::string_view supplier, std::string_view region) {
    if (!isLibraryDay(day)) {
        throw LibraryError("日期应写成 YYYY-MM-DD：" + std::string(day));
    }
    // One price per material, the last given; in key order, so that two writers lock the
    // same rows in the same order and never deadlock.
    std::map<std::string, const std::pair<LibraryMaterial, double>*> byKey;
    for (const auto& price : prices) {
        byKey[libraryKey(price.first)] = &price;
    }
    const std::vector entries(byKey.begin(), byKey.end());
    return writing([&] {
        PriceImport result;
        for (std::size_t first = 0; first < entries.size(); first += kBatch) {
            const std::size_t n = std::min(kBatch, entries.size() - first);
            std::vector<std::string> parameters;
            parameters.reserve(n * 5);
            for (std::size_t i = first; i < first + n; ++i) {
                const LibraryMaterial& m = entries[i].second->first;
                parameters.insert(parameters.end(),
                                  {entries[i].first, std::string(trimSpaces(m.category)),
                                   std::string(trimSpaces(m.name)), std::string(trimSpaces(m.spec)),
                                   std::string(trimSpaces(m.unit))});
            }
            const auto ids = session_->query(
                "INSERT INTO materials (match_key, category, name, spec, unit) VALUES " +
                    valueRows(n, 5) +
                    " ON CONFLICT (match_key) DO UPDATE SET match_key = excluded.match_key "
                    "RETURNING id",
                parameters);
            std::vector<std::string> known{std::string(day), std::string(source),
                                           std::string(supplier), std::string(region)};
            for (const SqlRow& id : ids) {
                known.push_back(text(id, 0));
            }
            const auto existing = session_->query(
                "SELECT COUNT(*) FROM prices WHERE day = $1 AND source = $2 AND supplier = $3 "
                "AND region = $4 AND material_id IN (" +
                    placeholders(5, ids.size()) + ")",
                known);
            const int already =
                existing.empty() ? 0 : static_cast<int>(parseNumber(text(existing[0], 0)));
            parameters.clear();
            for (std::size_t i = 0; i < ids.size(); ++i) {
                parameters.insert(
                    parameters.end(),
                    {text(ids[i], 0), std::string(day),
                     formatNumber(entries[first + i].second->second), std::string(source),
                     std::string(supplier), std::string(region)});
            }
            session_->query(
                "INSERT INTO prices (material_id, day, price, source, supplier, region) VALUES " +
                    valueRows(ids.size(), 6) +
                    " ON CONFLICT (material_id, day, source, supplier, region) DO UPDATE SET "
                    "price = excluded.price",
                parameters);
            result.unchanged += already;
            result.added += static_cast<int>(ids.size()) - already;
        }
        return result;
    });
}

std::vector<std::optional<double>> PriceLibrary::pricesOn(
    const std::vector<LibraryMaterial>& materials, std::string_view day) {
    std::vector<std::string> keys;
    keys.reserve(materials.size());
    for (const LibraryMaterial& m : materials) {
        keys.push_back(libraryKey(m));
    }
    std::map<std::string, double, std::less<>> found;
    session_->beginRead();
    try {
        for (std::size_t first = 0; first < keys.size(); first += kBatch) {
            const std::size_t n = std::min(kBatch, keys.size() - first);
            std::vector<std::string> parameters{std::string(day)};
            parameters.insert(parameters.end(), keys.begin() + static_cast<long>(first),
                              keys.begin() + static_cast<long>(first + n));
            const auto rows = session_->query(
                "SELECT m.match_key, (SELECT p.price FROM prices p WHERE p.material_id = m.id "
                "AND p.day <= $1 ORDER BY p.day DESC, p.id DESC LIMIT 1) FROM materials m "
                "WHERE m.match_key IN (" +
                    placeholders(2, n) + ")",
                parameters);
            for (const SqlRow& row : rows) {
                if (row.size() > 1 && row[1]) {
                    found[text(row, 0)] = parseNumber(*row[1]);
                }
            }
        }
        session_->commit();
    } catch (const LibraryError&) {
        session_->rollback();
        throw;
    }
    std::vector<std::optional<double>> prices;
    prices.reserve(keys.size());
    for (const std::string& key : keys) {
        const auto it = found.find(key);
        prices.push_back(it != found.end() ? std::optional(it->second) : std::nullopt);
    }
    return prices;
}

std::vector<PricedMaterial> PriceLibrary::search(std::string_view text, int limit) {
    const auto rows = session_->query(
        "SELECT " + std::string(kPricedColumns) +
            " FROM materials m JOIN prices p ON p.id = (SELECT q.id FROM prices q WHERE "
            "q.material_id = m.id ORDER BY q.day DESC, q.id DESC LIMIT 1) WHERE lower(m.category "
            "|| ' ' || m.name || ' ' || m.spec) LIKE lower($1) ESCAPE '\\' ORDER BY m.id LIMIT " +
            std::to_string(std::max(0, limit)),
        std::vector{containing(trimSpaces(text))});
    std::vector<PricedMaterial> found;
    for (const SqlRow& row : rows) {
        auto [material, price] = pricedRow(row);
        found.push_back({std::move(material), std::move(price)});
    }
    return found;
}

std::vector<LibraryPrice> PriceLibrary::historyOf(const LibraryMaterial& material) {
    const auto rows = session_->query(
        "SELECT " + std::string(kPricedColumns) +
            " FROM materials m JOIN prices p ON p.material_id = m.id WHERE m.match_key = $1 "
            "ORDER BY p.day, p.id",
        std::vector{libraryKey(material)});
    std::vector<LibraryPrice> prices;
    for (const SqlRow& row : rows) {
        prices.push_back(pricedRow(row).second);
    }
    return prices;
}

std::vector<std::pair<LibraryMaterial, LibraryPrice>> PriceLibrary::history(std::string_view name,
                                                                            std::string_view unit) {
    const auto rows = session_->query(
        "SELECT " + std::string(kPricedColumns) +
            " FROM materials m JOIN prices p ON p.material_id = m.id WHERE lower(m.name) = "
            "lower($1) AND ($2 = '' OR lower(m.unit) = lower($2)) ORDER BY p.day, p.id",
        std::vector{std::string(trimSpaces(name)), std::string(trimSpaces(unit))});
    std::vector<std::pair<LibraryMaterial, LibraryPrice>> prices;
    for (const SqlRow& row : rows) {
        prices.push_back(pricedRow(row));
    }
    return prices;
}

std::unique_ptr<PriceLibrary> openPriceLibrary(const std::string& location) {
    constexpr int kWaitMs = 30'000;
    const bool server = location.starts_with("postgresql://") ||
                        location.starts_with("postgres://") ||
                        location.find("host=") != std::string::npos ||
                        location.find("dbname=") != std::string::npos;
    return std::make_unique<PriceLibrary>(server ? openPostgresSession(location)
                                                 : openSqliteSession(location, kWaitMs));
}

}  // namespace tf
