#include "core/expr/expression_evaluator.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_prompter.h"

namespace tf {
namespace {

using Message = test::ScriptedPrompter::Message;

const Message kMissingClose{"括号不匹配，缺少“)”！", "错误", 48};
const Message kMissingOpen{"括号不匹配，缺少“(”！", "错误", 48};
const Message kTangent{"正切函数中值为90度，计算失败！", "警告", 48};
const Message kCotangent{"余切函数中值为0度，计算失败！", "警告", 48};
const Message kDivision{"计算式中有被除数为0的情况，计算不能继续，请检查数据！", "错误！", 16};
const Message kNesting{"计算式中函数嵌套过深，计算失败！", "错误", 48};
const Message kOutOfRange{"数值超出范围，计算不能继续，请检查数据！", "错误", 48};

struct Case {
    std::string input;
    std::string result;
    std::optional<Message> message = std::nullopt;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << c.input;
}

class EvaluateTest : public ::testing::TestWithParam<Case> {};

TEST_P(EvaluateTest, RewritesToItsValue) {
    test::ScriptedPrompter prompter;
    EXPECT_EQ(evaluateLastLine(GetParam().input, prompter), GetParam().result);
    if (GetParam().message) {
        EXPECT_EQ(prompter.messages(), std::vector<Message>{*GetParam().message});
    } else {
        EXPECT_TRUE(prompter.messages().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, EvaluateTest,
    ::testing::Values(
        // Input forms
        Case{"１２＋３", "15"}, Case{"SIN(30)", "0.5"}, Case{" 1 +  2 ", "3"},
        Case{"(3.6 + 1.2) * 2.8 - 0.9 * 2.1", "11.55"},
        // Implicit products
        Case{"2(3 + 4)", "14"}, Case{"(1 + 2)(3 + 4)", "21"}, Case{"3sin(30)", "1.5"},
        Case{"(1 + 2)5", "15"}, Case{"2(3.6+2.4)*2.8", "33.6"},
        // Order of operations
        Case{"2 ^ 3 * 2", "16"}, Case{"2 * 3 ^ 2", "18"}, Case{"10 / 4 / 5", "0.5"},
        Case{"-5 + 3", "-2"}, Case{"+5", "5"}, Case{"2 + 3 * 4 - 6 / 2", "11"},
        Case{"(1 + (2 * 3)) * 2", "14"},
        // No operator: the text itself
        Case{"3.50", "3.50"}, Case{"abc", "abc"}, Case{"ABC", "abc"},
        // Division
        Case{"5 / 0", "", kDivision}, Case{"5 / 0.00000001", "", kDivision},
        Case{"5 / 0.001", "5000"}, Case{"sin(1 / 0)", "", kDivision},
        Case{"1/0 + 1/0", "", kDivision},
        // Functions
        Case{"tan(90)", "", kTangent}, Case{"tan(45 + 45)", "", kTangent},
        Case{"ctg(0)", "", kCotangent}, Case{"ctg(1 - 1)", "", kCotangent}, Case{"sin(30)", "0.5"},
        Case{"cos(60)", "0.5"}, Case{"tan(45)", "1"}, Case{"ctg(45)", "1"},
        Case{"sin(cos(60)*60)", "0.5"}, Case{"cos(2sin(30)*60)", "0.5"}, Case{"sin()", ""},
        Case{"sin(30", "", kMissingClose},
        // Singular angles written otherwise
        Case{"tan(90.0)", "", kTangent}, Case{"tan(270)", "", kTangent},
        Case{"ctg(180)", "", kCotangent}, Case{"tan(-90)", "", kTangent},
        // Parentheses
        Case{"(1 + 2", "", kMissingClose}, Case{"1 + 2)", "", kMissingOpen}, Case{"()", ""},
        Case{")1+2(", ""},
        // A unit word reads as 0
        Case{"3.6米", "0"}, Case{"3.6×2", "0"},
        // Signs bind
        Case{"2*-3", "-6"}, Case{"3*(1-3)", "-6"}, Case{"6/-2", "-3"}, Case{"2^-1", "0.5"},
        Case{"(-2)^2", "4"}, Case{"5-(3-4)", "6"}, Case{"0-(-2)", "2"}, Case{"2*sin(-30)", "-1"},
        Case{"10/(2-4)", "-5"}, Case{"-2^2", "-4"}, Case{"2*+3", "6"}, Case{"6/-0", "", kDivision},
        // Negative values inside function arguments, and signs before groups and functions
        // whose value is negative, at every depth
        Case{"sin(2*-3)", "-0.104528463268"}, Case{"sin(2^-1*60)", "0.5"},
        Case{"cos(sin(-30))", "0.999961923064"}, Case{"tan(cos(180)*45)", "-1"},
        Case{"ctg(cos(120)*90)", "-1"}, Case{"2*-(1-3)", "4"}, Case{"2*-(-3)", "6"},
        Case{"2*-sin(-30)", "1"}, Case{"2^-(1-3)", "4"}, Case{"6/-(1-4)", "2"},
        Case{"-sin(-30)", "0.5"}, Case{"sin(-(-30))", "0.5"},
        Case{"sin(sin(sin(-30)*60)*60)", "-0.5"}, Case{"3*(2-sin(-30))", "7.5"},
        Case{"(1-3)^2*-(2-5)", "12"}, Case{"-(1-3)^-1", "0.5"},
        Case{"cos(60*-(sin(-30)*-2))*-(4-2(3))", "1"}, Case{"6/-(sin(30)-0.5)", "", kDivision},
        Case{"tan(-(-(45+45)))", "", kTangent},
        // A bound sign never hides an operator: x(1-3) is x-2, read as 0-2
        Case{"x(1-3)", "-2"}, Case{"mcos(120)", "-0.5"}, Case{"2.(1-3)", "0"}, Case{"x(3)", "x3"},
        // Degrees: v × 3.14159265359, then ÷ 180
        Case{"sin(360)", "0.00000000000041453439264"}, Case{"tan(89.9999)", "572957.829072"},
        Case{"sin(180)*-1", "0.00000000000020726719632"},
        // Chained powers go left to right
        Case{"2^3^2", "64"},
        // Lines
        Case{"1 + 2\r\n3 * 4", "12"}, Case{"3 * 4 = 12", ""}, Case{"", ""}, Case{"1+2\r\n", ""},
        Case{"0.1+0.2", "0.3"},
        // Too large for a number, given or reached: refused, not read as 0.
        Case{"10^308*10", "", kOutOfRange}, Case{"2^1024", "", kOutOfRange},
        Case{"(10^200)*(10^200)-5", "", kOutOfRange},
        Case{"1" + std::string(309, '0'), "", kOutOfRange},
        Case{"2*1" + std::string(400, '0'), "", kOutOfRange},
        Case{"10^308", "1" + std::string(308, '0')},
        Case{"0." + std::string(400, '0') + "1+2", "2"}));

TEST(Evaluate, HostileInputNeverCrashesOrHangs) {
    test::ScriptedPrompter prompter;
    const std::string nested = std::string(10000, '(') + "1" + std::string(10000, ')');
    EXPECT_EQ(evaluate(nested, prompter), "1");

    std::string sum;
    for (int i = 0; i < 25000; ++i) {
        sum += "1+2*3^1-";
    }
    sum += "0";
    EXPECT_EQ(evaluate(sum, prompter), "125002");  // 1 + 25000 × 6 − 24999 × 1
    EXPECT_GE(sum.size(), 100000u);

    std::string groups;
    for (int i = 0; i < 20000; ++i) {
        groups += "(1)+";
    }
    groups += "0";
    EXPECT_EQ(evaluate(groups, prompter), "20000");

    EXPECT_EQ(evaluate(std::string(400, '9') + "+1", prompter), "");
    EXPECT_EQ(prompter.messages().back(), kOutOfRange);
    prompter.clear();

    std::string calls;
    for (int i = 0; i < 10000; ++i) {
        calls += "sin(";
    }
    calls += "0" + std::string(10000, ')');
    EXPECT_EQ(evaluate(calls, prompter), "");
    EXPECT_EQ(prompter.messages(), std::vector<Message>{kNesting});
}

TEST(Evaluate, NestingUpToTheLimitWorksAndDeeperIsRefusedOnce) {
    const auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i) {
            text += "cos(";
        }
        return text + "0" + std::string(static_cast<std::size_t>(depth), ')');
    };
    test::ScriptedPrompter prompter;
    // cos(0) = 1, cos(1°) = 0.999847695156, and from the fourth call on the 12-digit value
    // stays 0.999847741531.
    EXPECT_EQ(evaluate(nested(32), prompter), "0.999847741531");
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(evaluate("1+" + nested(33) + "*2", prompter), "");
    EXPECT_EQ(prompter.messages(), std::vector<Message>{kNesting});
}

TEST(Evaluate, TheBoundMarkerCannotBeTyped) {
    test::ScriptedPrompter prompter;
    EXPECT_EQ(evaluate(std::string("2*") + kBoundMinus + "3", prompter), "0");
}

}  // namespace
}  // namespace tf
