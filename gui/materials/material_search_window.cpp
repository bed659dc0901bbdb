#include "gui/materials/material_search_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/materials/material_layout.h"
#include "core/materials/material_replace.h"
#include "gui/widgets/grid_view.h"

namespace tf::gui {

MaterialSearchWindow::MaterialSearchWindow(Grid& materials, GridView& view, QWidget* parent)
    : QDialog(parent), materials_(materials), view_(view) {
    setObjectName("查找窗口");
    setWindowTitle("查找");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(new QLabel("材料名称：", this));
    text_ = new QLineEdit(this);
    text_->setObjectName("查找文本");
    text_->setMinimumWidth(200);
    textRow->addWidget(text_);
    layout->addLayout(textRow);
    exact_ = new QCheckBox("精确匹配", this);
    exact_->setObjectName("精确匹配");
    layout->addWidget(exact_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* find = new QPushButton("查 找 (&F)", this);
    find->setObjectName("查找按钮");
    find->setDefault(true);
    auto* cancel = new QPushButton("取 消 (&C)", this);
    cancel->setObjectName("取消按钮");
    buttons->addWidget(find);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(find, &QPushButton::clicked, this, [this] {
        markMaterialMatches(materials_, text_->text().toStdString(), exact_->isChecked());
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        paintMaterialBands(materials_);
        view_.setFocus();
        close();
    });
}

}  // namespace tf::gui
