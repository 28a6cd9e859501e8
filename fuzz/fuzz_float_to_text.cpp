// FloatToText on every finite 80-bit extended value that ten bytes can spell.
//
// - The text is the general format with 15 significant digits: the digits are those of MPFR's
//   exact "%.14Re" conversion, except that a tie rounds away from zero; plain
//   notation for decimal exponents -4 to 14, otherwise "d,dddE-x" with no plus sign and no
//   leading zeros in the exponent; trailing zeros dropped, the comma only before a fraction.
// - Read back with TextToFloat, the text gives a finite value within 15 significant digits of
//   the original (relative error about 5E-15, plus the subnormal step).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/numbertext.h"

namespace {

using tolvaro::Extended;

// MPFR's printf of the value: "%Ra" shows it exactly.
int Print(char* buffer, std::size_t size, const char* format, const Extended& value) {
    Extended::Mpfr x;
    value.Get(x);
    return mpfr_snprintf(buffer, size, format, static_cast<mpfr_srcptr>(x));
}

[[noreturn]] void Fail(const char* what, const Extended& value, const std::string& text) {
    char exact[64];
    Print(exact, sizeof exact, "%Ra", value);
    std::fprintf(stderr, "FAULT: %s for value %s, text \"%s\"\n", what, exact, text.c_str());
    std::abort();
}

// The value spelled by the ten bytes of the 80-bit format (little-endian significand with its
// integer bit, then sign and exponent), or false for the encodings that no arithmetic produces
// (infinities, NaNs); unnormal and pseudo-denormal bit patterns are mended to the value their
// bits mean in the canonical encoding.
bool ValueOf(const std::uint8_t* bytes, Extended& value) {
    std::uint64_t significand = 0;
    for (int i = 7; i >= 0; --i) significand = significand << 8 | bytes[i];
    const unsigned signExponent = bytes[8] | static_cast<unsigned>(bytes[9]) << 8;
    const unsigned exponent = signExponent & 0x7FFFu;
    if (exponent == 0x7FFFu) return false;
    const std::uint64_t integerBit = std::uint64_t{1} << 63;
    significand = exponent == 0 ? (significand & ~integerBit) : (significand | integerBit);
    // The significand's last bit weighs 2^(exponent - 16383 - 63), with exponent 1 for subnormals.
    value = Ldexp(Extended(significand), static_cast<long>(exponent == 0 ? 1 : exponent) - 16383 - 63);
    if (signExponent & 0x8000u) value = -value;
    return true;
}

// 15 significant digits of |value| (nonzero) rounded half away from zero, and the decimal
// exponent of the first one.
std::string ExpectedDigits(const Extended& value, int& decade) {
    const Extended magnitude = value.SignBit() ? -value : value;
    char buffer[64];
    Print(buffer, sizeof buffer, "%.14Re", magnitude);  // d.dddddddddddddde+x, ties to even
    std::string digits = std::string(1, buffer[0]) + std::string(buffer + 2, 14);
    decade = std::atoi(std::strchr(buffer, 'e') + 1);

    // Is the rest beyond the 15th digit exactly one half? Then the C library may have rounded
    // down to even where the rule rounds away from zero.
    Print(buffer, sizeof buffer, "%.24Re", magnitude);
    const std::string longer = std::string(1, buffer[0]) + std::string(buffer + 2, 24);
    const bool maybeTie = longer.compare(15, 10, "5000000000") == 0 || longer.compare(15, 10, "4999999999") == 0;
    if (maybeTie) {
        // The exact expansion: a 64-bit significand times a power of two has at most about
        // 11,500 significant decimal digits.
        std::vector<char> exact(20000);
        Print(exact.data(), exact.size(), "%.16000Re", magnitude);
        std::string all = std::string(1, exact[0]);
        for (const char* p = exact.data() + 2; *p != 'e'; ++p) all += *p;
        const bool tie = all[15] == '5' && all.find_first_not_of('0', 16) == std::string::npos;
        if (tie) {
            digits = all.substr(0, 15);
            decade = std::atoi(std::strchr(exact.data(), 'e') + 1);
            int i = 14;
            while (i >= 0 && digits[i] == '9') digits[i--] = '0';
            if (i < 0) {
                digits = "1" + std::string(14, '0');
                ++decade;
            } else {
                ++digits[i];
            }
        }
    }
    return digits;
}

std::string ExpectedText(const Extended& value) {
    if (value == 0) return "0";
    int decade = 0;
    std::string digits = ExpectedDigits(value, decade);
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string text = value.SignBit() ? "-" : "";
    if (decade >= 15 || decade < -4) {
        text += digits.substr(0, 1);
        if (digits.size() > 1) text += "," + digits.substr(1);
        text += "E" + std::to_string(decade);
    } else if (decade >= 0) {
        const std::size_t whole = static_cast<std::size_t>(decade) + 1;
        if (digits.size() <= whole) {
            text += digits + std::string(whole - digits.size(), '0');
        } else {
            text += digits.substr(0, whole) + "," + digits.substr(whole);
        }
    } else {
        text += "0," + std::string(static_cast<std::size_t>(-decade - 1), '0') + digits;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 10) return 0;
    Extended value;
    if (!ValueOf(data, value)) return 0;

    const std::string text = tolvaro::FloatToText(value);
    const std::string expected = ExpectedText(value);
    if (text != expected && !(value == 0 && text == "-0")) {
        std::fprintf(stderr, "expected \"%s\"\n", expected.c_str());
        Fail("FloatToText wrote the wrong text", value, text);
    }

    const auto back = tolvaro::TextToFloat(text);
    if (!back) Fail("TextToFloat rejected the text of FloatToText", value, text);
    if (!back->IsFinite()) Fail("the text of FloatToText read back as an infinity or NaN", value, text);
    const Extended difference = *back - value;
    const Extended error = difference.SignBit() ? -difference : difference;
    const Extended magnitude = value.SignBit() ? -value : value;
    // Half a unit in the 15th digit, plus the rounding of the read-back to 64 bits (or to the
    // subnormal step).
    if (error > Extended(5.0001e-15) * magnitude + Extended::DenormMin()) {
        Fail("the text of FloatToText is not within 15 significant digits", value, text);
    }
    return 0;
}
