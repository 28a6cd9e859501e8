#include "core/numbertext.h"

#include <cmath>

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

// mpz = 10^power.
void SetPowerOfTen(mpz_ptr target, std::int64_t power) {
    mpz_ui_pow_ui(target, 10, static_cast<unsigned long>(power));
}

// The 15 significant digits of |value| (finite, nonzero), rounded half
// away from zero on the exact binary value, as a whole number in
// [10^14, 10^15); decade receives the decimal exponent of the first digit.
std::uint64_t SignificantDigits(long double value, int& decade) {
    GmpInteger mantissa;
    const std::int32_t binaryExponent = SplitExtended(value, mantissa.get());
    mpz_abs(mantissa.get(), mantissa.get());

    GmpInteger lowest;   // 10^14
    GmpInteger beyond;   // 10^15
    SetPowerOfTen(lowest.get(), kSignificantDigits - 1);
    SetPowerOfTen(beyond.get(), kSignificantDigits);

    // The estimate is off by at most one near powers of ten; the loop fixes it.
    decade = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    GmpInteger numerator;
    GmpInteger denominator;
    GmpInteger scale;
    GmpInteger quotient;
    GmpInteger remainder;
    for (;;) {
        // |value| / 10^(decade - 14) as numerator / denominator.
        mpz_set(numerator.get(), mantissa.get());
        mpz_set_ui(denominator.get(), 1);
        if (binaryExponent >= 0)
            mpz_mul_2exp(numerator.get(), numerator.get(), static_cast<mp_bitcnt_t>(binaryExponent));
        else
            mpz_mul_2exp(denominator.get(), denominator.get(), static_cast<mp_bitcnt_t>(-binaryExponent));
        const int shift = kSignificantDigits - 1 - decade;
        if (shift >= 0) {
            SetPowerOfTen(scale.get(), shift);
            mpz_mul(numerator.get(), numerator.get(), scale.get());
        } else {
            SetPowerOfTen(scale.get(), -shift);
            mpz_mul(denominator.get(), denominator.get(), scale.get());
        }
        mpz_tdiv_qr(quotient.get(), remainder.get(), numerator.get(), denominator.get());
        if (mpz_cmp(quotient.get(), beyond.get()) >= 0) {
            ++decade;
        } else if (mpz_cmp(quotient.get(), lowest.get()) < 0) {
            --decade;
        } else {
            break;
        }
    }

    // Half away from zero: up when the remainder is at least half the divisor.
    mpz_mul_2exp(remainder.get(), remainder.get(), 1);
    if (mpz_cmp(remainder.get(), denominator.get()) >= 0) mpz_add_ui(quotient.get(), quotient.get(), 1);
    if (mpz_cmp(quotient.get(), beyond.get()) == 0) {  // 9,99...95 became 10
        mpz_set(quotient.get(), lowest.get());
        ++decade;
    }
    return mpz_get_ui(quotient.get());
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

std::string FloatToText(long double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0.0L) return "0";

    int decade = 0;
    std::string digits = std::to_string(SignificantDigits(value, decade));
    digits.erase(digits.find_last_not_of('0') + 1);  // the first digit is never 0

    std::string text = value < 0 ? "-" : "";
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

std::optional<long double> TextToFloat(std::string_view text) {
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
    if (digits.empty()) return negative ? -0.0L : 0.0L;
    const std::size_t lastNonzero = digits.find_last_not_of('0');
    std::int64_t scale = exponent - fractionDigits + static_cast<std::int64_t>(digits.size() - 1 - lastNonzero);
    digits.erase(lastNonzero + 1);

    // The value lies in [10^(scale + count - 1), 10^(scale + count)).
    const auto count = static_cast<std::int64_t>(digits.size());
    if (scale + count - 1 >= kOverflowDecade) return std::nullopt;
    if (scale + count <= kZeroDecade) return negative ? -0.0L : 0.0L;

    GmpInteger numerator;
    GmpInteger denominator;
    mpz_set_str(numerator.get(), digits.c_str(), 10);
    if (negative) mpz_neg(numerator.get(), numerator.get());
    mpz_set_ui(denominator.get(), 1);
    GmpInteger power;
    if (scale >= 0) {
        SetPowerOfTen(power.get(), scale);
        mpz_mul(numerator.get(), numerator.get(), power.get());
    } else {
        SetPowerOfTen(power.get(), -scale);
        mpz_mul(denominator.get(), denominator.get(), power.get());
    }

    const long double value = RoundToExtended(numerator.get(), denominator.get());
    if (std::isinf(value)) return std::nullopt;
    return value;
}

bool IsNotInteger(std::string_view text) { return !TextToInt(text).has_value(); }

bool IsNotNumber(std::string_view text) {
    std::string copy(text);
    if (const auto point = copy.find('.'); point != std::string::npos) copy[point] = ',';
    return !TextToFloat(copy).has_value();
}

}  // namespace tolvaro
