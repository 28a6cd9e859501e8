// TextToFloat and IsNotNumber on arbitrary bytes.
//
// - Whatever is accepted has the number form, and every text of that form is accepted unless
//   its value lies beyond the extended range.
// - The value is the correctly rounded one: MPFR's own reading of the same digits, rounded to
//   nearest even into the extended format (subnormals included), gives the same value, and it
//   overflows exactly where TextToFloat fails.
// - No infinity or NaN ever comes out.
// - IsNotNumber answers as the conversion of the text with its first "." read as the comma.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/numbertext.h"
#include "grammar.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "FAULT: %s for text \"%.*s\" (%zu bytes)\n", what, static_cast<int>(text.size()),
                 text.data(), text.size());
    std::abort();
}

// MPFR 4.2.0 misreads an exponent beyond the range of long after leading fraction zeros
// ("0.01e-9223372036854775808" reads as infinity). An exponent of a million or more in magnitude
// puts a text of at most 128 digits far beyond the range or far below it, so the reference reads
// such an exponent as a million.
std::string TameExponent(std::string c) {
    const auto mark = c.find_first_of("eE");
    if (mark == std::string::npos) return c;
    std::size_t digits = mark + 1;
    if (digits < c.size() && (c[digits] == '+' || c[digits] == '-')) ++digits;
    const auto first = c.find_first_not_of('0', digits);
    if (first != std::string::npos && c.size() - first > 6) c.replace(digits, std::string::npos, "1000000");
    return c;
}

void CheckConversion(std::string_view text) {
    using tolvaro::Extended;
    const std::optional<Extended> value = tolvaro::TextToFloat(text);
    const bool form = tolvaro::fuzz::IsNumberForm(text);
    if (value && !form) Fail("TextToFloat accepted a text that is not a number text", text);
    if (value && !value->IsFinite()) Fail("TextToFloat returned an infinity or NaN", text);
    if (!form) return;

    const std::string c = TameExponent(tolvaro::fuzz::ToCForm(text));
    const Extended::Range range;
    Extended::Mpfr read;
    char* end = nullptr;
    const Extended expected = Extended::Round(read, mpfr_strtofr(read, c.c_str(), &end, 10, MPFR_RNDN));
    if (end != c.c_str() + c.size()) Fail("MPFR did not read the whole number text", text);
    if (expected.IsInfinite()) {
        if (value) Fail("TextToFloat accepted a value beyond the extended range", text);
        return;
    }
    if (!value) Fail("TextToFloat rejected a number text within the extended range", text);
    if (*value != expected || value->SignBit() != expected.SignBit()) {
        std::fprintf(stderr, "got %s, correctly rounded %s\n", tolvaro::FloatToText(*value).c_str(),
                     tolvaro::FloatToText(expected).c_str());
        Fail("TextToFloat did not give the nearest extended value", text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckConversion(text);

    std::string pointRead(text);
    if (const auto point = pointRead.find('.'); point != std::string::npos) pointRead[point] = ',';
    const bool notNumber = tolvaro::IsNotNumber(text);
    if (notNumber != !tolvaro::TextToFloat(pointRead).has_value())
        Fail("IsNotNumber disagrees with TextToFloat of the text with its first '.' read as ','", text);
    if (!notNumber && !tolvaro::fuzz::IsNumberForm(pointRead))
        Fail("IsNotNumber accepted a text whose point-read form is not a number text", text);
    return 0;
}
