#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Flags held in 16-bit integers, as the chart state stores them.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

inline constexpr std::int16_t toFlag(bool value) { return value ? kTrue : kFalse; }

// Reads the leading number of a text: blanks are skipped, then an optional sign, digits and
// one decimal point. Whatever follows is ignored; empty or alphabetic text reads 0. A number
// too large for a double reads as an infinity of its sign: out of range, never 0.
double leadingNumber(std::string_view text);

// The whole text as a number (blanks around it allowed), or nothing when any of it is not part
// of one number. Used where a text must hold a number and nothing else.
std::optional<double> wholeNumberText(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour; nothing when the result
// does not fit a 16-bit integer.
std::optional<std::int16_t> toInt16(double value);

// A date or time field as the chart computation reads it: the whole text one number, rounded
// into 16 bits as above; nothing when either step fails.
std::optional<std::int16_t> wholeInt16(std::string_view text);

// Rounds halves to even without a range check (for values known to be small).
double roundHalfEven(double value);

// Drops the fraction toward zero; a negative zero becomes zero.
double truncateTowardZero(double value);
float truncateTowardZero(float value);

// The plain shortest text of a number: a minus sign only when negative, no blanks, no leading
// zeros, a fraction only when not zero, never an exponent. A float is written with the fewest
// digits that read back to the same float.
std::string numberText(double value);
std::string numberText(float value);
std::string numberText(int value);

// The whole minutes of the fraction of a decimal degree value, without sign, as text;
// truncated, not rounded: 39.83 and -39.83 both give "49". Computed in float.
std::string minutesText(float degrees);

} // namespace velmora
