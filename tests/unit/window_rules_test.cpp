// The window's arithmetic: the number fields of the dialogs, the position
// limits and the button row with their 32-bit wrap, the digits' height and
// the help file's place.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/help_path.h"
#include "app/layout.h"
#include "app/number_text.h"

namespace vantorel {
namespace {

TEST(NumberField, ReadsTheLeadingDigitsAndHoldsThemAtTheLimit) {
    const struct {
        const char* text;
        std::uint32_t limit, value;
        bool clamped;
    } cases[] = {
        {"", 59, 0, false},
        {"  59", 59, 59, false},
        {"60", 59, 59, true},
        {"7x9", 99, 7, false},
        {"x9", 99, 0, false},
        {"099", 99, 99, false},
        {"4294967295", UINT_MAX, UINT_MAX, false},
        {"4294967296", UINT_MAX, UINT_MAX, true},
        {"99999999999999999999", 99, 99, true},
    };
    for (const auto& c : cases) {
        const FieldNumber n = numberInField(c.text, c.limit);
        EXPECT_EQ(std::to_string(n.value) + (n.clamped ? " clamped" : ""),
                  std::to_string(c.value) + (c.clamped ? " clamped" : ""))
            << '"' << c.text << '"';
    }
}

std::string row(std::int32_t left) {
    const ButtonRow x = buttonRow(left);
    return std::to_string(x.start) + " " + std::to_string(x.stop) + " " + std::to_string(x.reset);
}

std::string limits(std::int32_t right, std::int32_t bottom, std::int32_t displayTop) {
    const PositionLimits l = positionLimits(right, bottom, displayTop);
    return std::to_string(l.buttonsLeft) + " " + std::to_string(l.buttonsTop) + " " +
           std::to_string(l.displayTop);
}

TEST(Layout, WrapsAt32BitsAndClampsNothingBelowZero) {
    EXPECT_EQ(row(510), "510 600 690");
    EXPECT_EQ(row(INT_MAX), "2147483647 -2147483559 -2147483469");
    EXPECT_EQ(limits(1920, 1040, 100), "1660 55 690");
    EXPECT_EQ(limits(200, 300, 30), "4294967236 4294967281 4294967246");
    EXPECT_EQ(displayFontHeight(-16), -216);
    EXPECT_EQ(displayFontHeight(INT_MIN), INT_MAX - 199);
}

TEST(HelpPath, TheHelpFileSitsNextToTheProgram) {
    EXPECT_EQ(helpFilePath("C:\\Program Files\\Vantorel\\vantorel.exe"),
              "C:\\Program Files\\Vantorel\\vantorelhelp.chm");
    EXPECT_EQ(helpFilePath("Z:/b/vantorel.exe"), "Z:/b/vantorelhelp.chm");
    EXPECT_EQ(helpFilePath("vantorel.exe"), "");
    EXPECT_EQ(helpFilePath("C:\\" + std::string(243, 'f') + "\\v.exe"), "");  // 263 characters
}

}  // namespace
}  // namespace vantorel
