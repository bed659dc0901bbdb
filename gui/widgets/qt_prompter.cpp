#include "gui/widgets/qt_prompter.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>
#include <thread>

#include "core/shell/app_settings.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

struct BoxStyle {
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

// The flag words of the program's message boxes: icon, buttons and default button.
BoxStyle boxStyle(int flags) {
    using B = QMessageBox;
    switch (flags) {
        case MessageFlags::kError:
            return {B::Critical, B::Ok, B::Ok};
        case MessageFlags::kWarning:
            return {B::Warning, B::Ok, B::Ok};
        case MessageFlags::kInformation:
            return {B::Information, B::Ok, B::Ok};
        case MessageFlags::kOkCancelWarning:
            return {B::Warning, B::Ok | B::Cancel, B::Ok};
        case MessageFlags::kYesNo:
            return {B::Question, B::Yes | B::No, B::Yes};
        case MessageFlags::kYesNoDefaultNo:
            return {B::Question, B::Yes | B::No, B::No};
        case MessageFlags::kYesNoWarningDefaultNo:
            return {B::Warning, B::Yes | B::No, B::No};
        case MessageFlags::kYesNoCancel:
            return {B::Question, B::Yes | B::No | B::Cancel, B::Yes};
        case MessageFlags::kYesNoCancelDefaultCancel:
            return {B::Question, B::Yes | B::No | B::Cancel, B::Cancel};
        default:
            return {B::NoIcon, B::Ok, B::Ok};
    }
}

}  // namespace

QString toQtFilter(std::string_view filter) {
    const QStringList parts = qs(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        // The description already names its patterns. "*.*" means every file, also those
        // without a dot, which only "*" matches outside Windows.
        entries << QString(parts[i]).replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    }
    return entries.join(";;");
}

QWidget* QtPrompter::asker() const {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr && active->isVisible() ? active : owner_.data();
}

Answer QtPrompter::message(std::string_view text, std::string_view caption, int flags) {
    const BoxStyle style = boxStyle(flags);
    // The box belongs to the window that asks (the entry dialog, say), and that window has
    // the keys again once it is answered: its owner, not the main window, goes on typing.
    const QPointer<QWidget> asking = asker();
    QMessageBox box(style.icon, qs(caption), qs(text), style.buttons, asking);
    box.setDefaultButton(style.defaultButton);
    const int answer = box.exec();
    if (asking) {
        asking->activateWindow();
    }
    switch (answer) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return Answer::Ok;
    }
}

std::optional<std::string> QtPrompter::input(std::string_view prompt, std::string_view title,
                                             std::string_view initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(asker(), qs(title), qs(prompt), QLineEdit::Normal, qs(initial), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text.toStdString();
}

std::optional<std::string> QtPrompter::chooseOpenFile(std::string_view title,
                                                      std::string_view filter) {
    const QString name =
        QFileDialog::getOpenFileName(owner_, qs(title), folder_, toQtFilter(filter));
    if (name.isEmpty()) {
        return std::nullopt;
    }
    folder_ = QFileInfo(name).absolutePath();
    return name.toStdString();
}

std::optional<std::string> QtPrompter::chooseSaveFile(std::string_view title,
                                                      std::string_view filter,
                                                      std::string_view defaultExtension) {
    QFileDialog dialog(owner_, qs(title), folder_, toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(qs(defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString name = dialog.selectedFiles().front();
    folder_ = QFileInfo(name).absolutePath();
    return name.toStdString();
}

void QtPrompter::setStatus(std::string_view text) {
    if (status_) {
        status_->setText(qs(text));
        status_->setToolTip(status_->text());
    }
}

std::string QtPrompter::status() const {
    return status_ ? status_->text().toStdString() : "";
}

void QtPrompter::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtPrompter::processEvents() {
    QApplication::processEvents();
}

void QtPrompter::pause(int milliseconds) {
    // A delay that keeps the interface running, as the program's waits always do.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool QtPrompter::runWithProgress(std::string_view label,
                                 const std::function<bool(WorkProgress&)>& work, bool stoppable) {
    WorkProgress progress;
    std::atomic<bool> finished{false};
    bool succeeded = false;
    // Busy until the work says how much there is.
    QProgressDialog dialog(qs(label), "取消", 0, 0, asker());
    if (!stoppable) {
        dialog.setCancelButton(nullptr);
    }
    dialog.setObjectName("进度");
    dialog.setWindowTitle(qs(kApplicationName));
    dialog.setWindowModality(Qt::ApplicationModal);
    // Shown once the work has taken a moment, whatever it has reported by then.
    dialog.setMinimumDuration(1 << 30);
    QTimer::singleShot(300, &dialog, [&] {
        if (!finished) {
            dialog.show();
        }
    });
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    QObject::connect(&dialog, &QProgressDialog::canceled,
                     [&progress, stoppable] { progress.stop = stoppable; });
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (finished) {
            loop.quit();
            return;
        }
        if (dialog.wasCanceled() && stoppable) {
            progress.stop = true;
        }
        const auto total = progress.total.load();
        if (total > 0) {
            dialog.setMaximum(1000);
            dialog.setValue(
                static_cast<int>(std::min<std::int64_t>(999, progress.done.load() * 1000 / total)));
        }
    });
    // The work reads what the window shows and changes nothing; the modal dialog keeps the
    // user from changing it meanwhile.
    std::thread worker([&] {
        succeeded = work(progress);
        finished = true;
    });
    poll.start();
    loop.exec();
    worker.join();
    return succeeded && !progress.stopped();
}

}  // namespace tf::gui
