#include "gui/widgets/page_widgets.h"

#include <QLabel>
#include <QToolButton>

namespace tf::gui {

QToolButton* pictureButton(const QString& name, const QString& text, Glyph glyph, const QColor& ink,
                           QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(glyphIcon(glyph, ink));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QLabel* pageCaption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + 5);
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet("color: rgb(30, 70, 130);");
    return label;
}

}  // namespace tf::gui
