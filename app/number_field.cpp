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
    return numberInField(text, limit);
}

}  // namespace vantorel
