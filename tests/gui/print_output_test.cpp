// What the printed PDFs hold underneath: the text layer, the faces, and the same layout from
// the window and from the command line.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCheckBox>
#include <QCoreApplication>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <set>

#include "cli/sample_project.h"
#include "core/grid/grid_display.h"
#include "core/materials/material_layout.h"
#include "core/print/page_plan.h"
#include "core/print/page_setup.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "core/shell/app_settings.h"
#include "core/structure/default_structure.h"
#include "gui/charts/chart_figure.h"
#include "gui/print/grid_printer.h"
#include "gui/print/print_editor_window.h"
#include "gui/print/sheet_preview.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/qt_text.h"
#include "tests/gui/sample_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

// What a tool says on its standard output.
std::string toolOutput(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed";
        return {};
    }
    return tool.readAllStandardOutput().toStdString();
}

std::string withoutSpaces(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t' && c != '\f') {
            out += c;
        }
    }
    return out;
}

// The command line beside the program's settings in `dir`, printing a copy of the sample
// project there (the window holds the project itself) with `words` after the project.
void printFromCommandLine(const test::TempDir& dir, const QStringList& words) {
    for (const char* program : {"tallyframe-cli", "tallyframe-cli-print"}) {
        std::filesystem::copy_file(std::filesystem::path(TALLYFRAME_CLI).parent_path() / program,
                                   dir / program);
    }
    std::filesystem::copy_file(dir / "sample.gdb", dir / "copy.gdb");
    toolOutput(qs(utf8FromPath(dir / "tallyframe-cli")),
               QStringList{"print", qs(utf8FromPath(dir / "copy.gdb"))} + words);
}

// The pages `range` (pdftoppm's options) of both PDFs drawn at 40 dots to the inch and
// compared pixel for pixel; how many pages were compared.
int compareDrawnPages(const test::TempDir& dir, const std::filesystem::path& fromWindow,
                      const std::filesystem::path& fromCli, const QStringList& range) {
    for (const auto& [pdf, name] : {std::pair{fromWindow, "w"}, std::pair{fromCli, "c"}}) {
        toolOutput("pdftoppm",
                   QStringList{"-r", "40"} + range +
                       QStringList{qs(utf8FromPath(pdf)), qs(utf8FromPath(dir / name))});
    }
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("w-") && name.ends_with(".ppm")) {
            EXPECT_EQ(test::readFile(entry.path()), test::readFile(dir / ("c" + name.substr(1))))
                << name;
            ++compared;
        }
    }
    return compared;
}

// The faces a PDF names, as pdffonts lists them.
std::set<std::string> pdfFaces(const std::filesystem::path& pdf) {
    std::set<std::string> faces;
    const std::string listing = toolOutput("pdffonts", {qs(utf8FromPath(pdf))});
    std::size_t line = listing.find('\n', listing.find("-----"));
    while (line != std::string::npos && line + 1 < listing.size()) {
        const std::size_t end = listing.find('\n', line + 1);
        const std::string row = listing.substr(line + 1, end - line - 1);
        faces.insert(row.substr(0, row.find(' ')));
        line = end;
    }
    return faces;
}

// The sample project with every work item of the built-in structure named in its material
// table too: the characters of the sample and the structure, 页 of the footer among them.
ProjectDocument projectOfEveryText() {
    ProjectDocument project;
    cli::buildSampleProject(project, 3);
    const auto structure = parseStructure(defaultStructure());
    Grid& m = project.materials;
    std::set<std::string> names;
    for (const DivisionItem& node : structure->tree) {
        names.insert(node.name);
    }
    names.insert("乳胶漆一二");
    for (const std::string& name : names) {
        const int row = m.rowCount();
        m.appendRows(1);
        m.setText(row, MaterialColumn::kCategory, "结构");
        m.setText(row, MaterialColumn::kName, name);
        m.setText(row, MaterialColumn::kUnit, "米");
    }
    return project;
}

class PrintOutputTest : public ::testing::Test {
  protected:
    std::filesystem::path printed(const PrintSheet& sheet, const char* name) {
        const QByteArray pdf = sheetPdf(sheet.grid, sheetTitle(sheet), PageSetup{});
        EXPECT_FALSE(pdf.isEmpty());
        const auto file = dir / name;
        test::writeFile(file, pdf.toStdString());
        return file;
    }

    test::TempDir dir;
};

TEST_F(PrintOutputTest, EveryPrintedTextReadsBackAsItselfInSimplifiedChineseFaces) {
    const ProjectDocument project = projectOfEveryText();
    // Columns the user widened so that every size is printed whole rather than cut short.
    const ColumnWidths wide = {{AnalysisColumn::kItemSize, 300},
                               {AnalysisColumn::kStructureSize, 200}};
    for (const PrintSheet& sheet :
         {materialSheet(project.materials, {}), analysisSheet(project.analysis, wide)}) {
        const auto pdf = printed(sheet, "table.pdf");
        const std::string text =
            withoutSpaces(toolOutput("pdftotext", {"-raw", qs(utf8FromPath(pdf)), "-"}));
        const Grid& g = sheet.grid;
        int found = 0;
        for (int r = 0; r < g.rowCount(); ++r) {
            for (int c = 0; c < g.columnCount(); ++c) {
                const std::string cell = withoutSpaces(displayText(g, r, c));
                if (cell.empty() || g.column(c).width <= 0) {
                    continue;
                }
                EXPECT_NE(text.find(cell), std::string::npos) << r << "," << c << " " << cell;
                ++found;
            }
        }
        EXPECT_GT(found, 200);
        const std::string pages = toolOutput("pdfinfo", {qs(utf8FromPath(pdf))});
        const int count = std::stoi(pages.substr(pages.find("Pages:") + 6));
        for (int page = 1; page <= count; ++page) {
            EXPECT_NE(text.find(withoutSpaces(pageFooter(page, count))), std::string::npos)
                << "the footer of page " << page;
        }
        for (const std::string& face : pdfFaces(pdf)) {
            EXPECT_NE(face.find("CJKsc"), std::string::npos) << face;
        }
        EXPECT_TRUE(pdfFaces(pdf).contains("NotoSerifCJKsc-Regular")) << "宋体 is a Song face";
    }
}

// The editor on 分析表 of a window wider than the table's own layout, a column the user widened
// and a page set up in the preview: its PDF and the command line's are the same to the pixel.
TEST(PrintLayout, TheWindowAndTheCommandLinePrintATableAlikeOnThePageLastSetUp) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 12);
    ASSERT_NE(window, nullptr);
    window->resize(1600, 900);
    AppSettings(dir / "Brix.ini").setText("列宽", "分析表", "2:180");
    window->pressPageButton(MainWindow::AnalysisPage);
    window->dispatch(Command::Print);
    auto* editor = window->findChild<PrintEditorWindow*>();
    ASSERT_NE(editor, nullptr);

    // 预览 → 页面设置: upright with 25 mm margins; the preview opens at a size that reads.
    bool previewed = false;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<SheetPreview*>(QApplication::activeModalWidget());
        ASSERT_NE(preview, nullptr);
        EXPECT_GE(preview->strip().zoom(), 1.0);
        preview->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                           QMarginsF(25, 25, 25, 25), QPageLayout::Millimeter));
        previewed = true;
        preview->reject();
    });
    editor->findChild<QPushButton*>("预览按钮")->click();
    ASSERT_TRUE(previewed);
    EXPECT_EQ(AppSettings(dir / "Brix.ini").text("页面设置", "分析表"),
              "portrait 210 297 25 25 25 25");

    const auto fromWindow = dir / "window.pdf";
    prompter.answerFile(utf8FromPath(fromWindow));
    prompter.answer(Answer::Ok);
    editor->exportPdf();
    ASSERT_TRUE(std::filesystem::exists(fromWindow));

    const auto fromCli = dir / "cli.pdf";
    printFromCommandLine(dir, {"--table", "分析表", qs(utf8FromPath(fromCli))});
    const std::string info = toolOutput("pdfinfo", {qs(utf8FromPath(fromCli))});
    EXPECT_NE(info.find("595 x 842"), std::string::npos) << "A4 upright\n" << info;
    const auto pagesLine = [](const std::string& text) {
        const std::size_t at = text.find("Pages:");
        return text.substr(at, text.find('\n', at) - at);
    };
    EXPECT_EQ(pagesLine(info), pagesLine(toolOutput("pdfinfo", {qs(utf8FromPath(fromWindow))})));
    EXPECT_GT(compareDrawnPages(dir, fromWindow, fromCli, {}), 1);
}

// 打印图表 in the editor of a statistics table: the preview, the PDF and the command line's
// --chart all end with the same page of the chart; the editor of 材料表 has none to offer.
TEST(PrintLayout, TheStatisticsChartEndsThePrintInTheWindowAsOnTheCommandLine) {
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    auto window = test::openSampleWindow(dir.path(), prompter, 3);
    ASSERT_NE(window, nullptr);
    window->pressPageButton(MainWindow::MaterialPage);
    window->dispatch(Command::Print);
    auto* editor = window->findChild<PrintEditorWindow*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->findChild<QCheckBox*>("打印图表")->isVisibleTo(editor));
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    window->pressPageButton(MainWindow::StatisticsPage);
    window->dispatch(Command::Print);
    editor = window->findChild<PrintEditorWindow*>();
    ASSERT_NE(editor, nullptr);
    int plain = 0;
    int charted = 0;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<SheetPreview*>(QApplication::activeModalWidget());
        ASSERT_NE(preview, nullptr);
        plain = preview->pageCount();
        preview->reject();
    });
    editor->findChild<QPushButton*>("预览按钮")->click();
    auto* chart = editor->findChild<QCheckBox*>("打印图表");
    ASSERT_TRUE(chart->isVisibleTo(editor));
    chart->click();
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<SheetPreview*>(QApplication::activeModalWidget());
        ASSERT_NE(preview, nullptr);
        charted = preview->pageCount();
        preview->strip().showPage(charted - 1);
        preview->reject();
    });
    editor->findChild<QPushButton*>("预览按钮")->click();
    ASSERT_GT(plain, 0);
    EXPECT_EQ(charted, plain + 1);

    const auto fromWindow = dir / "window.pdf";
    prompter.answerFile(utf8FromPath(fromWindow));
    prompter.answer(Answer::Ok);
    editor->exportPdf();
    const auto fromCli = dir / "cli.pdf";
    printFromCommandLine(dir, {"--table", "统计表", "--chart", qs(utf8FromPath(fromCli))});
    for (const auto& pdf : {fromWindow, fromCli}) {
        const std::string info = toolOutput("pdfinfo", {qs(utf8FromPath(pdf))});
        const std::size_t pages = info.find("Pages:");
        ASSERT_NE(pages, std::string::npos);
        EXPECT_EQ(std::stoi(info.substr(pages + 6)), charted) << utf8FromPath(pdf);
    }
    const QString last = QString::number(charted);
    const std::string chartText =
        toolOutput("pdftotext", {"-f", last, "-l", last, qs(utf8FromPath(fromWindow)), "-"});
    EXPECT_NE(chartText.find("材料费（前 15 种）"), std::string::npos) << chartText;
    EXPECT_EQ(compareDrawnPages(dir, fromWindow, fromCli, {"-f", last, "-l", last}), 1);
}

// A chart of thirty-one bars on a page across: every name is printed, set smaller, none left
// out for want of room.
TEST(PrintLayout, EveryBarOfALongChartIsNamedOnPaper) {
    test::TempDir dir;
    BarChart chart{"各部位费用（前 30 个）", {"合计"}, {}};
    for (int i = 1; i <= 31; ++i) {
        chart.bars.push_back({"第" + std::to_string(i) + "号楼梯间", {1000.0 * i}, {}});
    }
    Grid grid(2, 2);
    grid.setFixedRows(1);
    grid.setText(0, 0, "部位");
    PageSetup across;
    across.orientation = PageSetup::Orientation::Landscape;
    const QByteArray pdf = sheetPdf(grid, {}, across, nullptr,
                                    chartPage(chart, extraPageArea(sheetPageLayout(grid, across))));
    const auto file = dir / "chart.pdf";
    test::writeFile(file, std::string(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    const std::string text =
        withoutSpaces(toolOutput("pdftotext", {"-f", "2", "-l", "2", qs(utf8FromPath(file)), "-"}));
    for (int i = 1; i <= 31; ++i) {
        EXPECT_NE(text.find("第" + std::to_string(i) + "号楼梯间"), std::string::npos) << i;
    }
    EXPECT_EQ(text.find("…"), std::string::npos) << text;
    EXPECT_TRUE(chartPage(BarChart{"材料费", {}, {}}, QSizeF(800, 600)) == nullptr)
        << "no bars, no page";
}

// A sheet of thousands of pages: the preview draws the pages in view and keeps a few; a print
// stops between two pages when told to.
TEST(LongSheets, ThePreviewDrawsOnlyThePagesInViewAndAPrintStopsWhenTold) {
    Grid grid(24'002, 4);
    grid.setFixedRows(1);
    for (int c = 0; c < 4; ++c) {
        grid.setColumnWidth(c, 120);
        grid.setText(0, c, "列" + std::to_string(c + 1));
    }
    for (int r = 1; r < grid.rowCount(); ++r) {
        grid.setText(r, 0, std::to_string(r));
        grid.setText(r, 1, "水泥砂浆1:3");
    }
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                         QPageLayout::Millimeter);
    SheetPreview preview(
        grid, {"长表", "宋体", 20}, a4, [](const QPageLayout&) {}, nullptr);
    preview.resize(900, 700);
    preview.show();
    QCoreApplication::processEvents();
    preview.strip().viewport()->repaint();
    const int pages = preview.pageCount();
    EXPECT_GT(pages, 500);
    EXPECT_LE(preview.strip().pagesDrawn(), 2) << "the first page or two, not " << pages;
    preview.strip().showPage(pages - 1);
    preview.strip().viewport()->repaint();
    EXPECT_LE(preview.strip().pagesDrawn(), 4);
    EXPECT_LE(preview.strip().pagesKept(), 6);
    EXPECT_EQ(preview.findChild<QSpinBox*>("页码")->value(), pages);
    preview.close();

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int heard = 0;
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(a4);
        const SheetPages laidOut(grid, {"长表", "宋体", 20}, a4);
        EXPECT_EQ(laidOut.count(), pages);
        EXPECT_EQ(printSheet(laidOut, pdf, nullptr,
                             [&heard](int printed) {
                                 heard = printed;
                                 return printed < 3;
                             }),
                  3);
    }
    EXPECT_EQ(heard, 3);
    test::TempDir dir;
    const auto file = dir / "three.pdf";
    test::writeFile(file, buffer.data().toStdString());
    const std::string info = toolOutput("pdfinfo", {qs(utf8FromPath(file))});
    EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;

    // The PDF button's document stops at the first page when asked to, and is not made.
    WorkProgress stopped;
    stopped.stop = true;
    EXPECT_TRUE(sheetPdf(grid, {"长表", "宋体", 20}, PageSetup{}, &stopped).isEmpty());
    EXPECT_EQ(stopped.done, 1);
    EXPECT_EQ(stopped.total, pages);
}

}  // namespace
}  // namespace tf::gui
