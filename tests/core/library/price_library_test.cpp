// The price library on both engines: SQLite in a file of the test's folder, and PostgreSQL
// in a database of its own on the server libpq's environment names (pg_virtualenv starts
// a throw-away one; without PGHOST the PostgreSQL cases are skipped).
#include "core/library/price_library.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "core/compare/project_tally.h"
#include "core/library/repricing.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "tests/core/stats/priced_project.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

enum class Engine { Sqlite, Postgres };

std::string engineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::Sqlite ? "SQLite" : "PostgreSQL";
}

// A library of the test's own, made empty and dropped again.
class LibraryTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        if (GetParam() == Engine::Sqlite) {
            location = utf8FromPath(dir / "价格库.sqlite");
            return;
        }
        if (std::getenv("PGHOST") == nullptr) {
            GTEST_SKIP() << "no PostgreSQL server: run under pg_virtualenv";
        }
        static std::atomic<int> next{0};
        database = "tf_library_" + std::to_string(::getpid()) + "_" + std::to_string(next++);
        openPostgresSession("dbname=postgres")->query("CREATE DATABASE " + database);
        location = "dbname=" + database;
    }
    void TearDown() override {
        if (!database.empty()) {
            openPostgresSession("dbname=postgres")
                ->query("DROP DATABASE IF EXISTS " + database + " WITH (FORCE)");
        }
    }

    PriceLibrary& library() {
        if (!opened) {
            opened = openPriceLibrary(location);
        }
        return *opened;
    }

    test::TempDir dir;
    std::string location;
    std::string database;
    std::unique_ptr<PriceLibrary> opened;
};

using Prices = std::vector<std::pair<LibraryMaterial, double>>;

const LibraryMaterial kMortar{"砂浆", "水泥砂浆", "", "千克"};
const LibraryMaterial kPrimer{"砂浆", "界面剂", "", "千克"};
const LibraryMaterial kPaint{"涂料", "乳胶漆", "", "千克"};

TEST_P(LibraryTest, AFileImportedTwiceAddsItsPricesOnce) {
    const Prices list{{kMortar, 0.6}, {kPaint, 20}, {{"涂料", "真石漆", "20kg/桶", "桶"}, 260}};
    const PriceImport first = library().importPrices(list, "2026-03-01", "三月价格.txt");
    EXPECT_EQ(first.added, 3);
    EXPECT_EQ(first.unchanged, 0);
    const PriceImport again = library().importPrices(list, "2026-03-01", "三月价格.txt");
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.unchanged, 3);
    // The same list from another source is another price; a material named with other
    // spaces and Latin case is the same material.
    const PriceImport other = library().importPrices(
        {{{"涂料 ", " 乳胶漆", "", "千克"}, 21}, {{"涂料", "真石漆", "20KG/桶", "桶"}, 255}},
        "2026-03-01", "供应商报价");
    EXPECT_EQ(other.added, 2);
    const auto history = library().history("乳胶漆");
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].second.source, "三月价格.txt");
    EXPECT_DOUBLE_EQ(history[1].second.price, 21);
    // One material's own history: the 20KG/桶 imported after is the same 真石漆.
    const auto stone = library().historyOf({"涂料", "真石漆", "20kg/桶", "桶"});
    ASSERT_EQ(stone.size(), 2u);
    EXPECT_DOUBLE_EQ(stone[0].price, 260);
    EXPECT_DOUBLE_EQ(stone[1].price, 255);
    EXPECT_TRUE(library().historyOf({"涂料", "真石漆", "", "桶"}).empty());
    EXPECT_EQ(library().search("").size(), 3u);
    const auto found = library().search("真石");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].material.spec, "20kg/桶") << "as first imported";
    EXPECT_DOUBLE_EQ(found[0].price.price, 255) << "the latest price";
    EXPECT_TRUE(library().search("100%").empty()) << "% is a character, not a wildcard";
}

TEST_P(LibraryTest, APriceHoldsFromItsDayUntilTheNextOne) {
    library().importPrices({{kMortar, 0.6}, {kPaint, 20}}, "2026-03-01", "三月");
    library().importPrices({{kMortar, 0.65}, {kPaint, 19}}, "2026-09-01", "九月");
    const std::vector materials{kMortar, kPrimer, LibraryMaterial{"涂料", "乳胶漆", " ", "KG"}};
    EXPECT_EQ(library().pricesOn(materials, "2026-02-28"),
              (std::vector<std::optional<double>>{std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(library().pricesOn(materials, "2026-03-01"),
              (std::vector<std::optional<double>>{0.6, std::nullopt, std::nullopt}))
        << "千克 and KG are other units";
    EXPECT_EQ(library().pricesOn({kMortar, kPaint}, "2026-08-31"),
              (std::vector<std::optional<double>>{0.6, 20}));
    EXPECT_EQ(library().pricesOn({kMortar, kPaint}, "2027-01-01"),
              (std::vector<std::optional<double>>{0.65, 19}));
    EXPECT_THROW(library().importPrices({{kMortar, 1}}, "2026-02-30", "坏日期"), LibraryError);
    EXPECT_EQ(library().schemaVersion(), PriceLibrary::kSchemaVersion);
}

// The priced project of the statistics' tests (three locations; 水泥砂浆 0.5, 界面剂 2.4,
// 乳胶漆 18.5 a kilogram; fees 907.5 in all) repriced from a library lacking 界面剂.
TEST_P(LibraryTest, RepricingTheProjectMovesItsTotalsAsWorkedByHand) {
    test::PricedProject project;
    project.enterThreeLocations();
    ProjectDocument& doc = project.doc;
    doc.locations = rebuildLocationIndex(doc.analysis);
    // 21.5 kg of 水泥砂浆, 7 of 界面剂, 12.75 of 乳胶漆: 10.75 + 16.8 + 235.875 = 263.425.
    EXPECT_NEAR(totalCost(tallyProject(doc)), 1170.925, 1e-9);
    library().importPrices({{kMortar, 0.6}, {kPaint, 20}}, "2026-03-01", "三月");
    library().importPrices({{kMortar, 0.65}, {kPaint, 19}}, "2026-09-01", "九月");

    RepricePlan plan = planRepricing(doc, library(), "2026-06-30");
    ASSERT_EQ(plan.lines.size(), 3u);
    EXPECT_EQ(plan.changed(), 2);
    EXPECT_EQ(plan.missing(), 1);
    EXPECT_EQ(plan.lines[1].material.name, "界面剂");
    EXPECT_FALSE(plan.lines[1].newPrice);
    const auto order = plan.previewOrder();
    EXPECT_EQ(order[0]->material.name, "水泥砂浆");
    EXPECT_EQ(order[1]->material.name, "乳胶漆");
    EXPECT_EQ(order[2]->material.name, "界面剂") << "the one the library lacks last";
    EXPECT_EQ(applyRepricing(doc, plan), 2);
    EXPECT_TRUE(doc.modified);
    // 12.9 + 16.8 + 255 = 284.7 of materials.
    EXPECT_NEAR(totalCost(tallyProject(doc)), 1192.2, 1e-9);

    plan = planRepricing(doc, library(), "2026-10-01");
    EXPECT_EQ(applyRepricing(doc, plan), 2);
    // 13.975 + 16.8 + 242.25 = 273.025.
    EXPECT_NEAR(totalCost(tallyProject(doc)), 1180.525, 1e-9);
    EXPECT_EQ(applyRepricing(doc, planRepricing(doc, library(), "2026-10-01")), 0);

    // The project's own table into the library: 界面剂 is known from then on.
    library().importPrices(projectPrices(doc), "2026-10-02", "工程：样板房");
    EXPECT_EQ(library().pricesOn({kPrimer}, "2026-10-02"),
              (std::vector<std::optional<double>>{2.4}));
}

TEST_P(LibraryTest, ALibraryOfANewerProgramIsRefused) {
    library();
    opened.reset();
    auto session = GetParam() == Engine::Sqlite ? openSqliteSession(location, 1000)
                                                : openPostgresSession(location);
    session->query("UPDATE library_info SET value = '99' WHERE name = 'schema'");
    session.reset();
    try {
        openPriceLibrary(location);
        ADD_FAILURE() << "opened";
    } catch (const LibraryError& e) {
        EXPECT_NE(std::string(e.what()).find("版本 99"), std::string::npos) << e.what();
    }
}

// Four processes at once, each 200 times importing prices and repricing a project of its
// own from them: every price is there once, every project whole and priced.
TEST_P(LibraryTest, FourWritersAtOnceLoseNothing) {
    constexpr int kWriters = 4;
    constexpr int kRounds = 200;
    library();  // the schema made before they start
    opened.reset();
    std::vector<std::string> projects;
    for (int w = 0; w < kWriters; ++w) {
        test::PricedProject project;
        project.enterThreeLocations();
        projects.push_back(utf8FromPath(dir / ("工程" + std::to_string(w) + ".gdb")));
        ASSERT_TRUE(saveProjectAs(project.doc, projects.back(), project.prompter));
    }
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            try {
                auto own = openPriceLibrary(location);
                for (int round = 0; round < kRounds && ok; ++round) {
                    char day[11];
                    std::snprintf(day, sizeof day, "2026-%02d-%02d", 1 + round / 28,
                                  1 + round % 28);
                    // Shared materials at a price of this round, and one of this writer's.
                    own->importPrices(
                        {{kMortar, 0.5 + round / 100.0},
                         {kPaint, 18 + w},
                         {{"杂项", "材料" + std::to_string(w), "", "个"}, 1.0 * round}},
                        day, "写入者" + std::to_string(w));
                    test::ScriptedPrompter quiet;
                    ProjectDocument doc;
                    ok = loadProject(doc, projects[static_cast<std::size_t>(w)], quiet);
                    applyRepricing(doc, planRepricing(doc, *own, day));
                    ok = ok && saveProject(doc, quiet, false);
                    if (!ok) {
                        std::fprintf(
                            stderr, "writer %d round %d: %s\n", w, round,
                            quiet.messages().empty() ? "" : quiet.messages()[0].text.c_str());
                    }
                }
            } catch (const std::exception& e) {
                std::fprintf(stderr, "writer %d: %s\n", w, e.what());
                ok = false;
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Per writer and round: 水泥砂浆, 乳胶漆 and its own material, each once.
    EXPECT_EQ(library().history("水泥砂浆").size(), std::size_t{kWriters * kRounds});
    EXPECT_EQ(library().history("乳胶漆").size(), std::size_t{kWriters * kRounds});
    for (int w = 0; w < kWriters; ++w) {
        EXPECT_EQ(library().history("材料" + std::to_string(w)).size(), std::size_t{kRounds});
        test::ScriptedPrompter prompter;
        ProjectDocument doc;
        LoadDetails details;
        ASSERT_TRUE(loadProject(doc, projects[static_cast<std::size_t>(w)], prompter, &details));
        EXPECT_TRUE(details.lostParts.empty());
        // Repriced last on the last round's day, when 水泥砂浆 cost 0.5 + 1.99 for every
        // writer and 乳胶漆 what one of them said.
        const auto lines = projectMaterials(doc);
        EXPECT_DOUBLE_EQ(lines[0].oldPrice, 2.49);
        EXPECT_GE(lines[2].oldPrice, 18);
        EXPECT_LE(lines[2].oldPrice, 21);
    }
}

TEST(PriceLibraryPlaces, WhatCannotBeReachedOrReadSaysSo) {
    test::TempDir dir;
    const auto notADatabase = dir / "价格库.sqlite";
    {
        std::FILE* f = std::fopen(utf8FromPath(notADatabase).c_str(), "wb");
        std::fputs("这不是数据库，也不是空文件。这不是数据库，也不是空文件。", f);
        std::fclose(f);
    }
    EXPECT_THROW(openPriceLibrary(utf8FromPath(notADatabase)), LibraryError);
    EXPECT_THROW(openPriceLibrary(utf8FromPath(dir / "没有的文件夹" / "库.sqlite")), LibraryError);
    EXPECT_THROW(openPriceLibrary("postgresql://nobody@127.0.0.1:1/none?connect_timeout=2"),
                 LibraryError);
    EXPECT_TRUE(isLibraryDay("2028-02-29"));
    EXPECT_FALSE(isLibraryDay("2027-02-29"));
    EXPECT_FALSE(isLibraryDay("2026-1-01"));
    EXPECT_EQ(libraryKey({"涂料", " 乳胶 漆", "", "KG"}),
              libraryKey({"涂料　", "乳胶漆", " ", "kg"}));
    EXPECT_NE(libraryKey({"涂料", "乳胶漆", "", "桶"}), libraryKey({"涂料乳胶漆", "", "", "桶"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryTest, ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         engineName);

}  // namespace
}  // namespace tf
