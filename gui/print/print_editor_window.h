#pragma once

#include <QDialog>

#include "core/base/prompter.h"
#include "core/print/page_setup.h"
#include "core/print/print_sheet.h"
#include "core/undo/grid_history.h"

class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QPageLayout;
class QPrinter;
class QPushButton;

namespace tf::gui {

class GridView;

// "打印": the sheet in `高级表格1`, the title controls, and the buttons that print, preview,
// write a PDF, save and load print files. Paper, preview and PDF print on the page the
// user last set for the table. Every change to the sheet is a core operation;
// the window forwards clicks and shows the result.
class PrintEditorWindow : public QDialog {
    Q_OBJECT
  public:
    PrintEditorWindow(PrintSheet sheet, Prompter& prompter, AppSettings& settings, QWidget* parent);
    ~PrintEditorWindow() override;

    PrintSheet& sheet() { return sheet_; }
    GridView& view() { return *view_; }
    // The editing menu where it would open at `globalPos`; null when the cursor's column is
    // hidden. The caller owns it.
    QMenu* editingMenu(QWidget* parent);
    // "PDF": asks for a file and writes the sheet as a PDF document.
    void exportPdf();
    void exportExcel();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildButtons(QHBoxLayout* strip);
    void showTitleBoxes();
    void chooseTitleFont();
    // The print dialog over `over`, then every page with a progress dialog that can stop it.
    void print(QWidget* over);
    void preview();
    void preparePrinter(QPrinter& printer) const;
    // The page the user set in a print or page-setup dialog, kept for the session and the
    // table.
    void keepPage(const QPageLayout& layout);
    void openCellProperties();

    PrintSheet sheet_;
    // Its own, gone with the editor; hidden columns are part of its steps.
    GridHistory<std::vector<HiddenColumn>> history_{sheet_.grid, &sheet_.hidden};
    Prompter& prompter_;
    AppSettings& settings_;
    PageSetup pageSetup_;
    GridView* view_ = nullptr;
    QCheckBox* printTitle_ = nullptr;
    QCheckBox* printChart_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* fontName_ = nullptr;
    QLineEdit* fontSize_ = nullptr;
    QPushButton* fontButton_ = nullptr;
};

}  // namespace tf::gui
