#include "gui/shell/auto_save_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui/widgets/qt_text.h"

namespace tf::gui {

AutoSaveDialog::AutoSaveDialog(AppSettings& settings, IntervalTimer& timer, QWidget* parent)
    : QDialog(parent), form_(settings), timer_(timer) {
    setObjectName("自动存盘设置窗口");
    setWindowTitle("自动存盘设置");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* options = new QGroupBox("选项", this);
    auto* optionLayout = new QVBoxLayout(options);
    autoSave_ = new QCheckBox("启用自动存盘", options);
    reminder_ = new QCheckBox("启用存盘通知", options);
    optionLayout->addWidget(autoSave_);
    optionLayout->addWidget(reminder_);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(new QLabel("间隔时间：", options));
    interval_ = new QLineEdit(options);
    interval_->setObjectName("间隔时间");
    interval_->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]{0,6}"), interval_));
    interval_->setMaximumWidth(80);
    intervalRow->addWidget(interval_);
    intervalRow->addWidget(new QLabel("分钟", options));
    intervalRow->addStretch(1);
    optionLayout->addLayout(intervalRow);
    layout->addWidget(options);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* confirm = new QPushButton("确定(&O)", this);
    confirm->setObjectName("确定按钮");
    auto* cancel = new QPushButton("取消(&C)", this);
    cancel->setObjectName("取消按钮");
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    form_.open();
    showForm();
    connect(autoSave_, &QCheckBox::clicked, this, [this](bool ticked) {
        form_.tickAutoSave(ticked);
        showForm();
    });
    connect(reminder_, &QCheckBox::clicked, this, [this](bool ticked) {
        form_.tickReminder(ticked);
        showForm();
    });
    connect(interval_, &QLineEdit::textEdited, this, [this](const QString& text) {
        form_.typeInterval(text.toStdString());
        if (qs(form_.interval) != text) {
            showForm();
        }
    });
    connect(confirm, &QPushButton::clicked, this, [this] {
        form_.confirm(timer_);
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AutoSaveDialog::showForm() {
    autoSave_->setChecked(form_.autoSave);
    reminder_->setChecked(form_.reminder);
    interval_->setText(qs(form_.interval));
    interval_->end(false);
}

}  // namespace tf::gui
