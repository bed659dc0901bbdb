#include "gui/print/cell_properties_dialog.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/widgets/qt_text.h"

namespace tf::gui {

CellPropertiesDialog::CellPropertiesDialog(PrintSheet& sheet, const CellRange& range,
                                           QWidget* parent)
    : QDialog(parent), sheet_(sheet), range_(range), properties_(cellProperties(sheet, range)) {
    setObjectName("单元格属性窗口");
    setWindowTitle("单元格属性");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qs(rangeStartLabel(range)), this));
    layout->addWidget(new QLabel(qs(rangeEndLabel(range)), this));

    auto* colours = new QFormLayout;
    colours->addRow("选择区背景色：", colourButton("背景色", properties_.background));
    layout->addLayout(colours);

    auto* fontGroup = new QGroupBox("字体", this);
    auto* fontLayout = new QFormLayout(fontGroup);
    fontName_ = new QLineEdit(qs(properties_.fontName), fontGroup);
    fontName_->setObjectName("字体名称");
    fontSize_ = new QLineEdit(qs(properties_.fontSize), fontGroup);
    fontSize_->setObjectName("字体大小");
    auto* fontButton = new QPushButton("字体…", fontGroup);
    fontButton->setObjectName("字体按钮");
    fontLayout->addRow("名称：", fontName_);
    fontLayout->addRow("大小：", fontSize_);
    fontLayout->addRow("颜色：", colourButton("文字颜色", properties_.foreground));
    fontLayout->addRow(fontButton);
    layout->addWidget(fontGroup);

    auto* alignGroup = new QGroupBox("对齐", this);
    auto* alignLayout = new QHBoxLayout(alignGroup);
    const char* captions[] = {"左对齐", "居中", "右对齐"};
    for (int i = 0; i < 3; ++i) {
        aligns_[i] = new QRadioButton(captions[i], alignGroup);
        aligns_[i]->setObjectName(captions[i]);
        alignLayout->addWidget(aligns_[i]);
    }
    aligns_[static_cast<int>(properties_.align) - 1]->setChecked(true);
    layout->addWidget(alignGroup);

    auto* lineGroup = new QGroupBox("表格线颜色", this);
    auto* lineLayout = new QHBoxLayout(lineGroup);
    lineLayout->addWidget(colourButton("表格线颜色", properties_.gridLine));
    lineLayout->addStretch(1);
    layout->addWidget(lineGroup);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* confirm = new QPushButton("确 定(&O)", this);
    confirm->setObjectName("确定按钮");
    confirm->setDefault(true);
    auto* cancel = new QPushButton("取 消(&C)", this);
    cancel->setObjectName("取消按钮");
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(fontButton, &QPushButton::clicked, this, [this] {
        QFont current(fontName_->text());
        current.setPointSize(std::max(1, fontSize_->text().toInt()));
        bool chosen = false;
        const QFont font = QFontDialog::getFont(&chosen, current, this, "字体");
        if (chosen) {
            fontName_->setText(font.family());
            fontSize_->setText(QString::number(font.pointSize()));
        }
    });
    connect(confirm, &QPushButton::clicked, this, [this] {
        properties_.fontName = fontName_->text().toStdString();
        properties_.fontSize = fontSize_->text().toStdString();
        for (int i = 0; i < 3; ++i) {
            if (aligns_[i]->isChecked()) {
                properties_.align = static_cast<Align>(i + 1);
            }
        }
        applyCellProperties(sheet_, range_, properties_);
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QPushButton* CellPropertiesDialog::colourButton(const char* name, Rgb& colour) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setFixedSize(56, 22);
    showColour(button, colour);
    connect(button, &QPushButton::clicked, this, [this, button, &colour] {
        const QColor chosen =
            QColorDialog::getColor(QColor(colour.red, colour.green, colour.blue), this);
        if (chosen.isValid()) {
            colour = {static_cast<std::uint8_t>(chosen.red()),
                      static_cast<std::uint8_t>(chosen.green()),
                      static_cast<std::uint8_t>(chosen.blue())};
            showColour(button, colour);
        }
    });
    return button;
}

void CellPropertiesDialog::showColour(QPushButton* button, Rgb colour) {
    button->setStyleSheet(QStringLiteral("background-color: rgb(%1, %2, %3);")
                              .arg(colour.red)
                              .arg(colour.green)
                              .arg(colour.blue));
}

}  // namespace tf::gui
