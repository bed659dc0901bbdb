#include "uplift/update_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHostInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "core/base/safe_write.h"
#include "gui/widgets/qt_prompter.h"
#include "gui/widgets/qt_text.h"

namespace tf::uplift {

using gui::qs;

UpdateWindow::UpdateWindow(const UpdaterArguments& arguments,
                           std::filesystem::path programDirectory, QUrl base,
                           std::chrono::milliseconds limit, bool notice)
    : arguments_(arguments),
      programDirectory_(std::move(programDirectory)),
      base_(std::move(base)),
      notice_(notice),
      check_(arguments.dataNumber, arguments.mode == 1, !canCreateFilesIn(programDirectory_)),
      fetcher_(limit),
      link_(arguments.window),
      prompter_(std::make_unique<gui::QtPrompter>(this, nullptr)) {
    setObjectName("检查更新窗口");
    setWindowTitle("检查更新");
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    auto* label1 = new QLabel(this);  // the heading area
    label1->setObjectName("标签1");
    label1->setFixedHeight(6);
    label1->setStyleSheet(
        "background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
        "stop:0 #1d4f91, stop:1 #5b8fd6);");
    layout->addWidget(label1);
    auto* label2 = new QLabel("欢迎使用在线更新", this);
    label2->setObjectName("标签2");
    QFont heading = label2->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 3);
    label2->setFont(heading);
    layout->addWidget(label2);
    auto* label3 =
        new QLabel("    ·检测是否有可用的升级更新内容\n\n    ·下载并安装可用的升级组件", this);
    label3->setObjectName("标签3");
    layout->addWidget(label3);

    auto* group = new QGroupBox(this);
    auto* groupLayout = new QVBoxLayout(group);
    progressCaption_ = new QLabel("进度", group);
    progressCaption_->setObjectName("标签4");
    progress_ = new QProgressBar(group);
    progress_->setObjectName("进度条");
    progress_->setRange(0, 100);
    status_ = new QLabel(group);
    status_->setObjectName("标签5");
    groupLayout->addWidget(progressCaption_);
    groupLayout->addWidget(progress_);
    groupLayout->addWidget(status_);
    layout->addWidget(group);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    start_ = new QPushButton(this);
    start_->setObjectName("按钮1");
    end_ = new QPushButton(this);
    end_->setObjectName("按钮2");
    buttons->addWidget(start_);
    buttons->addWidget(end_);
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, [this] { run(check_.start()); });
    connect(end_, &QPushButton::clicked, this, [] { QApplication::exit(0); });
    setFixedSize(400, 300);
    showState(check_.view());
}

UpdateWindow::~UpdateWindow() = default;

void UpdateWindow::begin() {
    placeAtBottomRight();
    if (check_.view().visible) {
        QWidget::show();
        // In front for a moment, then an ordinary window again.
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
        QWidget::show();
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
        QWidget::show();
        raise();
    }
    if (arguments_.mode == 1) {
        run(check_.start());
    }
}

void UpdateWindow::placeAtBottomRight() {
    const QRect area = screen()->availableGeometry();
    move(area.right() + 1 - frameGeometry().width(), area.bottom() + 1 - frameGeometry().height());
}

void UpdateWindow::showState(const UpdateView& view) {
    progressCaption_->setVisible(view.progressShown);
    progress_->setVisible(view.progressShown);
    progress_->setValue(view.progress);
    status_->setText(qs(view.status));
    start_->setText(qs(view.startCaption));
    start_->setEnabled(view.startEnabled);
    end_->setText(qs(view.endCaption));
    end_->setEnabled(view.endEnabled);
    if (view.busyCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    }
    if (view.visible && !isVisible()) {
        QWidget::show();
        raise();
    }
    QApplication::processEvents();  // "let the interface run"
}

void UpdateWindow::run(UpdateStep step) {
    showState(check_.view());
    switch (step.kind) {
        case UpdateStep::Probe:
            QHostInfo::lookupHost(base_.host(), this, [this](const QHostInfo& info) {
                run(check_.probed(info.error() == QHostInfo::NoError &&
                                  !info.addresses().isEmpty()));
            });
            return;
        case UpdateStep::FetchVersion:
            fetcher_.fetch(
                base_.resolved(QUrl("Updata/UpIni.txt")),
                [this](std::optional<std::string> body) { run(check_.versionFetched(body)); });
            return;
        case UpdateStep::FetchPackage:
            fetcher_.fetch(
                base_.resolved(QUrl("Updata/tay.dat")),
                [this](std::optional<std::string> body) { run(check_.packageFetched(body)); });
            return;
        case UpdateStep::Notify:
            link_.send(step.code, true);
            return run(check_.notified(step.code));
        case UpdateStep::ShowNotice:
            if (notice_) {
                prompter_->message(kInstallNotice, "更新:", MessageFlags::kInformation);
            }
            return run(check_.noticeClosed());
        case UpdateStep::Install:
            return run(check_.installed(installUpdatePackage(programDirectory_, check_.package())));
        case UpdateStep::EndSoon:
            QTimer::singleShot(kUpdateEndMilliseconds, qApp, [] { QApplication::exit(0); });
            return;
        case UpdateStep::Wait:
            return;
    }
}

void UpdateWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    link_.send(UpdateMessage::kRepaint, false);
}

void UpdateWindow::closeEvent(QCloseEvent* event) {
    if (!check_.canClose()) {
        event->ignore();
        return;
    }
    event->accept();
    QApplication::exit(0);
}

}  // namespace tf::uplift
