#include "core/app/Numbers.h"

#include <gtest/gtest.h>

using namespace kelbrin;

TEST(Numbers, ValReadsTheLeadingNumberOnly) {
    EXPECT_DOUBLE_EQ(Val("  15"), 15);
    EXPECT_DOUBLE_EQ(Val("1.5e"), 1.5);
    EXPECT_DOUBLE_EQ(Val("-2.25x"), -2.25);
    EXPECT_DOUBLE_EQ(Val("+7"), 7);
    EXPECT_DOUBLE_EQ(Val("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(Val(".5"), 0.5);
    EXPECT_DOUBLE_EQ(Val("abc"), 0);
    EXPECT_DOUBLE_EQ(Val(""), 0);
    EXPECT_DOUBLE_EQ(Val("1,5"), 1); // the comma is not a decimal separator here
    EXPECT_DOUBLE_EQ(Val("- 3"), 0);
}

TEST(Numbers, RoundingTakesHalvesToTheEvenNumber) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.6), -3);
    EXPECT_EQ(ValLong("1.5"), 2);
    EXPECT_EQ(ValLong("99999999999"), 2147483647);
}

TEST(Numbers, CommaInputAndNumberTextsIgnoreTheLocale) {
    EXPECT_DOUBLE_EQ(CommaVal("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(CommaVal("-0,25"), -0.25);
    EXPECT_EQ(NumberText(0.25), "0.25");
    EXPECT_EQ(NumberText(150), "150");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumberText(-3.5), "-3.5");
    EXPECT_EQ(NumberText(123456789012.0), "123456789012");
    EXPECT_EQ(CommaNumberText(2.75), "2,75");
}
