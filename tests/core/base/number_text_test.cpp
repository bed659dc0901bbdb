#include "core/base/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace tf {
namespace {

struct Written {
    double value;
    const char* text;
};

class FormatNumberTest : public ::testing::TestWithParam<Written> {};

TEST_P(FormatNumberTest, WritesPlainDecimal) {
    EXPECT_EQ(formatNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FormatNumberTest,
    ::testing::Values(
        Written{90, "90"}, Written{-0.5, "-0.5"}, Written{1e20, "100000000000000000000"},
        Written{1e-7, "0.0000001"}, Written{0.1 + 0.2, "0.3"}, Written{0, "0"}, Written{-0.0, "0"},
        Written{7.2, "7.2"}, Written{3.6 * 2, "7.2"}, Written{1234.5, "1234.5"},
        Written{-1e-12, "-0.000000000001"}, Written{123456789012345.0, "123456789012345"},
        Written{2.0 / 3.0, "0.666666666667"}, Written{1e-20, "0.00000000000000000001"},
        Written{std::numeric_limits<double>::infinity(), "0"}, Written{std::nan(""), "0"},
        Written{0.5, "0.5"}, Written{99999999999.99999, "100000000000"},
        // Either side of where an exponent would be needed.
        Written{0.0001, "0.0001"}, Written{1e-5, "0.00001"},
        Written{-0.000123456789012345, "-0.000123456789012"},
        Written{123456789012.0, "123456789012"}, Written{999999999999.4, "999999999999.4"},
        Written{999999999999.7, "999999999999.7"},
        // From 100,000,000 on, four decimals are kept, up to 15 significant digits; the binary
        // noise of a sum stays out.
        Written{99999999.123456789, "99999999.1235"}, Written{123456789.1 + 0.2, "123456789.3"},
        Written{123456789012.345, "123456789012.345"},
        Written{-12345678901.2345, "-12345678901.2345"},
        Written{1234567890123456789.0, "1234567890123460000"}));

struct Read {
    const char* text;
    double value;
};

class ParseNumberTest : public ::testing::TestWithParam<Read> {};

TEST_P(ParseNumberTest, ReadsLeadingDecimal) {
    EXPECT_EQ(parseNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberTest,
    ::testing::Values(Read{"3.6米", 3.6}, Read{"abc", 0}, Read{"", 0}, Read{"-2.5e3", -2.5},
                      Read{"1e5", 1}, Read{"+5", 5}, Read{".5", 0.5}, Read{"5.", 5}, Read{"inf", 0},
                      Read{"nan", 0}, Read{"-inf", 0}, Read{"0x10", 0}, Read{"-", 0}, Read{".", 0},
                      Read{"+.", 0}, Read{"-.25", -0.25}, Read{" 12", 12}, Read{"1.00元/平方米", 1},
                      Read{"0.00元", 0}, Read{"12,5", 12}, Read{"1..2", 1}, Read{"--1", 0},
                      Read{"00012.500", 12.5}));

TEST(ParseNumber, HugeOrTinyNumbersReadAsZeroOrAreRefusedWhereTheUserGaveThem) {
    EXPECT_EQ(parseNumber(std::string(400, '9')), 0);
    EXPECT_EQ(parseNumber("0." + std::string(400, '0') + "1"), 0);
    EXPECT_EQ(parseNumber(std::string(300, '9')), 1e300);
    EXPECT_FALSE(readNumber(std::string(400, '9')));
    EXPECT_FALSE(readNumber("-1" + std::string(309, '0') + ".5米"));
    EXPECT_EQ(readNumber("0." + std::string(400, '0') + "1"), 0.0) << "too small is as good as 0";
    EXPECT_EQ(readNumber("00" + std::string(400, '0')), 0.0);
    EXPECT_EQ(readNumber("abc"), 0.0);
    EXPECT_EQ(readNumber("1" + std::string(308, '0')), 1e308);
}

TEST(NumberText, IndependentOfProcessLocale) {
    // A locale with a decimal comma must not change what is read or written.
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "C.UTF-8") == nullptr) {
        GTEST_SKIP() << "no other locale installed";
    }
    EXPECT_EQ(parseNumber("3.25"), 3.25);
    EXPECT_EQ(formatNumber(3.25), "3.25");
    EXPECT_EQ(formatFixed(3.25, 3), "3.250");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(NumberText, DraftsAreTextsThatCanStillBecomeANumber) {
    for (const char* draft : {"", "-", "+", ".", "-.", "3.", "-0.5", "12", "007.250"}) {
        EXPECT_TRUE(isNumberDraft(draft)) << draft;
    }
    for (const char* never : {"abc", "1a", "1.2.3", "--1", "1-", "1,5", "1e3", " 1", "1 ", "×"}) {
        EXPECT_FALSE(isNumberDraft(never)) << never;
    }
}

TEST(FormatFixed, RoundsToDecimalsWithoutNegativeZero) {
    EXPECT_EQ(formatFixed(7.2, 3), "7.200");
    EXPECT_EQ(formatFixed(-0.0001, 3), "0.000");
    EXPECT_EQ(formatFixed(-1.5, 0), "-2");
    EXPECT_EQ(formatFixed(12.3456, 2), "12.35");
    EXPECT_EQ(formatFixed(1e20, 2), "100000000000000000000.00");
    // Halves round away from zero, on the decimal number rather than its binary neighbour.
    EXPECT_EQ(formatFixed(2.5, 0), "3");
    EXPECT_EQ(formatFixed(18.5, 0), "19");
    EXPECT_EQ(formatFixed(42.5, 0), "43");
    EXPECT_EQ(formatFixed(4.05, 1), "4.1");
    EXPECT_EQ(formatFixed(-4.05, 1), "-4.1");
    EXPECT_EQ(formatFixed(1.0005, 3), "1.001");
    EXPECT_EQ(formatFixed(0.35 * 3, 2), "1.05") << "1.0499999999999998 in binary";
    EXPECT_EQ(formatFixed(9.9995, 3), "10.000") << "the carry runs into the integer part";
    EXPECT_EQ(formatFixed(0.5, 0), "1");
    EXPECT_EQ(formatFixed(-0.4, 0), "0");
    EXPECT_EQ(formatFixed(1.23456789e-7, 10), "0.0000001235");
    // Large numbers round at their own decimals, not at a twelfth digit.
    EXPECT_EQ(formatFixed(123456789012.345, 1), "123456789012.3");
    EXPECT_EQ(formatFixed(-12345678901.2345, 3), "-12345678901.235");
    EXPECT_EQ(formatFixed(987654321.0049, 2), "987654321.00");
    EXPECT_EQ(formatFixed(987654321.005, 2), "987654321.01");
}

TEST(NumberText, WrittenNumbersReadBack) {
    for (double v : {0.1, -3.75, 1234567.891, 1e-9, 42.0, 1e15}) {
        EXPECT_DOUBLE_EQ(parseNumber(formatNumber(v)), v);
    }
}

}  // namespace
}  // namespace tf
