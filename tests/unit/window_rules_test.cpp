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

TEST(NumberField, ReadsTheLeadingDigitsAndHoldsThemAtTheLimit) {
    EXPECT_EQ(field("", 59) + " " + field("  59", 59) + " " + field("60", 59), "0 59 59!");
    EXPECT_EQ(field("7x9", 99) + " " + field("x9", 99) + " " + field("099", 99), "7 0 99");
    EXPECT_EQ(field("4294967295", UINT_MAX) + " " + field("4294967296", UINT_MAX),
              "4294967295 4294967295!");
    EXPECT_EQ(field("99999999999999999999", 99), "99!");
}

TEST(Layout, WrapsAt32BitsAndClampsNothingBelowZero) {
    const auto row = [](std::int32_t left) {
        const ButtonRow x = buttonRow(left);
        return std::to_string(x.start) + " " + std::to_string(x.stop) + " " +
               std::to_string(x.reset);
    };
    EXPECT_EQ(row(510), "510 600 690");
    EXPECT_EQ(row(INT_MAX), "2147483647 -2147483559 -2147483469");
    const auto limits = [](std::int32_t right, std::int32_t bottom, std::int32_t displayTop) {
        const PositionLimits l = positionLimits(right, bottom, displayTop);
        return std::to_string(l.buttonsLeft) + " " + std::to_string(l.buttonsTop) + " " +
               std::to_string(l.displayTop);
    };
    EXPECT_EQ(limits(1920, 1040, 100), "1660 55 690");
    EXPECT_EQ(limits(200, 300, 30), "4294967236 4294967281 4294967246");
    EXPECT_EQ(displayFontHeight(-16), -216);
    EXPECT_EQ(displayFontHeight(INT_MIN), INT_MAX - 199);
}

}  // namespace
