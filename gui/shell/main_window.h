#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "core/base/exclusive_file.h"
#include "core/base/prompter.h"
#include "core/project/project_document.h"
#include "core/shell/app_settings.h"
#include "core/shell/auto_save.h"
#include "core/shell/commands.h"
#include "core/shell/lifecycle.h"
#include "core/shell/program_data.h"
#include "core/shell/shortcut_table.h"
#include "core/stats/statistics.h"
#include "core/stats/table_sheets.h"
#include "core/undo/undo_history.h"
#include "core/update/updater_link.h"

class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace tf::gui {

class AttachmentWindow;
class CalculatorWindow;
class CellContentWindow;

class EntryDialog;
class GridView;
class MaterialEditor;
class MaterialSearchWindow;
class PrintEditorWindow;
class StatisticsPage;
class StructureEditorWindow;
class TickerLabel;
class UpdaterEndpoint;

// The main window: banner with menu and page buttons, the page control with the analysis,
// statistics, material and start pages, and the status bar. It owns the project document
// and routes every command through one dispatch table.
class MainWindow : public QMainWindow, private ProjectShell, private UpdaterHost {
    Q_OBJECT
  public:
    enum Page { AnalysisPage = 0, StatisticsPage = 1, MaterialPage = 2, StartPage = 3 };

    // `prompter` replaces the message boxes (tests); null uses the real ones.
    explicit MainWindow(QString programDirectory, Prompter* prompter = nullptr);
    ~MainWindow() override;

    ProjectDocument& document() { return document_; }
    Prompter& prompter() { return *prompter_; }
    const ShortcutTable& shortcuts() const { return shortcuts_; }
    const QString& programDirectory() const { return programDirectory_; }

    void dispatch(Command command);
    // Opens and holds "ZUdavu.dat" and starts the ticker; false when it cannot be read.
    bool loadProgramData();
    std::optional<std::int32_t> dataNumber() const;
    // The endpoint the updater talks to, listening from its first use.
    UpdaterEndpoint& updaterEndpoint();

    void pressPageButton(Page page);
    void showStartPage() override;
    // `enabled` decides per command whether its item can be chosen (all when empty).
    void popupMenu(Menu menu, const QPoint& globalPos,
                   const std::function<bool(Command)>& enabled = {});
    void refreshTitle();
    // The status bar's message panel names the page shown.
    void showPageStatus();
    // The data-entry dialog, created when first needed.
    EntryDialog& entryDialog();
    // "分部分项表设置", or "材料关联" (726 pixels wide, on the links page).
    StructureEditorWindow* openStructureEditor(bool materialLinks);
    // "打印": the print editor on a copy of the table shown.
    PrintEditorWindow* openPrintEditor();
    std::optional<int> currentLocation() const { return currentLocation_; }
    Statistics& statistics() { return statistics_; }
    gui::StatisticsPage& statisticsPage() { return *statisticsPage_; }
    GridView& analysisView() { return *analysisView_; }
    // Opens the project named by the command line arguments, when they name one.
    void openFromCommandLine(const QStringList& arguments);
    // "Brix.ini" as the program reads and writes it, and the interval timer it drives.
    AppSettings& settings() { return settings_; }
    IntervalTimer& autoSaveTimer() { return *autoSaveTimer_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* buildBanner();
    QWidget* buildAnalysisPage();
    QWidget* buildStatisticsPage();
    QWidget* buildMaterialPage();
    QWidget* buildStartPage();
    void buildStatusBar();
    void registerShortcuts();
    void registerCommands();
    void applyColumnLayout();
    void refreshTables();
    void registerStatisticsCommands();
    void registerProjectCommands();
    void registerStructureCommands();
    void registerToolCommands();
    void registerExcelCommands();
    void registerUndoCommands();
    // After an undo or redo: what shows the project follows it.
    void projectStepped(const std::string& caption);
    void registerHelpCommands();
    void openHelp();
    // UpdaterHost
    void releaseDataFile() override;
    bool reopenDataFile() override;
    void repaint() override;
    void takeHandedProject(const std::string& fileName) override;
    void startPageNew();
    void dropOnAnalysis(const QStringList& paths);
    void dropOnMaterials(const QStringList& paths);
    // ProjectShell
    void showAnalysisPage() override;
    void showMaterialPage() override;
    void setMaterialButtonLook(ButtonLook look) override;
    void pauseTicker(bool paused) override;
    void projectReplaced() override;
    void importMaterialFile(const std::string& path) override;
    void buildStatistics();
    // After rows of 分析表 were written or removed.
    void analysisChanged();
    // The statistics shown follow the project: brought up to date when the tables or the
    // structure changed. Statistics not shown are brought up to date when next shown.
    void followStatistics();
    void refreshCurrentTable();
    void pressAnalysisRow(int row, int column, Qt::MouseButton button, QPoint global);
    // The attachments window: the current location's in view mode ("查看附加资料  F6"),
    // following the current location while the entry dialog is closed; the entry dialog's
    // in edit mode, following its form.
    AttachmentWindow& attachmentWindow();
    void viewAttachments();
    void editAttachments();
    void followEntryForm();
    // The attachments window, when it shows the current location's files, shows them again:
    // the location or its files may have changed under it.
    void followCurrentLocation();
    // The statistics made current for their page; whether they had to be built.
    bool statisticsBuiltBehindProgress();
    // 分析表 shown at the first location of that name (a comparison's double click).
    void showLocation(const std::string& name);

    QString programDirectory_;
    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_ = nullptr;
    ProjectDocument document_;
    Statistics statistics_;
    UndoHistory history_;  // after the document it records
    ShortcutTable shortcuts_;
    std::map<Command, std::function<void()>> handlers_;
    ExportTable popupTable_ = ExportTable::Analysis;  // the table the last pop-up opened on
    std::optional<ExclusiveFile> dataFile_;
    std::optional<ProgramData> programData_;
    std::optional<int> currentLocation_;  // the location of the row last pressed in 分析表
    AppSettings settings_;
    std::unique_ptr<IntervalTimer> autoSaveTimer_;

    QTabWidget* pages_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    GridView* analysisView_ = nullptr;
    gui::StatisticsPage* statisticsPage_ = nullptr;
    QPointer<CellContentWindow> cellContent_;
    QPointer<MaterialSearchWindow> materialSearch_;
    QPointer<CalculatorWindow> calculator_;
    GridView* materialView_ = nullptr;
    MaterialEditor* materialEditor_ = nullptr;
    EntryDialog* entryDialog_ = nullptr;
    std::unique_ptr<UpdaterEndpoint> updaterEndpoint_;
    AttachmentWindow* attachments_ = nullptr;
    QToolButton* pageButtons_[3] = {};
    QLineEdit* startEdit_ = nullptr;
    TickerLabel* ticker_ = nullptr;
};

}  // namespace tf::gui
