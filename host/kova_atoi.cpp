// atoi without undefined behaviour: the magnitude saturates at the limit of
// its sign while the digits are read, so no intermediate value overflows.
#include "host/kova_atoi.h"

#include <algorithm>

namespace {

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int32_t kova_atoi(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    while (is_space(*text)) {
        ++text;
    }
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        ++text;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;  // never above limit, so magnitude * 10 + 9 fits
    for (; is_digit(*text); ++text) {
        magnitude = std::min(magnitude * 10 + (*text - '0'), limit);
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}
