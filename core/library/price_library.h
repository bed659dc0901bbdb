#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/library/sql_session.h"

namespace tf {

// A material as the library knows it, and the key it is matched by: category, name, spec
// and unit without regard to Latin case or spaces.
struct LibraryMaterial {
    std::string category;
    std::string name;
    std::string spec;
    std::string unit;
};
std::string libraryKey(const LibraryMaterial& material);

// A price of a material from a day on: where it came from, and optionally who sells at it
// and where.
struct LibraryPrice {
    std::string day;  // YYYY-MM-DD
    double price = 0;
    std::string source;
    std::string supplier;
    std::string region;
};

struct PricedMaterial {
    LibraryMaterial material;
    LibraryPrice price;  // the latest one
};

struct PriceImport {
    int added = 0;      // prices new to the library
    int unchanged = 0;  // the same material, day and source as a price it had: replaced
};

// Whether the text is a date as the library writes it, YYYY-MM-DD, and a real day.
bool isLibraryDay(std::string_view day);
// Today as YYYY-MM-DD, local time.
std::string libraryToday();

// The firm's price library on one engine. Every write is one transaction; a writer another
// one holds up waits for it. Failures throw LibraryError with the engine's words.
class PriceLibrary {
  public:
    static constexpr int kSchemaVersion = 1;

    // Opens the library and makes or upgrades its tables.
    explicit PriceLibrary(std::unique_ptr<SqlSession> session);

    // Adds the prices, each dated `day` from `source`. A price with the same material, day,
    // source, supplier and region as one the library holds replaces it: importing a file
    // again adds nothing.
    PriceImport importPrices(const std::vector<std::pair<LibraryMaterial, double>>& prices,
                             std::string_view day, std::string_view source,
                             std::string_view supplier = {}, std::string_view region = {});

    // The price of each material on `day` (the latest dated on or before it); nothing for
    // a material the library lacks or has no price of by then.
    std::vector<std::optional<double>> pricesOn(const std::vector<LibraryMaterial>& materials,
                                                std::string_view day);

    // Materials whose category, name or spec contains `text` (all when empty), with their
    // latest price, in the order they came into the library; at most `limit`.
    std::vector<PricedMaterial> search(std::string_view text, int limit = 1000);

    // Every price of the materials of that name (and unit), oldest first.
    // Every price of that one material (matched as repricing matches), oldest first.
    std::vector<LibraryPrice> historyOf(const LibraryMaterial& material);

    std::vector<std::pair<LibraryMaterial, LibraryPrice>> history(std::string_view name,
                                                                  std::string_view unit = {});

    int schemaVersion();

  private:
    template <typename Work>
    auto writing(Work work);
    void makeSchema();

    std::unique_ptr<SqlSession> session_;
};

// The library a location names: a libpq URI ("postgresql://…", "postgres://…") or a
// connection string with "host=" or "dbname=" is PostgreSQL, anything else a SQLite file.
std::unique_ptr<PriceLibrary> openPriceLibrary(const std::string& location);

}  // namespace tf
