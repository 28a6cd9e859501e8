// TextToInt and IsNotInteger on arbitrary bytes: accepted are exactly the texts of optional
// leading spaces, an optional sign and decimal digits up to the end with a value in the signed
// 32-bit range, with that value; IsNotInteger is true exactly when TextToInt fails.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/numbertext.h"
#include "grammar.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "FAULT: %s for text \"%.*s\" (%zu bytes)\n", what, static_cast<int>(text.size()),
                 text.data(), text.size());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = tolvaro::TextToInt(text);
    const auto expected = tolvaro::fuzz::ReadIntegerForm(text);
    if (value.has_value() != expected.has_value())
        Fail(value ? "TextToInt accepted a text that is not an integer text"
                   : "TextToInt rejected an integer text",
             text);
    if (value && *value != *expected) {
        std::fprintf(stderr, "got %d, expected %lld\n", *value, static_cast<long long>(*expected));
        Fail("TextToInt read the wrong value", text);
    }
    if (tolvaro::IsNotInteger(text) != !value.has_value()) Fail("IsNotInteger disagrees with TextToInt", text);
    // Every integer text is a number text of the same value.
    if (value) {
        const auto asFloat = tolvaro::TextToFloat(text);
        if (!asFloat || *asFloat != tolvaro::Extended(*value))
            Fail("an integer text did not read as the same floating-point value", text);
    }
    return 0;
}
