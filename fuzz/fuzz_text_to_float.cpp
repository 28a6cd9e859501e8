// TextToFloat and IsNotNumber on arbitrary bytes.
//
// - Whatever is accepted has the number form, and every text of that form is accepted unless
//   its value lies beyond the extended range.
// - The value is the correctly rounded one: the C library's strtold (exact, round to nearest
//   even, subnormals included) reads the same digits to the same extended value, and it
//   overflows exactly where TextToFloat fails.
// - No infinity or NaN ever comes out.
// - IsNotNumber answers as the conversion of the text with its first "." read as the comma.
#include <cerrno>
#include <cmath>
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

void CheckConversion(std::string_view text) {
    const std::optional<long double> value = tolvaro::TextToFloat(text);
    const bool form = tolvaro::fuzz::IsNumberForm(text);
    if (value && !form) Fail("TextToFloat accepted a text that is not a number text", text);
    if (value && !std::isfinite(*value)) Fail("TextToFloat returned an infinity or NaN", text);
    if (!form) return;

    const std::string c = tolvaro::fuzz::ToCForm(text);
    errno = 0;
    char* end = nullptr;
    const long double expected = std::strtold(c.c_str(), &end);
    if (end != c.c_str() + c.size()) Fail("the C library did not read the whole number text", text);
    if (std::isinf(expected)) {
        if (value) Fail("TextToFloat accepted a value beyond the extended range", text);
        return;
    }
    if (!value) Fail("TextToFloat rejected a number text within the extended range", text);
    if (*value != expected || std::signbit(*value) != std::signbit(expected)) {
        std::fprintf(stderr, "got %.25Lg, correctly rounded %.25Lg\n", *value, expected);
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
