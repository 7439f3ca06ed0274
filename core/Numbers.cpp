#include "core/Numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct Scan {
    double value = 0.0;
    std::size_t end = 0;    // index just past the last character taken
    bool hasDigits = false;
};

// Scans blanks, sign, digits and one decimal point from the start of the text. Blanks are
// skipped anywhere inside the number too, as a typed "1 2" means 12.
Scan scanNumber(std::string_view text)
{
    Scan scan;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string digits;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            digits += c;
            scan.hasDigits = true;
        } else if (c == '.' && !seenPoint) {
            digits += c;
            seenPoint = true;
        } else if (!isBlank(c)) {
            break;
        }
        scan.end = i + 1;
    }
    if (!scan.hasDigits)
        return scan;
    double magnitude = 0.0;
    const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (read.ec == std::errc::result_out_of_range) {
        // Too large for a double is out of range, never 0; too small to tell from 0 is 0.
        const bool wholePartNonZero =
            digits.find_first_not_of('0') < std::min(digits.find('.'), digits.size());
        magnitude = wholePartNonZero ? std::numeric_limits<double>::infinity() : 0.0;
    }
    scan.value = negative ? -magnitude : magnitude;
    return scan;
}

template <typename T>
std::string shortestText(T value)
{
    if (value == 0)
        return "0";
    // Left unset: to_chars writes what is read back.
    std::array<char, 512> buffer;
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

double leadingNumber(std::string_view text)
{
    return scanNumber(text).value;
}

std::optional<double> wholeNumberText(std::string_view text)
{
    const Scan scan = scanNumber(text);
    if (!scan.hasDigits)
        return std::nullopt;
    for (std::size_t i = scan.end; i < text.size(); ++i) {
        if (!isBlank(text[i]))
            return std::nullopt;
    }
    return scan.value;
}

double roundHalfEven(double value)
{
    // std::nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    return std::nearbyint(value);
}

std::optional<std::int16_t> toInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> wholeInt16(std::string_view text)
{
    const std::optional<double> number = wholeNumberText(text);
    return number ? toInt16(*number) : std::nullopt;
}

double truncateTowardZero(double value)
{
    return std::trunc(value) + 0.0;
}

float truncateTowardZero(float value)
{
    return std::trunc(value) + 0.0f;
}

std::string numberText(double value)
{
    return shortestText(value);
}

std::string numberText(float value)
{
    return shortestText(value);
}

std::string numberText(int value)
{
    return std::to_string(value);
}

std::string minutesText(float degrees)
{
    const float fraction = degrees - truncateTowardZero(degrees);
    const float minutes = fraction * 60.0f;
    return numberText(std::fabs(truncateTowardZero(minutes)));
}

} // namespace velmora
