#include "gui/materials/material_editor.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "core/materials/material_layout.h"
#include "core/project/project_io.h"
#include "gui/widgets/grid_view.h"
#include "tests/support/scripted_prompter.h"

namespace tf::gui {
namespace {

using Message = test::ScriptedPrompter::Message;
using namespace MaterialColumn;

class MaterialEditorTest : public ::testing::Test {
  protected:
    MaterialEditorTest() {
        resetProject(doc);
        view.resize(900, 600);
        view.setGrid(doc.materials);
        editor = new MaterialEditor(view, doc, prompter, [] {});
        view.show();
    }
    // Types into a cell through the view's own editor.
    void type(int row, int column, const QString& text) {
        view.setCurrentIndex(view.gridModel()->index(row, column));
        view.edit(view.gridModel()->index(row, column));
        auto* line = view.findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr) << row << "," << column;
        line->setText(text);
        QTest::keyClick(line, Qt::Key_Return);
        QCoreApplication::processEvents();  // the delegate commits on the next loop turn
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ProjectDocument doc;
    test::ScriptedPrompter prompter;
    GridView view;
    MaterialEditor* editor = nullptr;
};

TEST_F(MaterialEditorTest, NameBeforeCategoryIsRefused) {
    view.setCurrentIndex(view.gridModel()->index(2, kName));
    view.edit(view.gridModel()->index(2, kName));
    EXPECT_EQ(view.findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(prompter.messages(), (std::vector<Message>{{"请先填写类别！", "", 64}}));
    EXPECT_EQ(view.currentIndex().column(), kCategory);
}

TEST_F(MaterialEditorTest, AFullEditCycleGivesAnIdAndACatalogueEntry) {
    type(1, kCategory, "钢材");
    type(1, kName, "圆钢");
    type(1, kPrice, "-4200");
    EXPECT_EQ(doc.materials.text(1, kId), "1001");
    EXPECT_EQ(doc.materials.text(1, kPrice), "4200");
    EXPECT_EQ(view.gridModel()->index(1, kPrice).data().toString(), "4200.000");
    ASSERT_NE(doc.catalogue.byId(1001), nullptr);
    EXPECT_EQ(doc.catalogue.byId(1001)->name, "圆钢");
    EXPECT_EQ(doc.catalogue.byId(1001)->price, 4200);
    EXPECT_EQ(doc.materials.column(kCategory).pickList, std::vector<std::string>{"钢材"});
    EXPECT_TRUE(doc.modified);
}

TEST_F(MaterialEditorTest, InsertAndCtrlDeleteRenumberAndDeleteAloneKeepsTheCell) {
    type(3, kCategory, "钢材");
    view.setCurrentIndex(view.gridModel()->index(3, kCategory));
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(doc.materials.text(3, kCategory), "钢材");

    QTest::keyClick(&view, Qt::Key_Insert);
    EXPECT_EQ(doc.materials.rowCount(), 25);
    EXPECT_EQ(doc.materials.text(4, kCategory), "钢材");
    EXPECT_EQ(doc.materials.text(24, kNumber), "24");

    view.setCurrentIndex(view.gridModel()->index(4, kCategory));
    QTest::keyClick(&view, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(doc.materials.rowCount(), 24);
    EXPECT_EQ(doc.materials.text(4, kCategory), "");
    for (int r = 1; r < 24; ++r) {
        ASSERT_EQ(doc.materials.text(r, kNumber), std::to_string(r));
    }
}

TEST_F(MaterialEditorTest, EnterInTheLastNoteAppendsARow) {
    view.setCurrentIndex(view.gridModel()->index(23, kNote));
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(doc.materials.rowCount(), 25);
    EXPECT_EQ(view.currentIndex().row(), 24);
}

}  // namespace
}  // namespace tf::gui
