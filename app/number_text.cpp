#include "app/number_text.h"

namespace vantorel {

FieldNumber numberInField(std::string_view text, std::uint32_t limit) {
    std::size_t i = text.find_first_not_of(' ');
    std::uint64_t value = 0;
    // Past 32 bits the value stops growing, so it cannot overflow.
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value <= UINT32_MAX) value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (value > limit) return {limit, true};
    return {static_cast<std::uint32_t>(value), false};
}

}  // namespace vantorel
