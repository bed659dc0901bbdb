// What the printed PDFs hold underneath: the text layer, the faces, and the same layout from
// the window and from the command line.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
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
#include "gui/print/grid_printer.h"
#include "gui/print/print_editor_window.h"
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
        auto* preview = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(preview);
        ASSERT_NE(dialog, nullptr);
        auto* pages = dialog->findChild<QPrintPreviewWidget*>();
        EXPECT_TRUE(QTest::qWaitFor([&] { return pages->zoomFactor() >= 1.0; }, 60000))
            << pages->zoomFactor();
        dialog->printer()->setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(25, 25, 25, 25),
                        QPageLayout::Millimeter));
        previewed = true;
        dialog->reject();
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

    // The command line beside the program's settings, on a copy (the window holds the project).
    for (const char* program : {"tallyframe-cli", "tallyframe-cli-print"}) {
        std::filesystem::copy_file(std::filesystem::path(TALLYFRAME_CLI).parent_path() / program,
                                   dir / program);
    }
    std::filesystem::copy_file(dir / "sample.gdb", dir / "copy.gdb");
    const auto fromCli = dir / "cli.pdf";
    toolOutput(qs(utf8FromPath(dir / "tallyframe-cli")),
               {"print", qs(utf8FromPath(dir / "copy.gdb")), "--table", "分析表",
                qs(utf8FromPath(fromCli))});
    const std::string info = toolOutput("pdfinfo", {qs(utf8FromPath(fromCli))});
    EXPECT_NE(info.find("595 x 842"), std::string::npos) << "A4 upright\n" << info;
    const auto pagesLine = [](const std::string& text) {
        const std::size_t at = text.find("Pages:");
        return text.substr(at, text.find('\n', at) - at);
    };
    EXPECT_EQ(pagesLine(info), pagesLine(toolOutput("pdfinfo", {qs(utf8FromPath(fromWindow))})));
    for (const auto& [pdf, name] : {std::pair{fromWindow, "w"}, std::pair{fromCli, "c"}}) {
        toolOutput("pdftoppm", {"-r", "40", qs(utf8FromPath(pdf)), qs(utf8FromPath(dir / name))});
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
    EXPECT_GT(compared, 1);
}

}  // namespace
}  // namespace tf::gui
