// tallyframe-cli print: the tables and print files as PDF documents, read back with pdftotext.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>

#include "core/print/print_file.h"
#include "tests/cli/cli_fixture.h"
#include "tests/support/scripted_prompter.h"

namespace tf {
namespace {

using test::CliRun;

class PrintCommandTest : public test::CliFixture {
  protected:
    // The text of a PDF as pdftotext reads it.
    std::string pdfText(const std::string& pdf) {
        return run("pdftotext -layout " + pdf + " -").out;
    }
    int pdfPages(const std::string& pdf) {
        const std::string info = run("pdfinfo " + pdf).out;
        std::smatch m;
        return std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(m[1]) : -1;
    }
    static int count(const std::string& text, const std::string& what) {
        int n = 0;
        for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    }
};

TEST_F(PrintCommandTest, TheAnalysisRunsOverPagesWithItsHeadingsOnEach) {
    ASSERT_EQ(cli("sample " + path("s.gdb") + " --locations 40").status, 0);
    const CliRun printed = cli("print " + path("s.gdb") + " --table 分析表 " + path("a.pdf"));
    ASSERT_EQ(printed.status, 0) << printed.err;
    const int pages = pdfPages(path("a.pdf"));
    ASSERT_GT(pages, 1) << "forty locations do not fit one page";
    // The first page: the title, a location, a computed quantity ((4.2×5.1)×2.8-0.9×2.1) and
    // the page number.
    const std::string first = run("pdftotext -layout -f 1 -l 1 " + path("a.pdf") + " -").out;
    for (const char* expected : {"材料分析表", "1层客厅", "58.086", "第 1 "}) {
        EXPECT_NE(first.find(expected), std::string::npos) << expected;
    }
    const std::string text = pdfText(path("a.pdf"));
    EXPECT_EQ(count(text, "材料分析表"), 1) << "the title on the first page only";
    EXPECT_EQ(count(text, "序号"), pages) << "the heading rows on every page";
    EXPECT_EQ(count(text, "共 " + std::to_string(pages)), pages) << "each page's footer";
    // Every location is printed: its 序号 1 … 40 before its name.
    std::set<int> numbers;
    const std::regex line("\\n *([0-9]+) +[0-9]+层");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line);
         it != std::sregex_iterator(); ++it) {
        numbers.insert(std::stoi((*it)[1]));
    }
    EXPECT_EQ(numbers.size(), 40u);
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), 40);
}

TEST_F(PrintCommandTest, TheStatisticsUnderTheirOwnTitleAndPrintFiles) {
    ASSERT_EQ(cli("sample " + path("s.gdb") + " --locations 3").status, 0);
    const CliRun stats =
        cli("print " + path("s.gdb") + " --table 统计表 --title 三户统计 " + path("b.pdf"));
    ASSERT_EQ(stats.status, 0) << stats.err;
    const std::string text = pdfText(path("b.pdf"));
    EXPECT_NE(text.find("三户统计"), std::string::npos);
    // 实木复合门: two doors at 1250.00 each.
    EXPECT_NE(text.find("2500.000"), std::string::npos);
    EXPECT_EQ(pdfPages(path("b.pdf")), 1);

    // A print file with a hidden column: the column's text never reaches the paper.
    PrintSheet sheet = emptySheet();
    sheet.title = "钢材清单";
    sheet.grid.setText(1, 1, "槽铝规格");
    sheet.grid.setText(1, 3, "不印的字");
    sheet.grid.setCursor(1, 3);
    test::ScriptedPrompter unused;
    hideSheetColumn(sheet, unused);
    const auto file = serializePrintFile(sheet);
    ASSERT_TRUE(file);
    test::writeFile(dir / "钢材.pb", file->bytes);
    const CliRun fromFile = cli("print " + path("钢材.pb") + " " + path("c.pdf"));
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    const std::string sheetText = pdfText(path("c.pdf"));
    EXPECT_NE(sheetText.find("钢材清单"), std::string::npos);
    EXPECT_NE(sheetText.find("槽铝规格"), std::string::npos);
    EXPECT_EQ(sheetText.find("不印的字"), std::string::npos);

    // A damaged file, an unknown table and an unwritable target fail, and say so.
    test::writeFile(dir / "坏.pb", file->bytes.substr(0, file->bytes.size() / 2));
    const CliRun damaged = cli("print " + path("坏.pb") + " " + path("d.pdf"));
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("载入失败！"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "d.pdf"));
    EXPECT_EQ(cli("print " + path("s.gdb") + " --table 价格表 " + path("e.pdf")).status, 2);
    const CliRun noTable = cli("print " + path("s.gdb") + " " + path("e.pdf"));
    EXPECT_EQ(noTable.status, 1);
    EXPECT_NE(noTable.err.find("is a project: name its table with --table"), std::string::npos)
        << noTable.err;
    EXPECT_EQ(cli("print " + path("s.gdb") + " --table 材料表 " + path("无此目录/f.pdf")).status,
              1);
}

// 统计表 --chart: the table's pages, then the chart on one of its own, drawn as paths and text
// (no picture), every name in the text layer as itself.
TEST_F(PrintCommandTest, TheStatisticsChartFollowsOnAPageOfItsOwn) {
    ASSERT_EQ(cli("sample " + path("s.gdb") + " --locations 3").status, 0);
    ASSERT_EQ(cli("print " + path("s.gdb") + " --table 统计表 " + path("t.pdf")).status, 0);
    const CliRun charted =
        cli("print " + path("s.gdb") + " --table 统计表 --chart " + path("c.pdf"));
    ASSERT_EQ(charted.status, 0) << charted.err;
    const int pages = pdfPages(path("c.pdf"));
    ASSERT_EQ(pages, pdfPages(path("t.pdf")) + 1);
    const std::string last = std::to_string(pages);
    const std::string chart =
        run("pdftotext -f " + last + " -l " + last + " " + path("c.pdf") + " -").out;
    // The title, the amounts' axis, 其他 (the sample uses more than 15 materials), the doors
    // (2 × 1250, the largest figure of three flats) and their category in the legend.
    for (const char* expected :
         {"材料费（前 15 种）", "金额（元）", "其他", "实木复合门", "门窗"}) {
        EXPECT_NE(chart.find(expected), std::string::npos) << expected << "\n" << chart;
    }
    EXPECT_EQ(chart.find("序号"), std::string::npos) << "no table on the chart's page";
    // Radicals are what a wrong text layer names 水, 页 and the like by.
    EXPECT_EQ(chart.find("\xE2\xBC"), std::string::npos);
    EXPECT_EQ(chart.find("\xE2\xBA"), std::string::npos);
    EXPECT_EQ(chart.find("\xE2\xBB"), std::string::npos);
    const std::string images =
        run("pdfimages -list -f " + last + " -l " + last + " " + path("c.pdf")).out;
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 2) << images;  // the heading only

    EXPECT_EQ(cli("print " + path("s.gdb") + " --table 分析表 --chart " + path("e.pdf")).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "e.pdf"));
}

// Printing is handed to a program of its own, so that every other command starts without
// loading the window-system libraries; without that program beside it, print says so.
TEST_F(PrintCommandTest, OnlyThePrintingProgramLoadsQt) {
    EXPECT_EQ(run("ldd " + std::string(TALLYFRAME_CLI)).out.find("libQt6"), std::string::npos);
    const auto printer =
        std::filesystem::path(TALLYFRAME_CLI).parent_path() / "tallyframe-cli-print";
    EXPECT_NE(run("ldd " + printer.string()).out.find("libQt6Gui"), std::string::npos);

    const auto alone = dir / "单独";
    std::filesystem::create_directory(alone);
    std::filesystem::copy_file(TALLYFRAME_CLI, alone / "tallyframe-cli");
    ASSERT_EQ(cli("sample " + path("s.gdb") + " --locations 2").status, 0);
    const CliRun refused = run((alone / "tallyframe-cli").string() + " print " + path("s.gdb") +
                               " --table 材料表 " + path("g.pdf"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("tallyframe-cli-print"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "g.pdf"));
}

}  // namespace
}  // namespace tf
