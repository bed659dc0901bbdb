#include "gui/compare/versions_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/base/number_text.h"
#include "core/base/path_text.h"
#include "core/compare/project_tally.h"
#include "core/shell/lifecycle.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

// The versions' totals, read behind the progress: a version is a whole project.
std::vector<std::string> totalsOf(const std::vector<ProjectVersion>& versions, Prompter& prompter) {
    std::vector<std::string> totals(versions.size());
    prompter.runWithProgress("正在读取版本…", [&](WorkProgress& progress) {
        progress.total = static_cast<std::int64_t>(versions.size());
        for (std::size_t i = 0; i < versions.size() && !progress.stopped(); ++i) {
            SilentPrompter silent;  // one that cannot be read shows no total
            if (const auto tally = tallyProjectFile(utf8FromPath(versions[i].file), silent)) {
                totals[i] = formatFixed(totalCost(*tally), 2);
            }
            progress.done = static_cast<std::int64_t>(i + 1);
        }
        return true;
    });
    return totals;
}

}  // namespace

VersionsDialog::VersionsDialog(ComparisonHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)) {
    setWindowTitle("版本");
    list_ = new QTreeWidget;
    list_->setObjectName("版本列表");
    list_->setHeaderLabels({"时间", "标签", "合计"});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* compareCurrent = new QPushButton("与当前工程对比");
    auto* compareTwo = new QPushButton("两个版本对比");
    auto* restore = new QPushButton("恢复此版本");
    auto* open = new QPushButton("打开（另存为新工程）");
    connect(open, &QPushButton::clicked, this, [this] {
        const auto v = chosen();
        if (v.size() != 1) {
            host_.prompter.message("请选择一个版本。", Captions::kInformation,
                                   MessageFlags::kInformation);
            return;
        }
        const ProjectVersion version = *v[0];
        if (!settleBeforeReplacing(host_.document, host_.prompter)) {
            return;
        }
        if (openVersionUntitled(host_.document, version, host_.prompter)) {
            host_.projectReplaced();
            host_.prompter.setStatus("版本“" + version.label + "”：保存时请另取文件名");
            accept();
        }
    });
    auto* close = new QPushButton("关闭");
    connect(compareCurrent, &QPushButton::clicked, this, [this] {
        if (const auto v = chosen(); v.size() == 1) {
            openComparison(host_, utf8FromPath(v[0]->file));
        } else {
            host_.prompter.message("请选择一个版本。", Captions::kInformation,
                                   MessageFlags::kInformation);
        }
    });
    connect(compareTwo, &QPushButton::clicked, this, [this] {
        if (const auto v = chosen(); v.size() == 2) {
            // The older version is the earlier side.
            const bool inOrder = v[0]->time <= v[1]->time;
            openComparison(host_, utf8FromPath(v[inOrder ? 0 : 1]->file),
                           utf8FromPath(v[inOrder ? 1 : 0]->file));
        } else {
            host_.prompter.message("请选择两个版本。", Captions::kInformation,
                                   MessageFlags::kInformation);
        }
    });
    connect(restore, &QPushButton::clicked, this, [this] {
        const auto v = chosen();
        if (v.size() != 1) {
            host_.prompter.message("请选择一个版本。", Captions::kInformation,
                                   MessageFlags::kInformation);
            return;
        }
        const std::string question = "用版本“" + v[0]->label + "”（" + v[0]->time +
                                     "）替换当前工程的内容吗？\r\n当前的内容先保存为一个版本。";
        if (host_.prompter.message(question, Captions::kQuestion,
                                   MessageFlags::kYesNoWarningDefaultNo) != Answer::Yes) {
            return;
        }
        if (restoreVersion(host_.document, *v[0], host_.prompter)) {
            host_.projectReplaced();
            host_.prompter.setStatus("版本已恢复");
            fill();
        }
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(compareCurrent);
    buttons->addWidget(compareTwo);
    buttons->addWidget(restore);
    buttons->addWidget(open);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(640, 360);
    fill();
}

void VersionsDialog::fill() {
    versions_ = listVersions(pathFromUtf8(host_.document.path));
    const std::vector<std::string> totals = totalsOf(versions_, host_.prompter);
    list_->clear();
    for (std::size_t i = versions_.size(); i-- > 0;) {
        auto* item =
            new QTreeWidgetItem({qs(versions_[i].time), qs(versions_[i].label), qs(totals[i])});
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        list_->addTopLevelItem(item);
    }
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
}

std::vector<const ProjectVersion*> VersionsDialog::chosen() const {
    std::vector<const ProjectVersion*> picked;
    for (const QTreeWidgetItem* item : list_->selectedItems()) {
        picked.push_back(&versions_[static_cast<std::size_t>(item->data(0, Qt::UserRole).toInt())]);
    }
    return picked;
}

}  // namespace tf::gui
