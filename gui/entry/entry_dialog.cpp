#include "gui/entry/entry_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/entry/entry_ticks.h"
#include "core/shell/commands.h"
#include "core/structure/codes.h"
#include "gui/entry/work_item_finder.h"
#include "gui/widgets/division_tree_items.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/pickers.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/undo_keys.h"

namespace tf::gui {
namespace {

using namespace EntryColumn;

}  // namespace

EntryDialog::EntryDialog(ProjectDocument& document, Prompter& prompter, AppSettings& settings,
                         QWidget* parent)
    : QDialog(parent),
      document_(document),
      prompter_(prompter),
      settings_(settings),
      form_(document, prompter) {
    setObjectName("数据录入");
    setModal(false);
    resize(900, 560);
    auto* layout = new QVBoxLayout(this);
    heading_ = new QLabel(qs(form_.heading()), this);
    heading_->setObjectName("录入标题");
    QFont font = heading_->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 2);
    heading_->setFont(font);
    layout->addWidget(heading_);

    auto* boxes = new QHBoxLayout;
    const auto box = [&](const char* title, QLineEdit*& edit) {
        boxes->addWidget(new QLabel(title, this));
        edit = new QLineEdit(this);
        edit->setObjectName(title);
        boxes->addWidget(edit, 1);
    };
    box("部位名称", location_);
    box("图纸索引", drawing_);
    box("结构尺寸", structureSize_);
    auto* attach = new QToolButton(this);
    attach->setObjectName("附加资料按钮");
    attach->setText("附");
    attach->setToolTip("为部位附加资料");
    boxes->addWidget(attach);
    connect(attach, &QToolButton::clicked, this, &EntryDialog::attachmentsWanted);
    layout->addLayout(boxes);
    connect(location_, &QLineEdit::returnPressed, drawing_, qOverload<>(&QWidget::setFocus));
    connect(drawing_, &QLineEdit::returnPressed, structureSize_, qOverload<>(&QWidget::setFocus));
    connect(structureSize_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString shown = qs(withTimesSigns(text.toStdString()));
        if (shown != text) {
            structureSize_->setText(shown);
            structureSize_->end(false);
        }
    });
    connect(structureSize_, &QLineEdit::returnPressed, this, [this] { grid_->setFocus(); });

    grid_ = new GridView(this);
    grid_->setObjectName("录入表");
    grid_->setGrid(form_.grid());
    grid_->letUserResizeColumns(std::make_unique<ColumnWidthMemory>(settings_, "录入表"));
    grid_->setBeginEditHook([](int, int column) { return EntryForm::isTypeable(column); });
    grid_->setKeyHook([this](QKeyEvent* event) { return handleKey(event); });
    connect(grid_->gridModel(), &GridModel::cellEdited, this, [this](int row, int column) {
        form_.autoCalculate = autoCalculate_->isChecked();
        form_.commitEdit(row, column);
        gridHistory_.cut();
    });
    connect(grid_, &GridView::typedOnCell, this, [this](const QString& text) {
        const CellPos cursor = form_.grid().cursor();
        if (cursor.column == kCode && cursor.row >= 1) {
            openWorkItemFinder(cursor.row, text);
        }
    });
    connect(grid_, &GridView::editSubmitted, this, [this](int row, int column) {
        if (column == kItemSize) {
            // Sized: the work item of this row next, or the next item once it has one.
            moveTo(form_.grid().text(row, kCode).empty() ? CellPos{row, kCode}
                                                         : CellPos{nextFreeRow(row), kCode});
        }
    });
    connect(grid_, &GridView::cellDoubleClicked, this, [this](int row, int column, auto) {
        if (column == kCode) {
            openWorkItemPicker(row);
        } else if (column == kMaterialName) {
            openMaterialPicker(row);
        }
    });
    connect(grid_, &GridView::cellPressed, this,
            [this](int row, int, Qt::MouseButton button, QPoint global) {
                if (button == Qt::RightButton) {
                    popupMenu(global, row);
                }
            });
    layout->addWidget(grid_, 1);

    autoCalculate_ = new QCheckBox("由分项尺寸直接计算出工程量并自动填写。", this);
    useProcess_ = new QCheckBox("使用分项工艺。", this);
    autoCalculate_->setObjectName("自动计算");
    useProcess_->setObjectName("使用分项工艺");
    const EntryTicks ticks = keptEntryTicks(settings_);
    autoCalculate_->setChecked(ticks.autoCalculate);
    useProcess_->setChecked(ticks.useProcess);
    for (QCheckBox* tick : {autoCalculate_, useProcess_}) {
        connect(tick, &QCheckBox::toggled, this, [this] {
            keepEntryTicks(settings_, {autoCalculate_->isChecked(), useProcess_->isChecked()});
        });
    }
    auto* options = new QHBoxLayout;
    options->addWidget(autoCalculate_);
    options->addWidget(useProcess_);
    options->addStretch(1);
    confirm_ = new QPushButton("确认录入(&O)", this);
    confirm_->setObjectName("确认按钮");
    auto* clear = new QPushButton("清空(&E)", this);
    auto* cancel = new QPushButton("取消(&C)", this);
    clear->setObjectName("清空按钮");
    cancel->setObjectName("取消按钮");
    for (QPushButton* button : {confirm_, clear, cancel}) {
        button->setAutoDefault(false);
        options->addWidget(button);
    }
    layout->addLayout(options);
    connect(confirm_, &QPushButton::clicked, this, &EntryDialog::confirm);
    connect(clear, &QPushButton::clicked, this, &EntryDialog::clearForm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

void EntryDialog::showForm() {
    location_->setText(qs(form_.location));
    drawing_->setText(qs(form_.drawing));
    structureSize_->setText(qs(form_.structureSize));
    setWindowTitle(qs(form_.caption()));
    heading_->setText(qs(form_.heading()));
    confirm_->setText(qs(form_.confirmCaption()));
    grid_->refresh();
    // Fresh rows start where the first size is typed, as on opening; Enter in 结构尺寸 goes
    // there.
    if (!form_.modifiedLocation()) {
        grid_->setCurrentIndex(grid_->gridModel()->index(1, kItemSize));
    }
    gridHistory_.clear();  // another location, or none
}

void EntryDialog::readBoxes() {
    form_.location = location_->text().toStdString();
    form_.drawing = drawing_->text().toStdString();
    form_.structureSize = structureSize_->text().toStdString();
    form_.autoCalculate = autoCalculate_->isChecked();
}

void EntryDialog::openForAdd() {
    form_.open();
    showForm();
    show();
    raise();
    activateWindow();  // the keys go here at once, with or without a window manager
    location_->setFocus();
    emit formLoaded();
}

void EntryDialog::openForInsert(int k) {
    form_.beginInsert(k);
    showForm();
    show();
    raise();
    activateWindow();  // the keys go here at once, with or without a window manager
    location_->setFocus();
    emit formLoaded();
}

void EntryDialog::openForModify(int k) {
    form_.beginModify(k);
    showForm();
    show();
    raise();
    activateWindow();  // the keys go here at once, with or without a window manager
    emit formLoaded();
}

void EntryDialog::clearForm() {
    form_.clear();
    showForm();
    location_->setFocus();
    emit cleared();
    emit formLoaded();
}

void EntryDialog::confirm() {
    readBoxes();
    if (form_.location.find_first_not_of(' ') == std::string::npos) {
        location_->setFocus();
    }
    bool confirmed = false;
    scope_(form_.modifiedLocation()  ? StepName::kModify
           : form_.insertingBefore() ? StepName::kInsert
                                     : StepName::kEntry,
           false, [&] { confirmed = form_.confirm([this] { emit wantAnalysisPage(); }); });
    if (confirmed) {
        emit written();
        showForm();
        location_->setFocus();
        emit formLoaded();
    }
}

QPoint EntryDialog::belowCell(int row, int column) {
    const QRect cell = grid_->visualRect(grid_->gridModel()->index(row, column));
    return grid_->viewport()->mapToGlobal(cell.bottomLeft());
}

void EntryDialog::openWorkItemPicker(int row) {
    QTreeWidget* tree = popupTree(this, belowCell(row, kCode), "分项选择");
    const DivisionTree& nodes = form_.workingStructure().tree;
    const std::string current(form_.grid().text(row, kCode));
    const auto items = addDivisionNodes(*tree, nodes);
    std::size_t picked = 0;
    while (picked < nodes.size() && (current.empty() || !isWorkItem(nodes, picked) ||
                                     itemCodeOfNode(nodes, picked) != current)) {
        ++picked;
    }
    if (picked >= nodes.size() && current.empty() && lastPicked_ < nodes.size()) {
        picked = lastPicked_;  // an empty row opens on the item picked last
    }
    if (picked < nodes.size()) {
        revealItem(*tree, items[picked]);
    } else {
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            tree->topLevelItem(i)->setExpanded(true);  // the sub-divisions at a glance
        }
    }
    connect(tree, &QTreeWidget::itemActivated, this, [this, tree, row](QTreeWidgetItem* item) {
        const auto node = static_cast<std::size_t>(item->data(0, Qt::UserRole).toULongLong());
        if (!isWorkItem(form_.workingStructure().tree, node)) {
            return;  // a grouping node picks nothing
        }
        tree->close();
        pickWorkItem(row, node);
    });
    tree->show();
}

void EntryDialog::openWorkItemFinder(int row, const QString& typed) {
    auto* finder = new WorkItemFinder(form_.workingStructure().tree, this);
    connect(finder, &WorkItemFinder::chosen, this,
            [this, row](std::size_t node) { pickWorkItem(row, node); });
    finder->start(typed, belowCell(row, kCode));
}

void EntryDialog::pickWorkItem(int row, std::size_t node) {
    const bool sized = !form_.grid().text(row, kItemSize).empty();
    form_.useProcess = useProcess_->isChecked();
    form_.pickWorkItem(row, node);
    lastPicked_ = node;
    gridHistory_.cut();
    grid_->refresh();
    // Picked: its size next, or the next item once it has one.
    moveTo(sized ? CellPos{nextFreeRow(row), kItemSize} : CellPos{row, kItemSize});
    activateWindow();  // the keys come back here after the pick's notice
    grid_->setFocus();
}

int EntryDialog::nextFreeRow(int row) {
    const Grid& g = form_.grid();
    const std::string code(g.text(row, kCode));
    int next = row + 1;
    while (next < g.rowCount() && !code.empty() && g.text(next, kCode) == code) {
        ++next;  // the rows the item's process filled
    }
    while (next < g.rowCount() &&
           !(g.text(next, kCode).empty() && g.text(next, kItemSize).empty())) {
        ++next;
    }
    if (next >= g.rowCount()) {
        form_.addRow(g.rowCount() - 1);
        gridHistory_.cut();
        next = g.rowCount() - 1;
    }
    return next;
}

void EntryDialog::moveTo(CellPos cell) {
    grid_->refresh();
    grid_->setCurrentIndex(grid_->gridModel()->index(cell.row, cell.column));
}

void EntryDialog::openMaterialPicker(int row) {
    gui::openMaterialPicker(this, belowCell(row, kMaterialName), document_.catalogue,
                            form_.grid().text(row, kMaterialName), [this, row](std::int32_t id) {
                                form_.pickMaterial(row, id);
                                gridHistory_.cut();
                            });
}

bool EntryDialog::handleKey(QKeyEvent* event) {
    const CellPos cursor = form_.grid().cursor();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    if (const auto redo = undoKeyOf(event)) {
        if (*redo ? gridHistory_.redo() : gridHistory_.undo()) {
            grid_->refresh();
        }
        return true;
    }
    gridHistory_.cut();  // each key's change a step of its own
    if (event->matches(QKeySequence::Paste)) {
        pasteBlock();
        return true;
    }
    if (event->key() == Qt::Key_Space && cursor.row >= 1) {
        if (cursor.column == kCode) {
            openWorkItemPicker(cursor.row);
            return true;
        }
        if (cursor.column == kMaterialName) {
            openMaterialPicker(cursor.row);
            return true;
        }
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->key() == Qt::Key_Insert ||
        (enter && cursor.column == kNote && cursor.row == form_.grid().rowCount() - 1)) {
        form_.addRow(std::max(cursor.row, 0));
        if (enter) {  // on to the new row, where the next work item is picked
            grid_->refresh();
            grid_->setCurrentIndex(grid_->gridModel()->index(cursor.row + 1, kCode));
        }
        return true;
    }
    if (event->key() == Qt::Key_Delete && ctrl && cursor.row >= 1) {
        form_.deleteRow(cursor.row);
        return true;
    }
    return false;
}

void EntryDialog::pasteBlock() {
    const auto block = parseCellBlock(QApplication::clipboard()->text().toStdString());
    if (!block) {
        prompter_.message(kBlockTooLarge, Captions::kWarning, MessageFlags::kWarning);
        return;
    }
    form_.autoCalculate = autoCalculate_->isChecked();
    const PasteReport report = form_.paste(form_.grid().cursor(), *block);
    gridHistory_.cut();  // the whole block is one step
    grid_->refresh();
    report.tell(prompter_);
}

void EntryDialog::popupMenu(const QPoint& globalPos, int row) {
    QMenu menu(this);
    menu.setObjectName("录入");
    const bool onRow = row >= 1;
    for (const MenuItem& item : menuItems(Menu::Entry)) {
        QAction* action = menu.addAction(qs(item.caption));
        action->setEnabled(item.command == Command::EntryAddRow || onRow);
        const Command command = item.command;
        connect(action, &QAction::triggered, this, [this, command, row] {
            switch (command) {
                case Command::EntryAddRow:
                    form_.addRow(std::max(row, 0));
                    break;
                case Command::EntryDeleteRow:
                    form_.deleteRow(row);
                    break;
                case Command::ShowUnitUsage:
                    form_.showUnitUsage(row);
                    break;
                default:
                    form_.setUnitUsage(row);
                    break;
            }
        });
    }
    menu.exec(globalPos);
    gridHistory_.cut();
}

}  // namespace tf::gui
