#include "gui/structure/structure_editor_window.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/base/number_text.h"
#include "core/materials/material_layout.h"
#include "core/structure/link_table.h"
#include "gui/widgets/division_tree_items.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/pickers.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

using namespace LinkColumn;

constexpr const char* kHelpText =
    "\r\n    说明：\r\n\r\n    "
    "分部分项号：请严格参照国家相关规定，自定义分项号时不能为空，同一分部下的子分部号"
    "不能重复，同一子分部下的分项号不能重复。\r\n\r\n    "
    "此处规则举例“01-5”表示该项为子分项，01代表子"
    "分部号(地面)，5代表子分项号(三合土垫层)。中间有“整体面层/基层”代号为0。\r\n\r\n    "
    "分项包工单价："
    "施工现场合同人工单价(系统默认为1.00元)\r\n\r\n    机械使用费： (系统默认为0.00元)\r\n\r\n    "
    "管理费"
    "： (系统默认为0.00元)\r\n";

// Focus colours: the name and code boxes, and the price boxes while enabled.
const QString kNameFocused = "background: rgb(255, 200, 255);";
const QString kNameLeft = "background: rgb(248, 232, 201);";
const QString kPriceFocused = "background: rgb(197, 227, 168);";
const QString kPriceLeft = "background: rgb(236, 236, 236);";

constexpr int kMaterialLinksWidth = 726;

}  // namespace

StructureEditorWindow::StructureEditorWindow(ProjectDocument& document, Prompter& prompter,
                                             GridView& materialView, QWidget* parent)
    : QDialog(parent),
      editor_(document, prompter),
      prompter_(prompter),
      catalogue_(document.catalogue),
      materialView_(materialView) {
    setObjectName("编辑分部分项结构");
    setWindowTitle("编辑分部分项结构");
    setModal(true);
    resize(900, 620);

    tree_ = new QTreeWidget;
    tree_->setObjectName("分部分项树");
    tree_->setHeaderHidden(true);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!filling_ && item != nullptr) {
            editor_.select(item->data(0, Qt::UserRole).toULongLong());
            showNode();
        }
    });
    connect(tree_, &QTreeWidget::itemActivated, this, &StructureEditorWindow::activate);

    pages_ = new QStackedWidget;
    pages_->setObjectName("页面");
    pages_->addWidget(buildItemPage());
    pages_->addWidget(buildLinksPage());

    auto* splitter = new QSplitter;
    splitter->addWidget(tree_);
    splitter->addWidget(pages_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 600});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(buildCodePanel());
    layout->addWidget(buildButtons());

    fillTree();
    showNode();
}

QWidget* StructureEditorWindow::buildItemPage() {
    auto* page = new QWidget;
    page->setObjectName("项目页");
    auto* form = new QGridLayout(page);
    const auto box = [&](int row, const char* caption) {
        auto* edit = new QLineEdit(page);
        edit->setObjectName(caption);
        edit->installEventFilter(this);
        form->addWidget(new QLabel(caption, page), row, 0);
        form->addWidget(edit, row, 1);
        return edit;
    };
    name_ = box(0, "名称");
    code_ = box(1, "分部分项号");
    code_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9-]*"), code_));
    const char* priceCaptions[] = {"分项包工单价", "机械使用费", "管理费"};
    for (int i = 0; i < 3; ++i) {
        prices_[i] = box(2 + i, priceCaptions[i]);
    }
    auto* help = new QPlainTextEdit(qs(kHelpText), page);
    help->setObjectName("说明");
    help->setReadOnly(true);
    form->addWidget(help, 5, 0, 1, 2);
    form->setRowStretch(5, 1);

    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
        editor_.editName(text.toStdString());
        if (QTreeWidgetItem* item = tree_->currentItem()) {
            item->setText(0, text);
        }
        showNode();
    });
    connect(code_, &QLineEdit::textEdited, this, [this](const QString& text) {
        editor_.editCode(text.toStdString());
        showNode();
    });
    connect(code_, &QLineEdit::editingFinished, this, [this] {
        editor_.finishCode();
        showNode();
    });
    const StructureEditor::Price which[] = {StructureEditor::Price::Labour,
                                            StructureEditor::Price::Machinery,
                                            StructureEditor::Price::Management};
    for (int i = 0; i < 3; ++i) {
        const auto price = which[i];
        connect(prices_[i], &QLineEdit::textEdited, this, [this, price](const QString& text) {
            editor_.editPrice(price, text.toStdString());
        });
    }
    return page;
}

QWidget* StructureEditorWindow::buildLinksPage() {
    auto* page = new QWidget;
    page->setObjectName("关联页");
    auto* layout = new QVBoxLayout(page);
    processTabs_ = new QTabWidget(page);
    processTabs_->setObjectName("工艺");
    currentGrid_ = new GridView;
    currentGrid_->setObjectName("当前工艺表");
    currentGrid_->setGrid(editor_.currentProcess());
    currentGrid_->setBeginEditHook(
        [](int, int column) { return column != kNumber && column != kMaterialId; });
    currentGrid_->setKeyHook([this](QKeyEvent* event) { return handleLinkKey(event); });
    connect(currentGrid_->gridModel(), &GridModel::cellEdited, this,
            [this](int row, int column) { editor_.linkCellEdited(row, column); });
    connect(currentGrid_, &GridView::cursorMoved, this,
            [this](int row, int) { followLinkedMaterial(row); });
    connect(currentGrid_, &GridView::cellPressed, this,
            [this](int row, int, Qt::MouseButton button, QPoint global) {
                if (button != Qt::RightButton || row < 1) {
                    return;
                }
                if (QApplication::keyboardModifiers().testFlag(Qt::ControlModifier)) {
                    startPick(row);
                } else {
                    linkPopup(row, global);
                }
            });
    connect(currentGrid_, &GridView::cellReleased, this,
            [this](int, int, Qt::MouseButton button, QPoint global) {
                if (picking_ && button == Qt::RightButton) {
                    endPick(global);
                }
            });
    defaultGrid_ = new GridView;
    defaultGrid_->setObjectName("默认工艺表");
    defaultGrid_->setGrid(editor_.defaultProcess());
    defaultGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    defaultGrid_->setBeginEditHook([](int, int) { return false; });
    processTabs_->addTab(currentGrid_, "该分项当前工艺");
    processTabs_->addTab(defaultGrid_, "该分项默认工艺");
    layout->addWidget(processTabs_, 1);

    auto* row = new QHBoxLayout;
    applyDefault_ = new QPushButton("←─应用默认工艺", page);
    applyDefault_->setObjectName("应用默认工艺");
    saveDefault_ = new QPushButton("设置为默认工艺─→", page);
    saveDefault_->setObjectName("设置为默认工艺");
    auto* usage = new QLabel("(单位用量：1个计算单位下材料使用数量)", page);
    usage->setObjectName("单位用量标签");
    row->addWidget(applyDefault_);
    row->addWidget(saveDefault_);
    row->addStretch(1);
    row->addWidget(usage);
    layout->addLayout(row);
    connect(applyDefault_, &QPushButton::clicked, this, [this] {
        if (editor_.applyDefaultProcess()) {
            processTabs_->setCurrentIndex(0);
        }
    });
    connect(saveDefault_, &QPushButton::clicked, this, [this] {
        if (editor_.saveDefaultProcess()) {
            processTabs_->setCurrentIndex(1);
        }
    });
    return page;
}

QWidget* StructureEditorWindow::buildCodePanel() {
    auto* panel = new QWidget;
    panel->setObjectName("代号面板");
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    const char* captions[] = {"分部工程：", "子分部工程：", "分项工程：", "编号："};
    const char* names[] = {"分部工程", "子分部工程", "分项工程", "编号"};
    for (int i = 0; i < 4; ++i) {
        layout->addWidget(new QLabel(captions[i], panel));
        panelBoxes_[i] = new QLineEdit(panel);
        panelBoxes_[i]->setObjectName(names[i]);
        panelBoxes_[i]->setReadOnly(true);
        panelBoxes_[i]->setMinimumWidth(60);
        layout->addWidget(panelBoxes_[i], i == 3 ? 1 : 2);
    }
    panelLabel_ = new QLabel(panel);
    panelLabel_->setObjectName("代号标签");
    layout->addWidget(panelLabel_, 1);
    return panel;
}

QWidget* StructureEditorWindow::buildButtons() {
    // Two rows, so that the window also fits the 726 pixels of "材料关联".
    auto* bar = new QWidget;
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* nodes = new QHBoxLayout;
    auto* files = new QHBoxLayout;
    rows->addLayout(nodes);
    rows->addLayout(files);
    QHBoxLayout* layout = nodes;
    const auto button = [&](const char* caption, const char* name, auto action) {
        auto* b = new QPushButton(caption, bar);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        layout->addWidget(b);
    };
    button("加项目(&A)", "加项目", [this] {
        editor_.addSibling();
        structureChanged(true);
    });
    button("加子项(&F)", "加子项", [this] {
        editor_.addChild();
        structureChanged(true);
    });
    button("插入项目(&I)", "插入项目", [this] {
        editor_.insertBefore();
        structureChanged(true);
    });
    button("删除项目(&D)", "删除项目", [this] {
        if (editor_.deleteCurrent()) {
            structureChanged(false);
        }
    });
    button("系统默认结构", "系统默认结构", [this] {
        showLinksPage(false);
        if (editor_.resetToDefault()) {
            structureChanged(false);
        }
    });
    nodes->addStretch(1);
    layout = files;
    button("导入结构", "导入结构", [this] {
        if (editor_.importFile()) {
            structureChanged(false);
        }
    });
    button("导出结构", "导出结构", [this] { editor_.exportFile(); });
    layout->addStretch(1);
    button("确 定(&O)", "确定", [this] {
        bool committedNow = false;
        scope_(StepName::kStructure, false, [&] { committedNow = editor_.commit(); });
        if (committedNow) {
            emit committed();
            accept();
        }
    });
    button("取 消(&C)", "取消", [this] { reject(); });
    return bar;
}

void StructureEditorWindow::fillTree() {
    filling_ = true;
    tree_->clear();
    const DivisionTree& nodes = editor_.structure().tree;
    const auto items = addDivisionNodes(*tree_, nodes);
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        tree_->topLevelItem(i)->setExpanded(true);
    }
    if (const auto current = editor_.current(); current && *current < items.size()) {
        revealItem(*tree_, items[*current]);
    }
    filling_ = false;
}

void StructureEditorWindow::structureChanged(bool focusName) {
    fillTree();
    showNode();
    if (focusName) {
        showLinksPage(false);
        name_->setFocus();
    }
}

void StructureEditorWindow::showNode() {
    name_->setText(qs(editor_.name));
    code_->setText(qs(editor_.code));
    const std::string* prices[] = {&editor_.labourPrice, &editor_.machinery, &editor_.management};
    for (int i = 0; i < 3; ++i) {
        prices_[i]->setText(qs(*prices[i]));
        prices_[i]->setEnabled(editor_.pricesEnabled);
        prices_[i]->setStyleSheet(editor_.pricesEnabled ? kPriceLeft : QString());
    }
    const CodePanel& panel = editor_.panel;
    const std::string* texts[] = {&panel.division, &panel.subdivision, &panel.item, &panel.code};
    for (int i = 0; i < 4; ++i) {
        panelBoxes_[i]->setText(qs(*texts[i]));
    }
    panelLabel_->setText(qs(panel.label));
    const bool links = editor_.owner().has_value();
    currentGrid_->setEnabled(links);
    applyDefault_->setEnabled(links);
    saveDefault_->setEnabled(links);
}

void StructureEditorWindow::activate(QTreeWidgetItem* item) {
    if (!editor_.activate(item->data(0, Qt::UserRole).toULongLong())) {
        showNode();  // a grouping node: the link controls are off
        return;
    }
    showNode();
    if (linksPageShown()) {
        showLinksPage(false);
    } else {
        emit wantMaterialPage();
        showLinksPage(true);
    }
}

void StructureEditorWindow::showLinksPage(bool shown) {
    pages_->setCurrentIndex(shown ? 1 : 0);
    if (shown) {
        resize(std::max(width(), kMaterialLinksWidth), height());
    }
}

bool StructureEditorWindow::linksPageShown() const {
    return pages_->currentIndex() == 1;
}

bool StructureEditorWindow::handleLinkKey(QKeyEvent* event) {
    const CellPos cursor = editor_.currentProcess().cursor();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
        case Qt::Key_Control:
            if (picking_) {
                endPick(QCursor::pos());
                return true;
            }
            return false;
        case Qt::Key_Insert:
            editor_.appendLinkRow();
            return true;
        case Qt::Key_Delete:
            if (ctrl) {
                editor_.deleteLinkRow(cursor.row);
            } else {
                editor_.deleteInLinkCell(cursor.row, cursor.column);
            }
            return true;
        default:
            return false;
    }
}

void StructureEditorWindow::linkPopup(int row, const QPoint& globalPos) {
    auto* menu = new QMenu(this);
    menu->setObjectName("关联");
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu->addAction("添加一行"), &QAction::triggered, this,
            [this] { editor_.appendLinkRow(); });
    connect(menu->addAction("删除一行   Ctrl+Del"), &QAction::triggered, this,
            [this, row] { editor_.deleteLinkRow(row); });
    menu->addSeparator();
    menu->addAction("关联材料   Ctrl+右键")->setEnabled(false);
    connect(menu->addAction("选择材料…"), &QAction::triggered, this, [this, row] {
        const QRect cell = currentGrid_->visualRect(currentGrid_->gridModel()->index(row, kName));
        openMaterialPicker(this, currentGrid_->viewport()->mapToGlobal(cell.bottomLeft()),
                           catalogue_, editor_.currentProcess().text(row, kName),
                           [this, row](std::int32_t id) { editor_.linkMaterial(row, id); });
    });
    menu->popup(globalPos);
}

void StructureEditorWindow::followLinkedMaterial(int row) {
    if (const auto materialRow = editor_.materialRowOfLink(row)) {
        materialView_.selectRowCells(*materialRow, MaterialColumn::kCategory,
                                     materialView_.grid().columnCount() - 1);
    }
}

void StructureEditorWindow::startPick(int row) {
    if (!editor_.owner() || picking_) {
        return;
    }
    currentGrid_->setCurrentIndex(currentGrid_->gridModel()->index(row, kName));
    picking_ = true;
    pickRow_ = row;
    currentGrid_->viewport()->setCursor(Qt::DragLinkCursor);
    for (const int opacity : pickFadeOpacities()) {
        setWindowOpacity(opacity / 255.0);
        prompter_.pause(1);
    }
    currentGrid_->viewport()->grabMouse();
    currentGrid_->grabKeyboard();  // a Ctrl press anywhere ends the pick
}

std::optional<int> StructureEditorWindow::materialRowAt(const QPoint& globalPos) const {
    QWidget* viewport = materialView_.viewport();
    const QPoint local = viewport->mapFromGlobal(globalPos);
    if (!materialView_.isVisible() || !viewport->rect().contains(local)) {
        return std::nullopt;
    }
    // The table's headings sit in their own pane; its data rows scroll under the viewport.
    const Grid& g = materialView_.grid();
    const int contentY = local.y() + materialView_.verticalHeader()->offset();
    return gridRowAt(contentY, g.fixedRows(), g.rowHeight(), g.rowCount());
}

void StructureEditorWindow::endPick(const QPoint& globalPos) {
    if (!picking_) {
        return;
    }
    currentGrid_->viewport()->releaseMouse();
    currentGrid_->releaseKeyboard();
    currentGrid_->viewport()->unsetCursor();
    setWindowOpacity(1.0);
    picking_ = false;
    const auto row = materialRowAt(globalPos);
    const Grid& materials = materialView_.grid();
    if (row && !materials.text(*row, MaterialColumn::kName).empty()) {
        const auto id =
            static_cast<std::int32_t>(parseNumber(materials.text(*row, MaterialColumn::kId)));
        editor_.linkMaterial(pickRow_, id);
    }
    currentGrid_->setCurrentIndex(currentGrid_->gridModel()->index(pickRow_, kName));
}

bool StructureEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        auto* box = qobject_cast<QLineEdit*>(watched);
        const bool focused = event->type() == QEvent::FocusIn;
        if (box == name_ || box == code_) {
            box->setStyleSheet(focused ? kNameFocused : kNameLeft);
        } else if (box != nullptr && box->isEnabled()) {
            box->setStyleSheet(focused ? kPriceFocused : kPriceLeft);
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tf::gui
