// The window's arithmetic: the number fields of the dialogs, the position
// limits and the button row with their 32-bit wrap, the digits' height.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/layout.h"
#include "app/number_text.h"

namespace {
using namespace vantorel;

// A field's text and limit, and what the dialog takes: the number, and "!"
// when it says the limit was passed.
std::string field(const char* text, std::uint32_t limit) {
    const FieldNumber n = numberInField(text, limit);
    return std::to_string(n.value) + (n.clamped ? "!" : "");
}

// The three numbers of a ButtonRow or PositionLimits, e.g. "510 600 690".
template <class Three>
std::string numbers(const Three& three) {
    const auto& [a, b, c] = three;
    return std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c);
}

// A number field reads its leading digits and holds them at the limit.
TEST(WindowRules, FieldsHoldTheirLimitsAndPlacesWrapAt32Bits) {
    EXPECT_EQ(field("", 59) + " " + field("  59", 59) + " " + field("60", 59), "0 59 59!");
    EXPECT_EQ(field("7x9", 99) + " " + field("x9", 99) + " " + field("099", 99), "7 0 99");
    EXPECT_EQ(field("4294967295", UINT_MAX) + " " + field("4294967296", UINT_MAX),
              "4294967295 4294967295!");
    EXPECT_EQ(field("99999999999999999999", 99), "99!");

    // The positions wrap at 32 bits, and nothing below zero is clamped.
    EXPECT_EQ(numbers(buttonRow(510)), "510 600 690");
    EXPECT_EQ(numbers(buttonRow(INT_MAX)), "2147483647 -2147483559 -2147483469");
    EXPECT_EQ(numbers(positionLimits(1920, 1040, 100)), "1660 55 690");
    EXPECT_EQ(numbers(positionLimits(200, 300, 30)), "4294967236 4294967281 4294967246");
    EXPECT_EQ(displayFontHeight(-16), -216);
    EXPECT_EQ(displayFontHeight(INT_MIN), INT_MAX - 199);
}

}  // namespace
