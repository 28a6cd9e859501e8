#include "core/numbertext.h"

#include <memory>

#include "core/power.h"

namespace tolvaro {

namespace {

constexpr int kSignificantDigits = 15;
// Decimal exponents beyond which a text is certainly out of the extended
// range: every value >= 10^4933 overflows (the largest is about 1.19E4932),
// every value < 10^-4952 lies below half the smallest subnormal (about
// 3.65E-4951) and rounds to 0.
constexpr std::int64_t kOverflowDecade = 4933;
constexpr std::int64_t kZeroDecade = -4952;
// Exponent digits are read only up to this magnitude; anything larger is
// out of range either way.
constexpr std::int64_t kExponentCap = 1'000'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipSpaces(std::string_view text, std::size_t i) {
    while (i < text.size() && text[i] == ' ') ++i;
    return i;
}

// Takes an optional "-" or "+" at text[i]; true for "-".
bool TakeSign(std::string_view text, std::size_t& i) {
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        return text[i++] == '-';
    }
    return false;
}

}  // namespace

std::string IntToText(std::int32_t value) { return std::to_string(value); }

std::string FloatToText(const Extended& value) {
    if (value.IsNaN()) return "NAN";
    if (value.IsInfinite()) return value.SignBit() ? "-INF" : "INF";
    if (value.IsZero()) return "0";

    // Sixteen digits cut off toward zero tell the fifteenth's rounding half away from zero on
    // the exact value: a sixteenth digit of 5 or more means at least half a unit remains.
    Extended::Mpfr magnitude;
    value.Get(magnitude);
    mpfr_abs(magnitude, magnitude, MPFR_RNDN);
    mpfr_exp_t point = 0;  // the value is 0,d1d2... * 10^point
    const std::unique_ptr<char, decltype(&mpfr_free_str)> cut(
        mpfr_get_str(nullptr, &point, 10, kSignificantDigits + 1, magnitude, MPFR_RNDZ), &mpfr_free_str);
    std::string digits(cut.get(), kSignificantDigits);
    int decade = static_cast<int>(point) - 1;
    if (cut.get()[kSignificantDigits] >= '5') {
        const auto last = digits.find_last_not_of('9');
        if (last == std::string::npos) {  // 9,99...95 became 10
            digits = "1";
            ++decade;
        } else {
            ++digits[last];
            digits.resize(last + 1);
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);  // the first digit is never 0

    std::string text = value.SignBit() ? "-" : "";
    if (decade >= kSignificantDigits || decade < -4) {
        text += digits[0];
        if (digits.size() > 1) text += ',' + digits.substr(1);
        text += 'E';
        text += std::to_string(decade);  // "-" only when negative
    } else if (decade >= 0) {
        const auto integerDigits = static_cast<std::size_t>(decade) + 1;
        if (digits.size() <= integerDigits) {
            text += digits + std::string(integerDigits - digits.size(), '0');
        } else {
            text += digits.substr(0, integerDigits) + ',' + digits.substr(integerDigits);
        }
    } else {
        text += "0," + std::string(static_cast<std::size_t>(-decade - 1), '0') + digits;
    }
    return text;
}

std::optional<std::int32_t> TextToInt(std::string_view text) {
    std::size_t i = SkipSpaces(text, 0);
    const bool negative = TakeSign(text, i);
    if (i == text.size()) return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::optional<Extended> TextToFloat(std::string_view text) {
    std::size_t i = SkipSpaces(text, 0);
    const bool negative = TakeSign(text, i);

    // Mantissa: digits with at most one comma, at least one digit.
    std::string digits;
    std::int64_t fractionDigits = 0;
    bool anyDigit = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        digits += text[i];
        anyDigit = true;
    }
    if (i < text.size() && text[i] == ',') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            digits += text[i];
            ++fractionDigits;
            anyDigit = true;
        }
    }
    if (!anyDigit) return std::nullopt;

    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        const bool negativeExponent = TakeSign(text, i);
        if (i == text.size() || !IsDigit(text[i])) return std::nullopt;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - '0');
        }
        if (negativeExponent) exponent = -exponent;
    }
    i = SkipSpaces(text, i);
    if (i != text.size()) return std::nullopt;

    // value = digits * 10^scale, with the digits stripped of outer zeros.
    digits.erase(0, digits.find_first_not_of('0'));
    if (digits.empty()) return negative ? -Extended() : Extended();
    const std::size_t lastNonzero = digits.find_last_not_of('0');
    std::int64_t scale = exponent - fractionDigits + static_cast<std::int64_t>(digits.size() - 1 - lastNonzero);
    digits.erase(lastNonzero + 1);

    // The value lies in [10^(scale + count - 1), 10^(scale + count)).
    const auto count = static_cast<std::int64_t>(digits.size());
    if (scale + count - 1 >= kOverflowDecade) return std::nullopt;
    if (scale + count <= kZeroDecade) return negative ? -Extended() : Extended();

    // MPFR reads digits * 10^scale correctly rounded to 64 bits within the format's range.
    const std::string exact = (negative ? "-" : "") + digits + "e" + std::to_string(scale);
    const Extended::Range range;
    Extended::Mpfr read;
    const Extended value = Extended::Round(read, mpfr_strtofr(read, exact.c_str(), nullptr, 10, MPFR_RNDN));
    if (value.IsInfinite()) return std::nullopt;
    return value;
}

std::optional<bool> IsExactPowerText(std::string_view text, std::int32_t base, std::int32_t exponent) {
    std::size_t i = SkipSpaces(text, 0);
    const bool negative = TakeSign(text, i);
    const std::size_t first = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    const std::string digits(text.substr(first, i - first));
    if (digits.empty() || SkipSpaces(text, i) != text.size() || exponent < 0) return std::nullopt;

    GmpInteger answer;
    GmpInteger power;
    mpz_set_str(answer.get(), digits.c_str(), 10);
    if (negative) mpz_neg(answer.get(), answer.get());
    // |base|^exponent >= 2^((bits - 1) * exponent): a power with more bits than the answer is
    // not expanded.
    mpz_set_si(power.get(), base);
    const auto bits = static_cast<std::int64_t>(mpz_sizeinbase(power.get(), 2));
    if (base != 0 && (bits - 1) * exponent > static_cast<std::int64_t>(mpz_sizeinbase(answer.get(), 2))) return false;
    mpz_pow_ui(power.get(), power.get(), static_cast<unsigned long>(exponent));
    return mpz_cmp(answer.get(), power.get()) == 0;
}

bool IsNotInteger(std::string_view text) { return !TextToInt(text).has_value(); }

bool IsNotNumber(std::string_view text) {
    std::string copy(text);
    if (const auto point = copy.find('.'); point != std::string::npos) copy[point] = ',';
    return !TextToFloat(copy).has_value();
}

}  // namespace tolvaro
