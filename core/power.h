#pragma once

#include <gmp.h>

#include "core/extended.h"

namespace tolvaro {

// base raised to exponent, in the extended format (core/extended.h):
//  1. exponent 0 gives 1;
//  2. base 0 with a positive exponent gives 0;
//  3. a whole exponent of magnitude at most 2147483647 gives the integer
//     power; for a whole base and a positive exponent it is the exact
//     power rounded once to the nearest extended value, otherwise it is
//     computed by repeated squaring (1 / r for a negative exponent);
//  4. anything else gives exp(exponent * log(base)), each step rounded.
Extended Power(Extended base, Extended exponent);

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

}  // namespace tolvaro
