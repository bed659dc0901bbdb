// The expression calculator as the user meets it: opened by F4 from the main window and
// the entry grid, typed into, clicked, kept on top.
#include "gui/calculator/calculator_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

#include "core/shell/program_data.h"
#include "gui/calculator/keypad_button.h"
#include "gui/entry/entry_dialog.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/grid_view.h"
#include "tests/gui/event_wait.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {

using Message = test::ScriptedPrompter::Message;

class CalculatorWindowTest : public ::testing::Test {
  protected:
    CalculatorWindowTest() {
        test::writeFile(dir / "ZUdavu.dat", buildProgramData({1, {"消息"}}));
        window =
            std::make_unique<MainWindow>(QString::fromStdString(dir.path().string()), &prompter);
        window->resize(1000, 700);
        window->show();
    }
    CalculatorWindow* calculator() { return window->findChild<CalculatorWindow*>(); }
    QString record() { return calculator()->record().toPlainText(); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QString text = {}) {
        QKeyEvent press(QEvent::KeyPress, k, modifiers, text);
        QApplication::sendEvent(&calculator()->record(), &press);
        QKeyEvent release(QEvent::KeyRelease, k, modifiers, text);
        QApplication::sendEvent(&calculator()->record(), &release);
    }
    void digits(const char* typed) {
        for (const char* c = typed; *c != 0; ++c) {
            key(static_cast<Qt::Key>(*c), Qt::NoModifier, QString(QChar(*c)));
        }
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> window;
};

TEST_F(CalculatorWindowTest, F4OpensItAndTheKeysWorkTheRecord) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), test::kEventCeilingMs));
    QTest::keyClick(window.get(), Qt::Key_F4);
    ASSERT_NE(calculator(), nullptr);
    CalculatorWindow& c = *calculator();
    EXPECT_EQ(c.windowTitle(), "表达式计算器 （F3 顶置窗口）");
    EXPECT_FALSE(c.isModal());
    EXPECT_EQ(c.parent(), window.get());
    EXPECT_EQ(c.button(CalcButton::Digit7).size(), QSize(36, 27));
    EXPECT_EQ(c.button(CalcButton::Backspace).text(), "Backspace");
    EXPECT_EQ(c.button(CalcButton::Equals).text(), "＝");
    EXPECT_EQ(c.minimumWidth(), c.maximumWidth());
    EXPECT_EQ(c.maximumHeight(), c.screen()->availableGeometry().height());

    // 2*(3+4) Enter: keypad "*" and "+", the parentheses passed to the box.
    digits("2");
    EXPECT_TRUE(c.button(CalcButton::Digit2).isDown()) << "shown pressed for a moment";
    ASSERT_TRUE(test::waitUntil([&] { return !c.button(CalcButton::Digit2).isDown(); }));
    key(Qt::Key_Asterisk, Qt::KeypadModifier, "*");
    key(Qt::Key_ParenLeft, Qt::ShiftModifier, "(");
    digits("3");
    key(Qt::Key_Plus, Qt::KeypadModifier, "+");
    digits("4");
    key(Qt::Key_ParenRight, Qt::ShiftModifier, ")");
    key(Qt::Key_X, Qt::NoModifier, "x");      // swallowed
    key(Qt::Key_5, Qt::KeypadModifier, "5");  // swallowed
    key(Qt::Key_Equal, Qt::NoModifier, "=");  // evaluates, as Enter does
    EXPECT_EQ(record(), "2*(3+4)=14\n");
    EXPECT_EQ(QApplication::clipboard()->text(), "14");
    EXPECT_EQ(c.record().textCursor().position(), record().size());

    // sin(30) by keyboard; Shift+8 is "*" and Shift+= is "+", as is a "+" that a layout
    // types without Shift.
    key(Qt::Key_S, Qt::NoModifier, "s");
    key(Qt::Key_I, Qt::NoModifier, "i");
    key(Qt::Key_N, Qt::NoModifier, "n");
    key(Qt::Key_ParenLeft, Qt::ShiftModifier, "(");
    digits("30");
    key(Qt::Key_ParenRight, Qt::ShiftModifier, ")");
    key(Qt::Key_Return);
    EXPECT_EQ(record(), "2*(3+4)=14\nsin(30)=0.5\n");
    digits("3");
    key(Qt::Key_Asterisk, Qt::ShiftModifier, "*");
    digits("4");
    key(Qt::Key_Plus, Qt::ShiftModifier, "+");
    digits("5");
    key(Qt::Key_Plus, Qt::NoModifier, "+");
    digits("1");
    key(Qt::Key_Return);
    EXPECT_EQ(record(), "2*(3+4)=14\nsin(30)=0.5\n3*4+5+1=18\n");
    EXPECT_EQ(QApplication::clipboard()->text(), "18");

    key(Qt::Key_Return);  // the empty line
    EXPECT_EQ(record(), "2*(3+4)=14\nsin(30)=0.5\n3*4+5+1=18\n");
    EXPECT_EQ(QApplication::clipboard()->text(), "");

    digits("5");
    key(Qt::Key_Slash, Qt::NoModifier, "/");
    digits("0");
    key(Qt::Key_Return);
    EXPECT_EQ(prompter.messages().back(),
              (Message{"计算式中有被除数为0的情况，计算不能继续，请检查数据！", "错误！", 16}));
    EXPECT_TRUE(record().endsWith("=18\n5/0\n"));

    key(Qt::Key_Escape);
    EXPECT_EQ(record(), "");
    EXPECT_TRUE(c.isVisible()) << "Esc empties the record, it does not close the window";
}

TEST_F(CalculatorWindowTest, ButtonsTypeAtTheCaretAndF3KeepsItOnTop) {
    window->dispatch(Command::Calculator);
    CalculatorWindow& c = *calculator();
    c.button(CalcButton::Sin).click();
    EXPECT_EQ(record(), "Sin()");
    EXPECT_EQ(c.record().textCursor().position(), 4);
    c.button(CalcButton::Digit9).click();
    c.button(CalcButton::Digit0).click();
    c.button(CalcButton::Equals).click();
    EXPECT_EQ(record(), "Sin(90)=1\n");
    c.button(CalcButton::Digit1).click();
    c.button(CalcButton::Point).click();
    c.button(CalcButton::Digit5).click();
    c.button(CalcButton::Backspace).click();
    c.button(CalcButton::Times).click();
    c.button(CalcButton::Brackets).click();
    EXPECT_EQ(record(), "Sin(90)=1\n1.*()");
    EXPECT_EQ(c.record().textCursor().position(), record().size() - 1);
    EXPECT_TRUE(c.record().hasFocus() || QApplication::focusWidget() == nullptr);

    EXPECT_FALSE(c.staysOnTop());
    key(Qt::Key_F3);
    EXPECT_TRUE(c.staysOnTop());
    EXPECT_TRUE(c.isVisible());
    key(Qt::Key_F3);
    EXPECT_FALSE(c.staysOnTop());

    c.button(CalcButton::Clear).click();
    EXPECT_EQ(record(), "");
    window->dispatch(Command::Calculator);  // the one window comes forward again
    EXPECT_EQ(window->findChildren<CalculatorWindow*>().size(), 1);
}

TEST_F(CalculatorWindowTest, F4InTheEntryGridOpensIt) {
    window->dispatch(Command::AddEntry);
    EntryDialog& entry = window->entryDialog();
    entry.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&entry, test::kEventCeilingMs));
    QTest::keyClick(&entry.grid(), Qt::Key_F4);
    ASSERT_NE(calculator(), nullptr);
    EXPECT_TRUE(calculator()->isVisible());
    EXPECT_TRUE(entry.isVisible());
}

}  // namespace
}  // namespace tf::gui
