// The main window's project side: new, open, save, save as, the command line and dropped
// files (the rules are core's lifecycle commands), and the auto-save timer with its window.
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "gui/compare/comparison_commands.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/auto_save_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/shell/ticker_label.h"
#include "gui/stats/statistics_page.h"
#include "gui/widgets/grid_view.h"

namespace tf::gui {
namespace {

// The interval timer on the interface thread, a child of the window it saves for.
class QtIntervalTimer : public IntervalTimer {
  public:
    QtIntervalTimer(QObject* owner, const std::function<void()>& fired)
        : timer_(new QTimer(owner)) {
        timer_->setObjectName("自动存盘计时器");
        QObject::connect(timer_, &QTimer::timeout, fired);
    }
    void start(int milliseconds) override { timer_->start(milliseconds); }
    void stop() override { timer_->stop(); }

  private:
    QTimer* timer_;
};

std::vector<std::string> words(const QStringList& list) {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(list.size()));
    for (const QString& word : list) {
        out.push_back(word.toStdString());
    }
    return out;
}

}  // namespace

void MainWindow::registerProjectCommands() {
    autoSaveTimer_ = std::make_unique<QtIntervalTimer>(
        this, [this] { autoSaveTimerFired(document_, settings_, *autoSaveTimer_, *prompter_); });
    startStoredAutoSave(settings_, *autoSaveTimer_);
    handlers_[Command::ProjectWizard] = [this] { showStartPage(); };
    handlers_[Command::NewProject] = [this] { newCommand(document_, *prompter_, *this); };
    handlers_[Command::OpenProject] = [this] { openCommand(document_, *prompter_, *this); };
    handlers_[Command::SaveProject] = [this] {
        if (saveCommand(document_, *prompter_)) {
            refreshTitle();
        }
    };
    handlers_[Command::SaveProjectAs] = [this] {
        if (saveAsCommand(document_, *prompter_)) {
            refreshTitle();
        }
    };
    const auto host = [this] {
        return ComparisonHost{document_,
                              *prompter_,
                              settings_,
                              this,
                              [this](const std::string& location) { showLocation(location); },
                              [this] { projectReplaced(); }};
    };
    handlers_[Command::CompareProjects] = [host] { compareWithChosenProject(host()); };
    handlers_[Command::SaveVersion] = [host] { saveVersionAsked(host()); };
    handlers_[Command::ShowVersions] = [host] { showVersions(host()); };
    handlers_[Command::AutoSaveSettings] = [this] {
        auto* dialog = new AutoSaveDialog(settings_, *autoSaveTimer_, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    };
    handlers_[Command::Exit] = [this] { close(); };
}

void MainWindow::startPageNew() {
    startPageNewCommand(document_, *prompter_, *this);
}

void MainWindow::openFromCommandLine(const QStringList& arguments) {
    if (document_.saving) {  // a file handed over while the project is written: after it
        QTimer::singleShot(200, this, [this, arguments] { openFromCommandLine(arguments); });
        return;
    }
    tf::openFromCommandLine(document_, *prompter_, *this, words(arguments));
}

void MainWindow::dropOnAnalysis(const QStringList& paths) {
    dropOnAnalysisTable(document_, *prompter_, *this, words(paths));
}

void MainWindow::dropOnMaterials(const QStringList& paths) {
    dropOnMaterialTable(*prompter_, *this, words(paths));
}

void MainWindow::showAnalysisPage() {
    pressPageButton(AnalysisPage);
}

void MainWindow::showMaterialPage() {
    pressPageButton(MaterialPage);
}

void MainWindow::setMaterialButtonLook(ButtonLook look) {
    auto* button = findChild<QToolButton*>("图形按钮9");
    button->setDown(look == ButtonLook::Pressed);
    button->setProperty("lit", look == ButtonLook::Lit);
    button->style()->unpolish(button);
    button->style()->polish(button);
    button->repaint();
}

void MainWindow::pauseTicker(bool paused) {
    ticker_->setPaused(paused || pages_->currentIndex() != StartPage);
}

void MainWindow::showLocation(const std::string& name) {
    for (const LocationSpan& span : document_.locations) {
        if (document_.analysis.text(span.first, AnalysisColumn::kLocation) == name) {
            pressPageButton(AnalysisPage);
            const QModelIndex at = analysisView_->gridModel()->index(span.first, 1);
            analysisView_->setCurrentIndex(at);
            analysisView_->scrollTo(at, QAbstractItemView::PositionAtTop);
            activateWindow();
            raise();
            return;
        }
    }
    prompter_->setStatus("分析表中没有部位：" + name);
}

void MainWindow::projectReplaced() {
    history_.clear(document_);
    currentLocation_.reset();
    if (entryDialog_ != nullptr) {  // its rows belong to the project that went
        entryDialog_->clearForm();
        entryDialog_->hide();
    }
    // The statistics are derived: built when their page is first shown.
    resetStatistics(statistics_);
    refreshTables();
    refreshTitle();
}

}  // namespace tf::gui
