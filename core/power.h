#pragma once

#include <cstdint>
#include <limits>

#include <gmp.h>

namespace tolvaro {

// Bases, exponents and powers are held as 80-bit extended values: 64-bit
// significand, large enough for 999999^99 (about 10^594).
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit extended type");

// base raised to exponent:
//  1. exponent 0 gives 1;
//  2. base 0 with a positive exponent gives 0;
//  3. a whole exponent of magnitude at most 2147483647 gives the integer
//     power; for a whole base and a non-negative exponent it is the exact
//     power rounded once to the nearest extended value, otherwise it is
//     computed by repeated squaring (1 / r for a negative exponent);
//  4. anything else gives expl(exponent * logl(base)).
long double Power(long double base, long double exponent);

// Exact helpers shared by the power and the number texts.

// An mpz_t that clears itself.
class GmpInteger {
public:
    GmpInteger() { mpz_init(value_); }
    ~GmpInteger() { mpz_clear(value_); }
    GmpInteger(const GmpInteger&) = delete;
    GmpInteger& operator=(const GmpInteger&) = delete;

    mpz_ptr get() { return value_; }
    mpz_srcptr get() const { return value_; }

private:
    mpz_t value_;
};

// Splits a finite value into an integer and a power of two:
// value == mantissa * 2^(returned exponent), exactly. Zero gives mantissa 0.
std::int32_t SplitExtended(long double value, mpz_ptr mantissa);

// The extended value nearest to numerator / denominator (denominator > 0),
// ties to even, with subnormal results where needed. A quotient beyond the
// largest finite value gives an infinity, one below half the smallest
// subnormal gives zero; both carry the sign of the numerator.
long double RoundToExtended(mpz_srcptr numerator, mpz_srcptr denominator);

}  // namespace tolvaro
