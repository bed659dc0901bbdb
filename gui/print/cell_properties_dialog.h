#pragma once

#include <QDialog>

#include "core/print/print_sheet.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tf::gui {

// "单元格属性": the colours, font, alignment and grid-line colour of a range of the sheet,
// shown from its top-left cell and applied to the whole range on 确定.
class CellPropertiesDialog : public QDialog {
    Q_OBJECT
  public:
    CellPropertiesDialog(PrintSheet& sheet, const CellRange& range, QWidget* parent);

  private:
    QPushButton* colourButton(const char* name, Rgb& colour);
    void showColour(QPushButton* button, Rgb colour);

    PrintSheet& sheet_;
    CellRange range_;
    CellProperties properties_;
    QLineEdit* fontName_ = nullptr;
    QLineEdit* fontSize_ = nullptr;
    QRadioButton* aligns_[3] = {};
};

}  // namespace tf::gui
