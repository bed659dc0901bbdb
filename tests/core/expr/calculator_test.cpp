#include "core/expr/calculator.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_prompter.h"

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;
using B = CalcButton;
namespace K = VirtualKey;

struct Key {
    int code;
    bool shift = false;
    char typed = 0;  // what the edit box itself types for a key it is given
};

// The record with an edit box around it: keys go through the key table, and the keys the
// table passes on are typed by the "box".
class CalculatorTest : public ::testing::Test {
  protected:
    void keys(std::initializer_list<Key> sequence) {
        for (const Key& key : sequence) {
            const CalcKey decision = calculatorKey(key.code, key.shift, false);
            if (decision.action == CalcKeyAction::Press) {
                if (auto copied = record.press(decision.button, prompter)) {
                    clipboard = *copied;
                }
            } else if (decision.action == CalcKeyAction::Pass && key.typed != 0) {
                std::string text = record.text();
                text.insert(record.caret(), 1, key.typed);
                record.set(text, record.caret() + 1);
            }
        }
    }
    void click(B button) {
        if (auto copied = record.press(button, prompter)) {
            clipboard = *copied;
        }
    }

    CalculatorRecord record;
    test::ScriptedPrompter prompter;
    std::string clipboard = "untouched";
};

const Key kOpen{'9', true, '('};
const Key kClose{'0', true, ')'};
const Key kEnter{K::kEnter};

TEST_F(CalculatorTest, BracketsAndFunctionsPutTheCaretBetweenTheParentheses) {
    click(B::Brackets);
    EXPECT_EQ(record.text(), "()");
    EXPECT_EQ(record.caret(), 1u);
    click(B::Sin);
    EXPECT_EQ(record.text(), "(Sin())");
    EXPECT_EQ(record.caret(), 5u);
    click(B::Digit3);
    click(B::Digit0);
    EXPECT_EQ(record.text(), "(Sin(30))");

    record.set("", 0);
    click(B::Ctg);
    EXPECT_EQ(record.text(), "Ctg()");
    EXPECT_EQ(record.caret(), 4u);

    // In the middle of a line too, and a selection is replaced as typing would replace it.
    record.set("2+3", 2);
    click(B::Brackets);
    EXPECT_EQ(record.text(), "2+()3");
    EXPECT_EQ(record.caret(), 3u);
    record.set("1+23+4", 2, 4);
    click(B::Tan);
    EXPECT_EQ(record.text(), "1+Tan()+4");
    EXPECT_EQ(record.caret(), 6u);
}

TEST_F(CalculatorTest, EnterAppendsTheResultAndCopiesItAlsoWhenEmpty) {
    keys({{'2'}, {K::kPadTimes}, kOpen, {'3'}, {K::kPadPlus}, {'4'}, kClose, kEnter});
    EXPECT_EQ(record.text(), "2*(3+4)=14\n");
    EXPECT_EQ(record.caret(), record.text().size());
    EXPECT_EQ(clipboard, "14");

    keys({kEnter});  // the empty new line: nothing appended, the clipboard emptied
    EXPECT_EQ(record.text(), "2*(3+4)=14\n");
    EXPECT_EQ(clipboard, "");

    keys({{'5'}, {K::kSlash}, {'0'}, kEnter});
    EXPECT_EQ(prompter.messages(),
              (std::vector<Message>{
                  {"计算式中有被除数为0的情况，计算不能继续，请检查数据！", "错误！", 16}}));
    EXPECT_EQ(record.text(), "2*(3+4)=14\n5/0\n");
    EXPECT_EQ(clipboard, "");

    // Only the last line counts, wherever the caret is; a line with "=" gives nothing.
    keys({{'1'}, {K::kPoint}, {'5'}, {K::kMinus}, {'4'}});
    record.set(record.text(), 2);
    keys({kEnter});
    EXPECT_EQ(record.text(), "2*(3+4)=14\n5/0\n1.5-4=-2.5\n");
    EXPECT_EQ(clipboard, "-2.5");
    record.set("7=", 2);
    keys({kEnter});
    EXPECT_EQ(record.text(), "7=\n");
    EXPECT_EQ(record.caret(), 3u);
    EXPECT_EQ(clipboard, "");
    EXPECT_EQ(prompter.messages().back(),
              (Message{"计算式中有无法识别的“=”，计算不能继续，请检查数据！", "错误", 48}));
}

TEST_F(CalculatorTest, TheMainKeyboardTypesTheCharactersItsKeysProduce) {
    // 3*4+5= with Shift+8 for "*", Shift+= for "+" and "=" for the result; 6^2 with Shift+6.
    keys({{'3'}, {'8', true}, {'4'}, {K::kEquals, true}, {'5'}, {K::kEquals}});
    EXPECT_EQ(record.text(), "3*4+5=17\n");
    EXPECT_EQ(clipboard, "17");
    keys({{'6'}, {'6', true, '^'}, {'2'}, {'1', true, '!'}, {K::kMinus, true, '_'}, kEnter});
    EXPECT_EQ(record.text(), "3*4+5=17\n6^2=36\n");
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(CalculatorTest, ALineThatCannotBeReadWhollyGivesAMessageAndNoResult) {
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"sqrt(2)^2", "计算式中有无法识别的“sqrt”，计算不能继续，请检查数据！"},
        {"3.6米", "计算式中有无法识别的“米”，计算不能继续，请检查数据！"},
        {"3*4=12", "计算式中有无法识别的“=”，计算不能继续，请检查数据！"},
        {"2×3", "计算式中有无法识别的“×”，计算不能继续，请检查数据！"},
        {"()", "计算式无法得出结果，请检查数据！"},
        {"Sin()", "计算式无法得出结果，请检查数据！"},
    };
    for (const auto& c : cases) {
        prompter.clear();
        record.set(c.line, 0);
        keys({kEnter});
        EXPECT_EQ(clipboard, "") << c.line;
        EXPECT_EQ(record.text(), std::string(c.line) + "\n");
        EXPECT_EQ(prompter.messages(), (std::vector<Message>{{c.message, "错误", 48}})) << c.line;
    }
    // Full-width and upper-case forms belong to the syntax.
    record.set("ＳＩＮ（３０）＋1", 0);
    prompter.clear();
    keys({kEnter});
    EXPECT_EQ(clipboard, "1.5");
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(CalculatorTest, FunctionNamesTypedByKeyboardWork) {
    keys({{'S', false, 's'},
          {'I', false, 'i'},
          {'N', false, 'n'},
          kOpen,
          {'3'},
          {'0'},
          kClose,
          {'X', false, 'x'},
          {K::kPad0 + 2, false, '2'},
          kEnter});
    EXPECT_EQ(record.text(), "sin(30)=0.5\n");
    EXPECT_EQ(clipboard, "0.5");
}

TEST_F(CalculatorTest, BackspaceAndEscape) {
    record.set("12×3\n4", 4);  // a pasted sign is one character
    keys({{K::kBackspace}});
    EXPECT_EQ(record.text(), "123\n4");
    EXPECT_EQ(record.caret(), 2u);
    keys({{K::kBackspace}, {K::kBackspace}, {K::kBackspace}});
    EXPECT_EQ(record.text(), "3\n4");
    EXPECT_EQ(record.caret(), 0u);
    record.set("123\n4", 1, 4);
    click(B::Backspace);
    EXPECT_EQ(record.text(), "14");
    keys({{K::kEscape}});
    EXPECT_EQ(record.text(), "");
    EXPECT_EQ(record.caret(), 0u);
    record.set("ab×", 3);  // inside the sign: the caret moves to its start
    EXPECT_EQ(record.caret(), 2u);
}

TEST(CalculatorKeys, TheKeyTable) {
    const auto press = [](B button) { return CalcKey{CalcKeyAction::Press, button}; };
    const CalcKey pass{CalcKeyAction::Pass, B::Digit0};
    const CalcKey swallow{};
    for (int digit = 0; digit <= 9; ++digit) {
        EXPECT_EQ(calculatorKey('0' + digit, false, false), press(static_cast<B>(digit)));
        EXPECT_EQ(calculatorKey(K::kPad0 + digit, false, false), swallow);
    }
    EXPECT_EQ(calculatorKey('8', true, false), press(B::Times));  // "*"
    EXPECT_EQ(calculatorKey('9', true, false), pass);
    EXPECT_EQ(calculatorKey('0', true, false), pass);
    EXPECT_EQ(calculatorKey('6', true, false), pass);  // "^", which has no button
    for (const int key : {'1', '2', '3', '4', '5', '7'}) {
        EXPECT_EQ(calculatorKey(key, true, false), swallow) << key;
    }
    EXPECT_EQ(calculatorKey(K::kEquals, false, false), press(B::Equals));
    EXPECT_EQ(calculatorKey(K::kEquals, true, false), press(B::Plus));  // "+"
    EXPECT_EQ(calculatorKey(K::kMinus, true, false), swallow);          // "_"
    EXPECT_EQ(calculatorKey(K::kPoint, true, false), swallow);          // ">"
    EXPECT_EQ(calculatorKey(K::kSlash, true, false), swallow);          // "?"
    EXPECT_EQ(calculatorKey(K::kEnter, false, false), press(B::Equals));
    EXPECT_EQ(calculatorKey(K::kPadTimes, false, false), press(B::Times));
    EXPECT_EQ(calculatorKey(K::kPadPlus, false, false), press(B::Plus));
    EXPECT_EQ(calculatorKey(K::kMinus, false, false), press(B::Minus));
    EXPECT_EQ(calculatorKey(K::kSlash, false, false), press(B::Divide));
    EXPECT_EQ(calculatorKey(K::kPoint, false, false), press(B::Point));
    EXPECT_EQ(calculatorKey(K::kBackspace, false, false), press(B::Backspace));
    EXPECT_EQ(calculatorKey(K::kEscape, false, false), press(B::Clear));
    EXPECT_EQ(calculatorKey(K::kF3, false, false).action, CalcKeyAction::ToggleOnTop);
    for (const int key : std::initializer_list<int>{K::kPadMinus, K::kPadPoint, K::kPadDivide, 'X',
                                                    'E', 'L', 'Q', 'D', 32, 112, 116}) {
        EXPECT_EQ(calculatorKey(key, false, false), swallow) << key;
    }
    for (const int key :
         std::initializer_list<int>{'S', 'I', 'N', 'C', 'O', 'T', 'A', 'G', K::kCapsLock, K::kEnd,
                                    K::kHome, K::kLeft, K::kUp, K::kRight, K::kDown, K::kDelete}) {
        EXPECT_EQ(calculatorKey(key, false, false), pass) << key;
    }
    EXPECT_EQ(calculatorKey('X', false, true), pass);
    EXPECT_EQ(calculatorKey('V', false, true), pass);
    EXPECT_EQ(calculatorKey('C', false, true), pass);
    EXPECT_EQ(calculatorKey('Z', false, true), swallow);
}

}  // namespace
}  // namespace tf
