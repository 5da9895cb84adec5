#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "text/Text.h"

namespace korvel {
namespace {

struct NumberCase {
    std::string text;
    std::int32_t integer;
    double number;
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << testing::PrintToString(c.text);
}

class NumberCases : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberCases, ReadTheLeadingNumber)
{
    const NumberCase& c = GetParam();
    EXPECT_EQ(ToInteger(c.text), c.integer) << c.text;
    EXPECT_DOUBLE_EQ(ToNumber(c.text), c.number) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Text, NumberCases,
    testing::Values(NumberCase{" 12abc", 12, 12}, NumberCase{"-7", -7, -7}, NumberCase{"+7", 7, 7},
                    NumberCase{"abc", 0, 0}, NumberCase{"", 0, 0}, NumberCase{"-", 0, 0},
                    NumberCase{"- 5", 0, 0}, NumberCase{"\t\r\n 5", 5, 5}, NumberCase{"007", 7, 7},
                    // Full-width digits, signs, point and space fold to ASCII.
                    NumberCase{"\xA3\xB4\xA3\xB2", 42, 42},
                    NumberCase{"\xA1\xA1\xA3\xAD\xA3\xB3\xA3\xAE\xA3\xB5", -3, -3.5},
                    NumberCase{"\xA3\xAB\xA3\xB1"
                               "9",
                               19, 19},
                    // Other double-byte characters stop the number.
                    NumberCase{"12\xD4\xAA", 12, 12},
                    NumberCase{"\xD4\xAA"
                               "12",
                               0, 0},
                    NumberCase{"3.75", 3, 3.75}, NumberCase{"-0.5", 0, -0.5}, NumberCase{".5x", 0, 0.5},
                    NumberCase{"5.", 5, 5}, NumberCase{".", 0, 0}, NumberCase{"1.2.3", 1, 1.2},
                    NumberCase{"1e3", 1, 1000}, NumberCase{"2.5E-2", 2, 0.025}, NumberCase{"1e+2x", 1, 100},
                    NumberCase{"1e", 1, 1}, NumberCase{"1e+", 1, 1}, NumberCase{"1.5e-x", 1, 1.5},
                    NumberCase{"0x1A", 0, 0}, NumberCase{"inf", 0, 0}, NumberCase{"nan", 0, 0},
                    NumberCase{"1,5", 1, 1}, NumberCase{"2147483647", 2147483647, 2147483647.0},
                    NumberCase{"-2147483648", -2147483647 - 1, -2147483648.0}));

TEST(ToInteger, ClampsValuesOutsideThirtyTwoBits)
{
    EXPECT_EQ(ToInteger("2147483648"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ToInteger("99999999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ToInteger("-2147483649"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToInteger("-99999999999999999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST(ToNumber, FollowsDoubleRangeLikeStrtod)
{
    EXPECT_TRUE(std::isinf(ToNumber("1e999")));
    EXPECT_LT(ToNumber("-1e999"), 0);
    EXPECT_EQ(ToNumber("1e-999"), 0.0);
}

TEST(IntToText, WritesPlainDecimal)
{
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(1234567), "1234567");
    EXPECT_EQ(IntToText(-42), "-42");
    EXPECT_EQ(IntToText(std::numeric_limits<long long>::max()), "9223372036854775807");
    EXPECT_EQ(IntToText(std::numeric_limits<long long>::min()), "-9223372036854775808");
}

}  // namespace
}  // namespace korvel
