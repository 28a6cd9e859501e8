#include "core/power.h"

#include <climits>
#include <cmath>

namespace tolvaro {

static_assert(ULONG_MAX >= 0xFFFFFFFFFFFFFFFFull, "a 64-bit significand must fit an mpz limb word");

namespace {

constexpr int kSignificandBits = std::numeric_limits<long double>::digits;  // 64
// Weight of the last significand bit of the smallest subnormal: 2^-16445.
constexpr std::int64_t kSmallestQuantum =
    std::numeric_limits<long double>::min_exponent - kSignificandBits;
// 2^kNoFiniteAbove is beyond the largest finite value.
constexpr std::int64_t kNoFiniteAbove = std::numeric_limits<long double>::max_exponent;  // 16384

long double SignedInfinity(bool negative) {
    const long double inf = std::numeric_limits<long double>::infinity();
    return negative ? -inf : inf;
}

// Repeated squaring in extended precision, each product rounded to nearest.
long double SquaringPower(long double base, std::int64_t n) {
    std::uint64_t bits = n < 0 ? static_cast<std::uint64_t>(-n) : static_cast<std::uint64_t>(n);
    long double result = 1.0L;
    long double square = base;
    for (;;) {
        if (bits & 1u) result *= square;
        bits >>= 1;
        if (bits == 0) break;
        square *= square;
    }
    return n < 0 ? 1.0L / result : result;
}

// A finite whole base to a positive whole power: the exact power, rounded
// once. Powers that certainly exceed the extended range are not expanded.
long double WholePower(long double base, std::int64_t n) {
    GmpInteger whole;
    const std::int32_t shift = SplitExtended(base, whole.get());
    if (shift >= 0)
        mpz_mul_2exp(whole.get(), whole.get(), static_cast<mp_bitcnt_t>(shift));
    else
        mpz_tdiv_q_2exp(whole.get(), whole.get(), static_cast<mp_bitcnt_t>(-shift));  // exact: base is whole

    const bool negative = mpz_sgn(whole.get()) < 0 && (n & 1) != 0;
    // |base| >= 2^(bits - 1), so |base|^n >= 2^((bits - 1) * n).
    const auto bits = static_cast<std::int64_t>(mpz_sizeinbase(whole.get(), 2));
    if ((bits - 1) * n >= kNoFiniteAbove) return SignedInfinity(negative);

    GmpInteger power;
    GmpInteger one;
    mpz_pow_ui(power.get(), whole.get(), static_cast<unsigned long>(n));
    mpz_set_ui(one.get(), 1);
    return RoundToExtended(power.get(), one.get());
}

}  // namespace

std::int32_t SplitExtended(long double value, mpz_ptr mantissa) {
    if (value == 0.0L || !std::isfinite(value)) {
        mpz_set_ui(mantissa, 0);
        return 0;
    }
    int exponent = 0;
    const long double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
    // All 64 significand bits as a whole number in [2^63, 2^64): exact.
    const auto bits = static_cast<std::uint64_t>(std::ldexp(fraction, kSignificandBits));
    mpz_set_ui(mantissa, static_cast<unsigned long>(bits));
    if (value < 0.0L) mpz_neg(mantissa, mantissa);
    return exponent - kSignificandBits;
}

long double RoundToExtended(mpz_srcptr numerator, mpz_srcptr denominator) {
    const int sign = mpz_sgn(numerator);
    if (sign == 0) return 0.0L;
    const bool negative = sign < 0;

    GmpInteger n;
    mpz_abs(n.get(), numerator);
    const mpz_srcptr d = denominator;

    // n / d lies in (2^(e - 1), 2^(e + 1)).
    const std::int64_t e = static_cast<std::int64_t>(mpz_sizeinbase(n.get(), 2)) -
                           static_cast<std::int64_t>(mpz_sizeinbase(d, 2));
    if (e - 1 >= kNoFiniteAbove) return SignedInfinity(negative);
    if (e + 1 < kSmallestQuantum - 1) return negative ? -0.0L : 0.0L;  // below half the smallest subnormal

    // q = floor(n * 2^s / d) has 65 or 66 bits; the remainder only matters
    // as a sticky bit below them.
    const std::int64_t s = kSignificandBits + 1 - e;
    GmpInteger scaledN;
    GmpInteger scaledD;
    if (s >= 0) {
        mpz_mul_2exp(scaledN.get(), n.get(), static_cast<mp_bitcnt_t>(s));
        mpz_set(scaledD.get(), d);
    } else {
        mpz_set(scaledN.get(), n.get());
        mpz_mul_2exp(scaledD.get(), d, static_cast<mp_bitcnt_t>(-s));
    }
    GmpInteger q;
    GmpInteger r;
    mpz_tdiv_qr(q.get(), r.get(), scaledN.get(), scaledD.get());
    const bool remainderNonzero = mpz_sgn(r.get()) != 0;

    // Drop the bits below the last significand bit: keep 64 bits, or fewer
    // for a subnormal, whose last bit weighs 2^kSmallestQuantum.
    std::int64_t drop = static_cast<std::int64_t>(mpz_sizeinbase(q.get(), 2)) - kSignificandBits;
    if (drop - s < kSmallestQuantum) drop = kSmallestQuantum + s;

    const auto dropBits = static_cast<mp_bitcnt_t>(drop);  // drop >= 1
    const bool roundBit = mpz_tstbit(q.get(), dropBits - 1) != 0;
    const bool lowerBits = mpz_scan1(q.get(), 0) < dropBits - 1;
    GmpInteger kept;
    mpz_tdiv_q_2exp(kept.get(), q.get(), dropBits);
    if (roundBit && (remainderNonzero || lowerBits || mpz_odd_p(kept.get())))
        mpz_add_ui(kept.get(), kept.get(), 1);
    if (mpz_sizeinbase(kept.get(), 2) > static_cast<std::size_t>(kSignificandBits)) {
        // Rounded up to 2^64: the same value with one bit less.
        mpz_tdiv_q_2exp(kept.get(), kept.get(), 1);
        ++drop;
    }

    const auto significand = static_cast<long double>(mpz_get_ui(kept.get()));  // exact
    // significand * 2^(drop - s) is representable unless it overflows.
    const long double magnitude = std::ldexp(significand, static_cast<int>(drop - s));
    return negative ? -magnitude : magnitude;
}

long double Power(long double base, long double exponent) {
    if (exponent == 0.0L) return 1.0L;
    if (base == 0.0L && exponent > 0.0L) return 0.0L;
    if (exponent == std::trunc(exponent) && std::fabs(exponent) <= 2147483647.0L) {
        const auto n = static_cast<std::int64_t>(exponent);
        if (n > 0 && std::isfinite(base) && base == std::trunc(base)) return WholePower(base, n);
        return SquaringPower(base, n);
    }
    return std::exp(exponent * std::log(base));
}

}  // namespace tolvaro
