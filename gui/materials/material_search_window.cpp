#include "gui/materials/material_search_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/materials/material_layout.h"
#include "core/materials/material_replace.h"
#include "core/materials/material_search.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_text.h"

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
    result_ = new QLabel(this);
    result_->setObjectName("查找结果");
    layout->addWidget(result_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* find = new QPushButton("查 找 (&F)", this);
    find->setObjectName("查找按钮");
    find->setDefault(true);
    auto* next = new QPushButton("下一个(&N)", this);
    next->setObjectName("下一个按钮");
    next->setToolTip("Ctrl+G");
    auto* previous = new QPushButton("上一个(&P)", this);
    previous->setObjectName("上一个按钮");
    previous->setToolTip("Ctrl+Shift+G");
    auto* cancel = new QPushButton("取 消 (&C)", this);
    cancel->setObjectName("取消按钮");
    for (QPushButton* button : {find, next, previous, cancel}) {
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    connect(find, &QPushButton::clicked, this, [this] {
        markMaterialMatches(materials_, text_->text().toStdString(), exact_->isChecked());
        // The first match from the cursor's row on, the cursor's own included.
        showPosition(
            goToMarkedMaterial(materials_, view_, std::max(materials_.cursor().row, 1) - 1, true));
    });
    connect(next, &QPushButton::clicked, this, [this] { go(true); });
    connect(previous, &QPushButton::clicked, this, [this] { go(false); });
    for (const auto& [keys, forward] : {std::pair(QKeySequence("Ctrl+G"), true),
                                        std::pair(QKeySequence("Ctrl+Shift+G"), false)}) {
        auto* shortcut = new QShortcut(keys, this);
        // Copied by name: a structured binding cannot be captured by every compiler.
        connect(shortcut, &QShortcut::activated, this, [this, down = forward] { go(down); });
    }
    connect(cancel, &QPushButton::clicked, this, [this] {
        paintMaterialBands(materials_);
        view_.setFocus();
        close();
    });
}

void MaterialSearchWindow::go(bool forward) {
    showPosition(goToMarkedMaterial(materials_, view_, materials_.cursor().row, forward));
}

void MaterialSearchWindow::showPosition(const std::optional<std::string>& position) {
    result_->setText(qs(position.value_or("没有查找到的材料")));
}

std::optional<std::string> goToMarkedMaterial(Grid& materials, GridView& view, int from,
                                              bool forward) {
    const auto row = nextMarkedMaterial(materials, from, forward);
    if (!row) {
        return std::nullopt;
    }
    const int column = std::max(materials.cursor().column, MaterialColumn::kCategory);
    view.refresh();  // rows the view may not know yet
    view.setCurrentIndex(view.gridModel()->index(*row, column));
    view.scrollTo(view.gridModel()->index(*row, column));
    return markedPositionText(materials, *row);
}

}  // namespace tf::gui
