#include "gui/print/print_editor_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/print/print_file.h"
#include "core/shell/commands.h"
#include "core/stats/table_sheets.h"
#include "core/xlsx/workbook_writer.h"
#include "gui/charts/chart_figure.h"
#include "gui/print/cell_properties_dialog.h"
#include "gui/print/grid_printer.h"
#include "gui/print/sheet_preview.h"
#include "gui/widgets/grid_model.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/undo_keys.h"

namespace tf::gui {

PrintEditorWindow::PrintEditorWindow(PrintSheet sheet, Prompter& prompter, AppSettings& settings,
                                     QWidget* parent)
    : QDialog(parent),
      sheet_(std::move(sheet)),
      prompter_(prompter),
      settings_(settings),
      pageSetup_(keptPageSetup(settings, pageSetupKey(sheet_))) {
    setObjectName("打印窗口");
    setWindowTitle("打印");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 1);
    layout->setSpacing(0);
    auto* strip = new QWidget(this);
    strip->setObjectName("按钮条");
    strip->setAutoFillBackground(true);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(6, 4, 6, 4);
    buildButtons(stripLayout);
    layout->addWidget(strip);

    view_ = new GridView(this);
    view_->setObjectName("高级表格1");
    view_->setGrid(sheet_.grid);
    view_->letUserResizeColumns();  // the widths go into the print file with the sheet
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // A click outside the selection moves the cursor there first, as spreadsheets do.
        const QModelIndex cell = view_->indexAt(at);
        if (cell.isValid() &&
            !sheet_.grid.selection().normalized().contains(cell.row(), cell.column())) {
            view_->setCurrentIndex(cell);
        }
        if (QMenu* menu = editingMenu(this)) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(view_->viewport()->mapToGlobal(at));
        }
    });
    layout->addWidget(view_, 1);
    connect(view_->gridModel(), &GridModel::cellEdited, this, [this] { history_.cut(); });
    addUndoKeys(this, [this](bool redo) { redo ? history_.redo() : history_.undo(); });
    showTitleBoxes();
    resize(1000, 680);
}

PrintEditorWindow::~PrintEditorWindow() {
    // The view shows the sheet: it goes first, not when the dialog's children go after it.
    delete view_;
}

void PrintEditorWindow::buildButtons(QHBoxLayout* strip) {
    const auto button = [&](const char* caption, const char* name, auto slot) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        strip->addWidget(b);
        return b;
    };
    button("打印(&P)", "打印按钮", [this] { print(this); });
    button("预览", "预览按钮", [this] { preview(); });
    button("PDF", "PDF按钮", [this] { exportPdf(); });
    button("Excel", "Excel按钮", [this] { exportExcel(); })->setToolTip(qs(kExportExcelCaption));
    button("保存(&S)", "保存按钮", [this] { savePrintFileAsked(sheet_, prompter_); });
    button("打开(&O)", "打开按钮", [this] {
        if (openPrintFileAsked(sheet_, prompter_)) {
            history_.clear();
            showTitleBoxes();
        }
    });
    button("退出(&X)", "退出按钮", [this] { accept(); });
    strip->addSpacing(16);

    printTitle_ = new QCheckBox("打印表头：", this);
    printTitle_->setObjectName("打印表头");
    strip->addWidget(printTitle_);
    title_ = new QLineEdit(this);
    title_->setObjectName("标题");
    title_->setMinimumWidth(200);
    strip->addWidget(title_, 1);
    strip->addWidget(new QLabel("字体：", this));
    fontName_ = new QLineEdit(this);
    fontName_->setObjectName("字体");
    fontName_->setMinimumWidth(80);
    fontName_->setMaximumWidth(140);
    strip->addWidget(fontName_);
    strip->addWidget(new QLabel("大小：", this));
    fontSize_ = new QLineEdit(this);
    fontSize_->setObjectName("大小");
    fontSize_->setMinimumWidth(36);
    fontSize_->setMaximumWidth(48);
    strip->addWidget(fontSize_);
    fontButton_ = new QPushButton("字体…", this);
    fontButton_->setObjectName("字体按钮");
    strip->addWidget(fontButton_);
    // Only a sheet of statistics has a chart to print, after its table.
    printChart_ = new QCheckBox("打印图表", this);
    printChart_->setObjectName("打印图表");
    printChart_->setToolTip("在表格之后另起一页打印统计图表");
    printChart_->setVisible(sheet_.chart.has_value());
    printChart_->setChecked(sheet_.printChart);
    strip->addWidget(printChart_);
    connect(printChart_, &QCheckBox::toggled, this,
            [this](bool ticked) { sheet_.printChart = ticked; });

    connect(printTitle_, &QCheckBox::clicked, this, [this](bool ticked) {
        tickPrintTitle(sheet_, ticked);
        showTitleBoxes();
    });
    connect(title_, &QLineEdit::textEdited, this,
            [this](const QString& text) { sheet_.title = text.toStdString(); });
    connect(fontName_, &QLineEdit::textEdited, this,
            [this](const QString& text) { sheet_.fontName = text.toStdString(); });
    connect(fontSize_, &QLineEdit::textEdited, this,
            [this](const QString& text) { sheet_.fontSize = text.toStdString(); });
    connect(fontButton_, &QPushButton::clicked, this, [this] { chooseTitleFont(); });
}

void PrintEditorWindow::showTitleBoxes() {
    printTitle_->setChecked(sheet_.printTitle);
    title_->setText(qs(sheet_.title));
    fontName_->setText(qs(sheet_.fontName));
    fontSize_->setText(qs(sheet_.fontSize));
    for (QWidget* w : {static_cast<QWidget*>(title_), static_cast<QWidget*>(fontName_),
                       static_cast<QWidget*>(fontSize_), static_cast<QWidget*>(fontButton_)}) {
        w->setEnabled(sheet_.printTitle);
    }
}

void PrintEditorWindow::chooseTitleFont() {
    QFont current(qs(sheet_.fontName));
    current.setPointSize(sheetTitle(sheet_).fontSize);
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, current, this, "字体");
    if (chosen) {
        sheet_.fontName = font.family().toStdString();
        sheet_.fontSize = std::to_string(font.pointSize());
        showTitleBoxes();
    }
}

QMenu* PrintEditorWindow::editingMenu(QWidget* parent) {
    if (!sheetMenuOpens(sheet_)) {
        return nullptr;
    }
    auto* menu = new QMenu(parent);
    menu->setObjectName("编辑菜单");
    // Each entry is one step of the editor's own undo.
    const auto add = [&](const char* caption, auto act) {
        connect(menu->addAction(caption), &QAction::triggered, this, [this, act] {
            history_.cut();
            act();
            history_.cut();
        });
    };
    add("添加行", [this] { appendSheetRow(sheet_); });
    add("添加列", [this] { appendSheetColumn(sheet_); });
    menu->addSeparator();
    add("插入行", [this] { insertSheetRow(sheet_); });
    add("插入列", [this] { insertSheetColumn(sheet_); });
    menu->addSeparator();
    add("删除行", [this] { deleteSheetRow(sheet_); });
    add("删除列", [this] { deleteSheetColumn(sheet_); });
    menu->addSeparator();
    add("隐藏列", [this] { hideSheetColumn(sheet_, prompter_); });
    add("显示所有列", [this] { showAllSheetColumns(sheet_); });
    menu->addSeparator();
    add("合并单元格", [this] { mergeSheetCells(sheet_); });
    add("分解单元格", [this] { splitSheetCell(sheet_); });
    menu->addSeparator();
    add("自动换行", [this] { wrapSheetCells(sheet_, true); });
    add("取消换行", [this] { wrapSheetCells(sheet_, false); });
    menu->addSeparator();
    add("置列标题", [this] { editColumnHeading(sheet_, prompter_); });
    add("置行标题", [this] { editRowHeading(sheet_, prompter_); });
    add("小数点位数", [this] { editDecimals(sheet_, prompter_); });
    menu->addSeparator();
    add("属性", [this] { openCellProperties(); });
    menu->addSeparator();
    connect(menu->addAction(qs(kExportExcelCaption)), &QAction::triggered, this,
            [this] { exportExcel(); });
    return menu;
}

void PrintEditorWindow::keyPressEvent(QKeyEvent* event) {
    // Escape leaves a cell editor or a menu; it must not throw the whole sheet away.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PrintEditorWindow::openCellProperties() {
    CellPropertiesDialog dialog(sheet_, sheet_.grid.selection(), this);
    dialog.exec();
    history_.cut();
}

void PrintEditorWindow::preparePrinter(QPrinter& printer) const {
    printer.setPageLayout(sheetPageLayout(sheet_.grid, pageSetup_));
    printer.setDocName(qs(sheetTitle(sheet_).text));
}

void PrintEditorWindow::keepPage(const QPageLayout& layout) {
    if (layout == sheetPageLayout(sheet_.grid, pageSetup_)) {
        return;  // untouched: an automatic orientation stays automatic
    }
    pageSetup_ = pageSetupOf(layout);
    keepPageSetup(settings_, pageSetupKey(sheet_), pageSetup_);
}

void PrintEditorWindow::print(QWidget* over) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer);
    QPrintDialog dialog(&printer, over);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    keepPage(printer.pageLayout());
    const bool toPdf =
        printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    const SheetPages pages(sheet_.grid, sheetTitle(sheet_), printer.pageLayout(),
                           chartPageOf(sheet_, printer.pageLayout()));
    // A long print shows how far it is and can be stopped between two pages.
    QProgressDialog progress("正在打印…", "取消", 0, pages.count(), over);
    progress.setWindowTitle("打印");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    DrawnText drawn;
    printSheet(pages, printer, toPdf ? &drawn : nullptr, [&progress](int printed) {
        progress.setValue(printed);
        return !progress.wasCanceled();
    });
    if (progress.wasCanceled()) {
        printer.abort();
        if (toPdf) {  // no half a document left behind
            std::error_code ignored;
            std::filesystem::remove(pathOf(printer.outputFileName()), ignored);
        }
        return;
    }
    if (toPdf) {  // Qt's print-to-file: its text layer too names what was drawn
        correctTextLayerOfFile(pathOf(printer.outputFileName()), drawn, prompter_);
    }
}

void PrintEditorWindow::preview() {
    SheetPreview preview(
        sheet_.grid, sheetTitle(sheet_), sheetPageLayout(sheet_.grid, pageSetup_),
        [this](const QPageLayout& layout) {
            keepPage(layout);
            print(QApplication::activeModalWidget());
        },
        this, [this](const QPageLayout& layout) { return chartPageOf(sheet_, layout); });
    preview.resize(size());
    preview.exec();
    keepPage(preview.pageLayout());
}

void PrintEditorWindow::exportExcel() {
    exportWorkbookAsked(prompter_,
                        [this](Prompter&) { return std::vector{printSheetSource(sheet_)}; });
}

void PrintEditorWindow::exportPdf() {
    const auto path = prompter_.chooseSaveFile("保存为PDF文件", "PDF文件(*.pdf)|*.pdf", "pdf");
    if (!path) {
        return;
    }
    // Thousands of pages are drawn off the window's thread, with progress and 取消.
    QByteArray pdf;
    bool stopped = false;
    const PagePainter chart = chartPageOf(sheet_, sheetPageLayout(sheet_.grid, pageSetup_));
    prompter_.runWithProgress("正在生成PDF文件…", [&](WorkProgress& progress) {
        pdf = sheetPdf(sheet_.grid, sheetTitle(sheet_), pageSetup_, &progress, chart);
        stopped = progress.stopped();
        return !pdf.isEmpty();
    });
    if (stopped) {
        prompter_.setStatus("已取消");
        return;
    }
    BusyCursor busy(prompter_);
    if (!pdf.isEmpty() &&
        writeFileTelling(pathFromUtf8(*path),
                         {pdf.constData(), static_cast<std::size_t>(pdf.size())}, prompter_)) {
        prompter_.message("保存完毕！", "", MessageFlags::kInformation);
    }
}

}  // namespace tf::gui
