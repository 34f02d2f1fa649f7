#include "platform/LogFile.h"

namespace platform {

namespace {

// `value` in `width` decimal digits, with leading zeros.
std::string Digits(int value, int width) {
    std::string digits(static_cast<size_t>(width), '0');
    for (int i = width - 1; i >= 0 && value > 0; --i, value /= 10)
        digits[static_cast<size_t>(i)] = static_cast<char>('0' + value % 10);
    return digits;
}

} // namespace

std::string FormatTimeStamp(int year, int month, int day, int hour, int minute, int second) {
    return Digits(year, 4) + "-" + Digits(month, 2) + "-" + Digits(day, 2) + " " + Digits(hour, 2) +
           ":" + Digits(minute, 2) + ":" + Digits(second, 2);
}

} // namespace platform
