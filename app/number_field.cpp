#include "app/number_field.h"

#include <string>

namespace vantorel {

FieldNumber readNumberField(HWND dialog, int id, std::uint32_t limit) {
    // The field's whole text: an edit without a length limit holds any number
    // of digits.
    HWND field = GetDlgItem(dialog, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(field, text.data(), static_cast<int>(text.size()))));

    // Like GetDlgItemInt: leading blanks skipped, digits up to the first
    // other character. Past 32 bits the value stops growing.
    std::size_t i = text.find_first_not_of(' ');
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= UINT32_MAX) value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (value > limit) return {limit, true};
    return {static_cast<std::uint32_t>(value), false};
}

}  // namespace vantorel
