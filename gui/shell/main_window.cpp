#include "gui/shell/main_window.h"
#include "gui/shell/updater_endpoint.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/analysis/location_commands.h"
#include "core/materials/material_layout.h"
#include "core/project/analysis_layout.h"
#include "core/project/column_layout.h"
#include "core/project/project_io.h"
#include "core/shell/lifecycle.h"
#include "gui/attach/attachment_window.h"
#include "gui/entry/entry_dialog.h"
#include "gui/materials/material_editor.h"
#include "gui/shell/artwork.h"
#include "gui/shell/cell_content_window.h"
#include "gui/shell/ticker_label.h"
#include "gui/stats/statistics_page.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/page_widgets.h"
#include "gui/widgets/qt_prompter.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

constexpr int kBannerHeight = 72;
// How soon "*" in the title follows a change: well within a glance, at no cost.
constexpr int kModifiedWatchMs = 200;
const char* const kPageNames[] = {"分析表", "统计表", "材料表"};
const QColor kButtonInk(255, 255, 255);

// A page with its centred caption above a grid 4 pixels in from the page's edges.
QWidget* gridPage(QLabel* title, GridView* view) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(title);
    layout->addWidget(view, 1);
    return page;
}

}  // namespace

MainWindow::MainWindow(QString programDirectory, Prompter* prompter)
    : programDirectory_(std::move(programDirectory)),
      settings_(settingsFilePath(
          pathOf(programDirectory_),
          pathOf(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)))) {
    setObjectName("主窗口");
    setWindowIcon(programIcon());
    resetProject(document_);
    resetStatistics(statistics_);
    history_.watch(&statistics_);
    history_.clear(document_);

    // The status panel and the prompter come first: every page talks through them.
    buildStatusBar();
    if (prompter == nullptr) {
        ownPrompter_ = std::make_unique<QtPrompter>(this, statusPanel_);
        prompter = ownPrompter_.get();
    }
    prompter_ = prompter;

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildBanner());
    pages_ = new QTabWidget(central);
    pages_->setObjectName("选择夹1");
    pages_->tabBar()->hide();
    pages_->setDocumentMode(true);
    pages_->addTab(buildAnalysisPage(), "分析表");
    pages_->addTab(buildStatisticsPage(), "统计表");
    pages_->addTab(buildMaterialPage(), "材料表");
    pages_->addTab(buildStartPage(), "工程向导");
    layout->addWidget(pages_, 1);
    setCentralWidget(central);

    auto* endpoint = new QLabel(this);  // the updater's message endpoint
    endpoint->setObjectName("标签12");
    endpoint->hide();

    registerCommands();
    registerShortcuts();
    refreshTables();
    showStartPage();
    refreshTitle();
    // Unsaved changes show as "*" after the title, the platform's way. Every window and command
    // may change the project, and no change goes unseen here.
    auto* modifiedWatch = new QTimer(this);
    connect(modifiedWatch, &QTimer::timeout, this,
            [this] { setWindowModified(document_.modified); });
    modifiedWatch->start(kModifiedWatchMs);
}

MainWindow::~MainWindow() {
    // The views show grids owned by this window's members: they go first.
    delete takeCentralWidget();
}

namespace {

// The banner across the top, drawn to whatever width the window has.
class Banner : public QWidget {
  public:
    Banner() {
        setObjectName("图片框1");
        setFixedHeight(kBannerHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawPixmap(0, 0, bannerPixmap(width(), height()));
    }
};

}  // namespace

QWidget* MainWindow::buildBanner() {
    auto* banner = new Banner;
    auto* row = new QHBoxLayout(banner);
    row->setContentsMargins(8, 2, 8, 2);
    row->setSpacing(2);

    const struct {
        const char* name;
        const char* text;
        Glyph glyph;
        Menu menu;
    } menus[] = {{"图形按钮4", "文件", Glyph::File, Menu::File},
                 {"图形按钮5", "编辑", Glyph::Edit, Menu::Edit},
                 {"图形按钮8", "帮助", Glyph::Help, Menu::Help}};
    for (const auto& m : menus) {
        QToolButton* button = pictureButton(m.name, m.text, m.glyph, kButtonInk, banner);
        const Menu menu = m.menu;
        connect(button, &QToolButton::clicked, this, [this, button, menu] {
            popupMenu(menu, button->mapToGlobal(QPoint(10, button->height())));
        });
        row->addWidget(button);
    }
    row->addSpacing(24);
    auto* brand = new QLabel(
        "<span style='font-size:20pt; font-weight:600; color:white'>"
        "Tallyframe2009</span>"
        "<span style='font-size:11pt; color:#cfe0f5'>"
        "&nbsp;&nbsp;现场版 · 建筑装饰装修工程量分析</span>",
        banner);
    brand->setObjectName("品牌标签");
    row->addWidget(brand);
    row->addStretch(1);

    QToolButton* saveStructure =
        pictureButton("图形按钮15", "分部分项", Glyph::Save, kButtonInk, banner);
    saveStructure->setToolTip("保存分部分项表");
    saveStructure->setToolTipDuration(kToolTipMs);
    row->addWidget(saveStructure);
    row->addSpacing(16);
    const Glyph pageGlyphs[] = {Glyph::Analysis, Glyph::Statistics, Glyph::Material};
    for (int i = 0; i < 3; ++i) {
        QToolButton* button = pictureButton(QString("图形按钮%1").arg(i + 1), kPageNames[i],
                                            pageGlyphs[i], kButtonInk, banner);
        button->setCheckable(true);
        connect(button, &QToolButton::clicked, this,
                [this, i] { pressPageButton(static_cast<Page>(i)); });
        pageButtons_[i] = button;
        row->addWidget(button);
    }
    banner->setStyleSheet(
        "QToolButton { color: white; border: 1px solid transparent; border-radius: 4px;"
        " padding: 2px 8px; }"
        "QToolButton:hover { background: rgba(255,255,255,40); }"
        "QToolButton:checked { background: rgba(255,255,255,70);"
        " border: 1px solid rgba(255,255,255,120); }");
    return banner;
}

QWidget* MainWindow::buildAnalysisPage() {
    analysisView_ = new GridView;
    analysisView_->setObjectName("分析表");
    analysisView_->setGrid(document_.analysis);
    analysisView_->letUserResizeColumns(std::make_unique<ColumnWidthMemory>(settings_, "分析表"));
    // Every change goes through the data-entry dialog.
    analysisView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    analysisView_->setBeginEditHook([](int, int) { return false; });
    analysisView_->setKeyHook([this](QKeyEvent* event) {
        const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
        switch (event->key()) {
            case Qt::Key_Space:
                dispatch(Command::AddEntry);
                return true;
            case Qt::Key_Insert:
                dispatch(Command::InsertEntry);
                return true;
            case Qt::Key_F3:
                dispatch(Command::ModifyEntry);
                return true;
            case Qt::Key_F6:
                dispatch(Command::ViewAttachments);
                return true;
            case Qt::Key_Delete:
                return true;
            case Qt::Key_V:
            case Qt::Key_X:
                return ctrl;
            default:
                return false;
        }
    });
    connect(analysisView_, &GridView::cellPressed, this, &MainWindow::pressAnalysisRow);
    analysisView_->setAcceptsFileDrops(true);
    connect(analysisView_, &GridView::filesDropped, this, &MainWindow::dropOnAnalysis);
    connect(analysisView_, &GridView::cursorMoved, this, [this](int row, int column) {
        if (cellContent_) {
            cellContent_->showCell(row, column);
        }
    });
    return gridPage(pageCaption("标签1", "材料分析表", nullptr), analysisView_);
}

void MainWindow::pressAnalysisRow(int row, int column, Qt::MouseButton button, QPoint global) {
    const bool modifying = entryDialog_ != nullptr && entryDialog_->isVisible() &&
                           entryDialog_->form().modifiedLocation().has_value();
    if (!modifying) {
        const auto location = locationNumberedOnRow(document_.analysis, document_.locations, row);
        const bool moved = location != currentLocation_;
        currentLocation_ = location;
        const bool entering = entryDialog_ != nullptr && entryDialog_->isVisible();
        if (moved && !entering && attachments_ != nullptr && attachments_->isVisible()) {
            viewAttachments();
        }
    }
    if (button == Qt::LeftButton && column == AnalysisColumn::kNumber &&
        row >= kAnalysisHeadingRows) {
        analysisView_->selectRowCells(row, AnalysisColumn::kLocation,
                                      document_.analysis.columnCount() - 2);
    }
    if (button == Qt::RightButton && row >= kAnalysisHeadingRows) {
        analysisView_->setCurrentIndex(analysisView_->gridModel()->index(row, column));
        popupTable_ = ExportTable::Analysis;
        popupMenu(Menu::Analysis, global, [modifying](Command command) {
            return !modifying ||
                   (command != Command::AddEntry && command != Command::InsertEntry &&
                    command != Command::DeleteLocation && command != Command::BuildStatistics);
        });
    }
}

QWidget* MainWindow::buildMaterialPage() {
    materialView_ = new GridView;
    materialView_->setObjectName("材料表");
    materialView_->setGrid(document_.materials);
    materialView_->letUserResizeColumns(std::make_unique<ColumnWidthMemory>(settings_, "材料表"));
    materialEditor_ = new MaterialEditor(*materialView_, document_, *prompter_,
                                         [this] { pressPageButton(AnalysisPage); });
    materialEditor_->setActionScope(actionScope(history_, document_));
    materialView_->setAcceptsFileDrops(true);
    connect(materialView_, &GridView::filesDropped, this, &MainWindow::dropOnMaterials);
    connect(materialView_, &GridView::cellPressed, this,
            [this](int row, int column, Qt::MouseButton button, QPoint global) {
                if (button == Qt::LeftButton && column == MaterialColumn::kNumber && row >= 1) {
                    materialView_->selectRowCells(row, MaterialColumn::kCategory,
                                                  document_.materials.columnCount() - 1);
                }
                if (button != Qt::RightButton || row < 1) {
                    return;
                }
                // Only the current row can be deleted from the pop-up.
                const bool current = document_.materials.cursor().row == row;
                popupTable_ = ExportTable::Materials;
                popupMenu(Menu::Material, global, [current](Command command) {
                    return command != Command::DeleteMaterialRow || current;
                });
            });
    return gridPage(pageCaption("标签3", "材料清单", nullptr), materialView_);
}

QWidget* MainWindow::buildStartPage() {
    auto* board = new QWidget;
    board->setObjectName("画板2");
    board->setAutoFillBackground(true);
    board->setStyleSheet(
        "#画板2 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #f4f8fd, stop:1 #dde8f5); }");
    auto* outer = new QVBoxLayout(board);
    outer->addStretch(1);
    ticker_ = new TickerLabel(board);
    ticker_->setFixedWidth(640);
    outer->addWidget(ticker_, 0, Qt::AlignHCenter);
    outer->addSpacing(20);

    auto* frame = new QFrame(board);
    frame->setObjectName("外形框1");
    frame->setFixedSize(640, 300);
    frame->setStyleSheet(
        "#外形框1 { background: white; border: 1px solid #b8cbe4;"
        " border-radius: 8px; }"
        "QToolButton { border: 1px solid transparent; border-radius: 6px;"
        " padding: 6px; color: #1e4682; }"
        "QToolButton:hover, QToolButton[lit=\"true\"] { background: #e8f0fb;"
        " border-color: #b8cbe4; }");
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(24, 16, 24, 16);
    auto* title = new QLabel("工程向导", frame);
    title->setObjectName("透明标签5");
    QFont font = title->font();
    font.setPointSize(font.pointSize() + 8);
    font.setBold(true);
    title->setFont(font);
    title->setStyleSheet("color: #1e4682;");
    grid->addWidget(title, 0, 0, 1, 3);
    const struct {
        const char* name;
        const char* text;
        Glyph glyph;
        std::function<void()> action;
    } buttons[] = {
        {"图形按钮6", "打开工程", Glyph::Open, [this] { dispatch(Command::OpenProject); }},
        {"图形按钮7", "新建工程", Glyph::New, [this] { startPageNew(); }},
        {"图形按钮14", "分部分项", Glyph::Structure,
         [this] { dispatch(Command::StructureSettings); }},
        {"图形按钮10", "分析表", Glyph::Analysis, [this] { pressPageButton(AnalysisPage); }},
        {"图形按钮11", "统计表", Glyph::Statistics, [this] { pressPageButton(StatisticsPage); }},
        {"图形按钮9", "材料表", Glyph::Material, [this] { pressPageButton(MaterialPage); }},
    };
    int index = 0;
    for (const auto& b : buttons) {
        QToolButton* button = pictureButton(b.name, b.text, b.glyph, kPageInk, frame);
        button->setIconSize(QSize(48, 48));
        button->setMinimumWidth(150);
        connect(button, &QToolButton::clicked, this, b.action);
        grid->addWidget(button, 1 + index / 3, index % 3);
        ++index;
    }
    startEdit_ = new QLineEdit(frame);
    startEdit_->setObjectName("编辑框1");
    startEdit_->setPlaceholderText("按 F1 查看帮助");
    grid->addWidget(startEdit_, 3, 0, 1, 3);
    outer->addWidget(frame, 0, Qt::AlignHCenter);
    outer->addStretch(2);
    return board;
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("状态条1");
    statusPanel_ = new QLabel(bar);
    statusPanel_->setObjectName("消息面板");
    statusPanel_->setMinimumWidth(180);
    // A long note is cut at the panel's end (the whole of it in the tooltip) rather than
    // running under the link or widening the window.
    statusPanel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(statusPanel_, 1);
    auto* link = new QLabel("<a href='#'>Tallyframe 网站</a>", bar);
    link->setObjectName("标签8");
    bar->addPermanentWidget(link);
    connect(link, &QLabel::linkActivated, this,
            [] { QDesktopServices::openUrl(QUrl(qs(kMakerAddress))); });
}

void MainWindow::registerCommands() {
    handlers_[Command::AddEntry] = [this] {
        prompter_->setStatus("添加或修改数据");
        currentLocation_.reset();  // a new entry is no location yet: F3 must not take it over
        entryDialog().openForAdd();
    };
    handlers_[Command::InsertEntry] = [this] {
        prompter_->setStatus("添加或修改数据");
        const auto before = currentLocation_;
        currentLocation_.reset();
        if (before) {
            entryDialog().openForInsert(*before);
        } else {
            entryDialog().openForAdd();  // no location to go before: after the last
        }
    };
    handlers_[Command::ModifyEntry] = [this] {
        if (currentLocation_) {
            prompter_->setStatus("添加或修改数据");
            entryDialog().openForModify(*currentLocation_);
        }
    };
    handlers_[Command::ViewAttachments] = [this] { viewAttachments(); };
    handlers_[Command::DeleteLocation] = [this] {
        if (currentLocation_ && deleteLocationAsked(document_, *currentLocation_, *prompter_)) {
            currentLocation_.reset();
            analysisChanged();
        }
    };
    handlers_[Command::ViewCellContent] = [this] {
        if (!cellContent_) {
            cellContent_ = new CellContentWindow(document_.analysis, this);
            // Over the right-hand end of the table, below its headings: the banner and the
            // cells being looked at stay in sight.
            const QRect table(analysisView_->mapToGlobal(QPoint(0, 0)), analysisView_->size());
            const int headings = document_.analysis.fixedRows() * document_.analysis.rowHeight();
            cellContent_->move(table.right() - cellContent_->width() - 24,
                               table.top() + headings + 24);
        }
        const CellPos cursor = document_.analysis.cursor();
        cellContent_->showCell(cursor.row, cursor.column);
        cellContent_->show();
        cellContent_->raise();
    };
    handlers_[Command::AddMaterialRow] = [this] { materialEditor_->appendRow(); };
    handlers_[Command::DeleteMaterialRow] = [this] { materialEditor_->deleteRow(); };
    handlers_[Command::ExportMaterials] = [this] { materialEditor_->exportTable(); };
    handlers_[Command::Refresh] = [this] { refreshCurrentTable(); };
    registerProjectCommands();
    registerStructureCommands();
    registerStatisticsCommands();
    registerToolCommands();
    registerExcelCommands();
    registerUndoCommands();
    registerHelpCommands();
}

void MainWindow::dispatch(Command command) {
    const auto it = handlers_.find(command);
    if (it == handlers_.end()) {
        return;
    }
    if (command == Command::Undo || command == Command::Redo) {
        it->second();
        return;
    }
    {
        // Whatever the command changes is one step, named after it.
        UndoHistory::Action action(history_, document_, actionName(command));
        it->second();
    }
    followStatistics();
    applyColumnLayout();  // 序号 as wide as the rows now need
    setWindowModified(document_.modified);
    if (!document_.modified) {
        history_.markSaved();  // saved, or opened
    }
}

void MainWindow::registerShortcuts() {
    // Application-wide, not system-wide: the keys act in every window of this program and
    // leave other programs' Ctrl+S alone.
    shortcuts_.registerAll(objectName().toStdString(), [this](const ShortcutKey& key, int number) {
        QKeySequence sequence((key.modifiers & kControl ? QStringLiteral("Ctrl+") : QString()) +
                              qs(key.key));
        if (sequence.isEmpty()) {
            return false;
        }
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::ApplicationShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, number] {
            if (const auto command = shortcuts_.commandOf(number)) {
                dispatch(*command);
            }
        });
        return true;
    });
    for (const auto& [keys, command] :
         {std::pair{"F1", Command::HelpTopics}, std::pair{"F5", Command::Refresh}}) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, command = command] { dispatch(command); });
    }
}

void MainWindow::popupMenu(Menu menu, const QPoint& globalPos,
                           const std::function<bool(Command)>& enabled) {
    auto* popup = new QMenu(this);
    popup->setObjectName(qs(menuTitle(menu)));
    popup->setAttribute(Qt::WA_DeleteOnClose);
    for (const MenuItem& item : menuItems(menu)) {
        if (item.separator) {
            popup->addSeparator();
            continue;
        }
        QString text = item.command == Command::Undo   ? qs(undoCaption(history_.undoName()))
                       : item.command == Command::Redo ? qs(redoCaption(history_.redoName()))
                                                       : qs(item.caption);
        if (!item.keyText.empty()) {
            text += '\t' + qs(item.keyText);
        }
        const Command command = item.command;
        QAction* action = popup->addAction(text, this, [this, command] { dispatch(command); });
        action->setStatusTip(qs(commandTip(command)));
        action->setEnabled((!enabled || enabled(command)) &&
                           (command != Command::Undo || history_.canUndo()) &&
                           (command != Command::Redo || history_.canRedo()));
    }
    popup->popup(globalPos);
}

void MainWindow::showPageStatus() {
    const int page = pages_->currentIndex();
    prompter_->setStatus(page == StartPage ? "工程向导" : kPageNames[page]);
}

bool MainWindow::statisticsBuiltBehindProgress() {
    // A million rows take most of a second: built off the window's thread, the busy window
    // showing once it takes a moment. The build only says what it does in the status bar.
    bool rebuilt = false;
    prompter_->runWithProgress(
        " 数据分析中…",
        [&](WorkProgress&) {
            SilentPrompter quiet;
            rebuilt = ensureStatisticsCurrent(document_, statistics_, quiet);
            return true;
        },
        false);
    return rebuilt;
}

void MainWindow::pressPageButton(Page page) {
    prompter_->setStatus(kPageNames[page]);
    ticker_->setPaused(true);
    if (pageButtons_[page]->isChecked() && pages_->currentIndex() == page) {
        return;
    }
    if (page == StatisticsPage && statisticsBuiltBehindProgress()) {
        statisticsPage_->reload();
        prompter_->setStatus(kPageNames[page]);
    }
    for (int i = 0; i < 3; ++i) {
        pageButtons_[i]->setChecked(i == page);
    }
    pages_->setCurrentIndex(page);
    GridView* const views[] = {analysisView_, &statisticsPage_->mainView(), materialView_};
    views[page]->setFocus();
    if (page == MaterialPage && document_.materials.cursor().row < 0) {
        document_.materials.setCursor(1, 1);
        materialView_->setCurrentIndex(materialView_->gridModel()->index(1, 1));
    }
}

void MainWindow::showStartPage() {
    for (QToolButton* button : pageButtons_) {
        button->setChecked(false);
    }
    pages_->setCurrentIndex(StartPage);
    ticker_->setPaused(false);
    showPageStatus();
}

bool MainWindow::loadProgramData() {
    const QString path = QDir(programDirectory_).filePath(qs(kProgramDataFile));
    auto file = ExclusiveFile::open(pathOf(path), ExclusiveFile::Mode::ReadOnly);
    const auto bytes = file ? file->readAll() : std::nullopt;
    auto parsed = bytes ? parseProgramData(*bytes) : std::nullopt;
    if (!parsed) {
        return false;
    }
    dataFile_ = std::move(file);
    QStringList messages;
    for (const auto& message : parsed->tickerMessages) {
        messages << qs(message);
    }
    programData_ = std::move(parsed);
    ticker_->setMessages(messages);
    return true;
}

std::optional<std::int32_t> MainWindow::dataNumber() const {
    if (!programData_) {
        return std::nullopt;
    }
    return programData_->dataNumber;
}

EntryDialog& MainWindow::entryDialog() {
    if (entryDialog_ == nullptr) {
        entryDialog_ = new EntryDialog(document_, *prompter_, settings_, this);
        entryDialog_->setActionScope(actionScope(history_, document_));
        connect(entryDialog_, &EntryDialog::wantAnalysisPage, this,
                [this] { pressPageButton(AnalysisPage); });
        connect(entryDialog_, &EntryDialog::written, this, [this] {
            currentLocation_.reset();
            analysisChanged();
        });
        connect(entryDialog_, &EntryDialog::cleared, this, [this] { currentLocation_.reset(); });
        connect(entryDialog_, &EntryDialog::attachmentsWanted, this, &MainWindow::editAttachments);
        connect(entryDialog_, &EntryDialog::formLoaded, this, &MainWindow::followEntryForm);
        connect(entryDialog_, &QDialog::finished, this, [this] {
            showPageStatus();
            // What was gathered goes with the form; the window cannot hand anything back now.
            if (attachments_ != nullptr && attachments_->manager().mode() == AttachMode::Edit) {
                attachments_->close();
            }
        });
    }
    return *entryDialog_;
}

void MainWindow::refreshTitle() {
    setWindowTitle(qs(tf::windowTitle(document_.path)) + "[*]");
    setWindowModified(document_.modified);
}

void MainWindow::refreshTables() {
    applyColumnLayout();
    statisticsPage_->reload();
}

void MainWindow::applyColumnLayout() {
    layoutAnalysisColumns(document_.analysis, width());
    layoutMaterialColumns(document_.materials, width());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    applyColumnLayout();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!confirmClose(document_, *prompter_)) {
        event->ignore();
        return;
    }
    document_.file.reset();
    dataFile_.reset();
    event->accept();
}

}  // namespace tf::gui
