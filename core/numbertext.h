#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/extended.h"

namespace tolvaro {

// Number texts of the whole program. Texts are UTF-8; the decimal separator
// is always the comma, whatever the process locale says.

// Decimal digits with a leading "-" for negative values; no grouping.
std::string IntToText(std::int32_t value);

// General format with at most 15 significant digits, rounded half away from
// zero on the exact binary value, trailing zeros dropped, comma only when a
// fraction remains. Plain notation while the integer part has at most 15
// digits and the magnitude is at least 0.0001 (or the value is 0); otherwise
// "d,dddE-x" style: one digit, the rest after the comma, "E", a "-" only for
// negative exponents. Infinities print as "INF" / "-INF", NaN as "NAN".
std::string FloatToText(const Extended& value);

// Optional leading spaces, optional "-" or "+", then decimal digits up to
// the end, within the signed 32-bit range. Anything else fails.
std::optional<std::int32_t> TextToInt(std::string_view text);

// Optional leading spaces, optional sign, decimal digits with at most one
// comma (",5" and "5," are read as 0,5 and 5), optional exponent ("E" or "e",
// optional sign, digits), optional trailing spaces. Only ' ' counts as a
// space. The result is the nearest extended value (ties to even); a value
// beyond the extended range fails, a value too small for it becomes 0.
std::optional<Extended> TextToFloat(std::string_view text);

// For a whole-number text (optional spaces, an optional sign, decimal digits, optional spaces):
// whether its value is exactly base^exponent. Nothing for any other text, or for a negative
// exponent, whose power is no whole number.
std::optional<bool> IsExactPowerText(std::string_view text, std::int32_t base, std::int32_t exponent);

// True when text is not an integer text (TextToInt fails).
bool IsNotInteger(std::string_view text);

// True when text is not a number text, reading its first "." as the comma.
bool IsNotNumber(std::string_view text);

}  // namespace tolvaro
