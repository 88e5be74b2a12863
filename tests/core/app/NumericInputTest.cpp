#include "core/app/NumericInput.h"

#include <gtest/gtest.h>

using namespace kelbrin;

TEST(NumericInput, KeyFilterLetsOneSignAndOneComma) {
    EXPECT_EQ(FilterNumericKey("12", '7', false, false), '7');
    EXPECT_EQ(FilterNumericKey("12", 8, false, false), 8);
    EXPECT_EQ(FilterNumericKey("12", ',', false, true), ',');
    EXPECT_EQ(FilterNumericKey("12,", ',', false, true), 0);
    EXPECT_EQ(FilterNumericKey("12", ',', false, false), 0);
    EXPECT_EQ(FilterNumericKey("", '-', true, false), '-');
    EXPECT_EQ(FilterNumericKey("-1", '-', true, false), 0);
    EXPECT_EQ(FilterNumericKey("1", '-', false, false), 0);
    EXPECT_EQ(FilterNumericKey("1", '.', true, true), 0);
    EXPECT_EQ(FilterNumericKey("1", 13, true, true), 0);
    EXPECT_EQ(FilterNumericKey("1", 22, true, true), 0); // Ctrl+V
}

TEST(NumericInput, SanitizerKeepsAUsableNumber) {
    struct Case {
        const char* in;
        bool minus, comma;
        const char* out;
        bool valid;
    } cases[] = {
        {"1,234", false, true, "1,23", true}, {",5", false, true, "0,5", true},
        {"-5", true, false, "-5", true},      {"5-", true, false, "5", true},
        {"-", true, false, "-", false},       {"", true, true, "", false},
        {"-,5", true, true, "-0,5", true},    {"12a", false, false, "12", true},
        {"1,2,3", false, true, "1,23", true},  {"  42  ", false, false, "42", true},
        {"x1,234", false, true, "1,234", true}, {"1,5", false, false, "15", true},
    };
    for (const auto& c : cases) {
        const SanitizedNumber r = SanitizeNumericText(c.in, 3, c.minus, c.comma);
        EXPECT_EQ(r.text, QString(c.out)) << c.in;
        EXPECT_EQ(r.valid, c.valid) << c.in;
        EXPECT_EQ(r.changed, r.text != QString(c.in)) << c.in;
    }
}

TEST(NumericInput, CaretStepsBackWhenTheTextChanges) {
    EXPECT_EQ(SanitizeNumericText("12a", 3, false, false).caret, 2);
    EXPECT_EQ(SanitizeNumericText("a", 0, false, false).caret, 0);
    EXPECT_EQ(SanitizeNumericText("12", 2, false, false).caret, 2);
}
