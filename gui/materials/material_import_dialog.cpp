#include "gui/materials/material_import_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tf::gui {

MaterialImportDialog::MaterialImportDialog(const QString& path,
                                           std::function<void(bool replace)> run, QWidget* parent)
    : QDialog(parent), run_(std::move(run)) {
    setObjectName("导入数据窗口");
    setWindowTitle("导入数据");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("要导入的数据：", this));
    auto* pathBox = new QLineEdit(path, this);
    pathBox->setObjectName("导入文件");
    pathBox->setReadOnly(true);
    pathBox->setMinimumWidth(420);
    layout->addWidget(pathBox);
    replace_ = new QRadioButton("覆盖模式 (当前已有数据会被完全清除，使用新的数据)", this);
    replace_->setObjectName("覆盖模式");
    replace_->setChecked(true);
    append_ = new QRadioButton("添加模式 (添加到当前已有数据的尾部，成为原数据的一部分)", this);
    append_->setObjectName("添加模式");
    layout->addWidget(replace_);
    layout->addWidget(append_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    confirm_ = new QPushButton("确 定(&O)", this);
    confirm_->setObjectName("确定按钮");
    confirm_->setDefault(true);
    cancel_ = new QPushButton("取 消(&C)", this);
    cancel_->setObjectName("取消按钮");
    buttons->addWidget(confirm_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);

    connect(confirm_, &QPushButton::clicked, this, [this] {
        for (QWidget* control : {static_cast<QWidget*>(replace_), static_cast<QWidget*>(append_),
                                 static_cast<QWidget*>(confirm_), static_cast<QWidget*>(cancel_)}) {
            control->setEnabled(false);
        }
        run_(replace_->isChecked());
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace tf::gui
