#include "core/power.h"

#include <cstdint>

namespace tolvaro {

namespace {

// Repeated squaring, each product rounded to the format.
Extended SquaringPower(const Extended& base, std::int64_t n) {
    std::uint64_t bits = n < 0 ? static_cast<std::uint64_t>(-n) : static_cast<std::uint64_t>(n);
    Extended result = 1;
    Extended square = base;
    for (;;) {
        if (bits & 1u) result = result * square;
        bits >>= 1;
        if (bits == 0) break;
        square = square * square;
    }
    return n < 0 ? Extended(1) / result : result;
}

// A whole base to a positive whole power: MPFR's power is the exact one, rounded once.
Extended WholePower(const Extended& base, std::int64_t n) {
    const Extended::Range range;
    Extended::Mpfr x;
    base.Get(x);
    const int ternary = mpfr_pow_ui(x, x, static_cast<unsigned long>(n), MPFR_RNDN);
    return Extended::Round(x, ternary);
}

// exp(exponent * log(base)): the logarithm, the product and the exponential each rounded to
// the format.
Extended ExpLog(const Extended& base, const Extended& exponent) {
    const Extended::Range range;
    Extended::Mpfr x;
    base.Get(x);
    const Extended logarithm = Extended::Round(x, mpfr_log(x, x, MPFR_RNDN));
    (exponent * logarithm).Get(x);
    return Extended::Round(x, mpfr_exp(x, x, MPFR_RNDN));
}

// The value of a nonzero whole exponent of magnitude at most 2147483647 (below 2^31).
bool SmallWhole(const Extended& exponent, std::int64_t& n) {
    if (!exponent.IsWhole() || exponent.IsZero() || exponent.Exponent() > 31) return false;
    n = static_cast<std::int64_t>(static_cast<double>(exponent));  // exact below 2^31
    return true;
}

}  // namespace

Extended Power(Extended base, Extended exponent) {
    if (exponent == 0) return 1;
    if (base == 0 && exponent > 0) return 0;
    if (std::int64_t n = 0; SmallWhole(exponent, n)) {
        if (n > 0 && base.IsWhole()) return WholePower(base, n);
        return SquaringPower(base, n);
    }
    return ExpLog(base, exponent);
}

}  // namespace tolvaro
