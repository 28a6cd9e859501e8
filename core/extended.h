#pragma once

#include <bit>
#include <compare>
#include <concepts>
#include <cstdint>
#include <type_traits>

// <cstdint> first: MPFR declares its intmax_t functions only after it.
#include <mpfr.h>

namespace tolvaro {

// A value of the 80-bit extended format: 64-bit significand, exponents down to the subnormal
// 2^-16445 and up to about 1.19E4932, infinities and NaN. Bases, exponents, powers and the
// contest's percentage are held in it. Every operation rounds to nearest, ties to even, once,
// into that format, so the results are those of the x87's extended arithmetic on every
// processor: MPFR does the arithmetic at 64 bits in the format's exponent range, and rounds into
// the subnormals with mpfr_subnormalize. The processor's own long double (113 bits on arm64, a
// plain double on armhf) plays no part.
//
// A value is held as sign, significand in [2^63, 2^64) and exponent: equal values have equal
// fields, apart from the two zeros, which compare equal.
class Extended {
public:
    static constexpr mpfr_prec_t kDigits = 64;
    // MPFR's exponents (value = 0.1... * 2^exponent): the largest finite value is just below
    // 2^16384, the smallest subnormal is 2^-16445.
    static constexpr mpfr_exp_t kMaxExponent = 16384;
    static constexpr mpfr_exp_t kMinNormalExponent = -16381;
    static constexpr mpfr_exp_t kMinExponent = -16444;

    // An mpfr_t of the format's 64 bits that clears itself.
    class Mpfr {
    public:
        Mpfr() { mpfr_init2(value_, kDigits); }
        ~Mpfr() { mpfr_clear(value_); }
        Mpfr(const Mpfr&) = delete;
        Mpfr& operator=(const Mpfr&) = delete;
        operator mpfr_ptr() { return value_; }
        operator mpfr_srcptr() const { return value_; }

    private:
        mpfr_t value_;
    };

    // While one lives, MPFR's exponent range is the format's; the previous range comes back
    // when it ends.
    class Range {
    public:
        Range();
        ~Range();
        Range(const Range&) = delete;
        Range& operator=(const Range&) = delete;

    private:
        mpfr_exp_t emin_;
        mpfr_exp_t emax_;
    };

    constexpr Extended() = default;  // +0

    // Whole numbers: exact, since every integer type has at most 64 bits.
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    constexpr Extended(T value) {  // implicit: a whole number simply is a value
        using Unsigned = std::make_unsigned_t<T>;
        auto magnitude = static_cast<std::uint64_t>(static_cast<Unsigned>(value));
        if constexpr (std::is_signed_v<T>) {
            if (value < 0) {
                negative_ = true;
                magnitude = static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
            }
        }
        if (magnitude == 0) return;
        const int shift = std::countl_zero(magnitude);
        kind_ = Kind::Finite;
        significand_ = magnitude << shift;
        exponent_ = static_cast<std::int32_t>(kDigits - shift);
    }

    // Exact: a double's 53 bits fit.
    explicit Extended(double value);

    static Extended Infinity(bool negative = false);
    static Extended NaN();
    static Extended Max();        // the largest finite value
    static Extended MinNormal();  // 2^-16382
    static Extended DenormMin();  // 2^-16445

    bool IsNaN() const { return kind_ == Kind::NaN; }
    bool IsInfinite() const { return kind_ == Kind::Infinite; }
    bool IsFinite() const { return kind_ == Kind::Zero || kind_ == Kind::Finite; }
    bool IsZero() const { return kind_ == Kind::Zero; }
    bool IsWhole() const;  // finite with no fractional part
    bool SignBit() const { return negative_; }

    // MPFR's exponent of a finite nonzero value: 2^(e - 1) <= |value| < 2^e.
    std::int32_t Exponent() const { return exponent_; }
    // The nearest double (for display and measurement only).
    explicit operator double() const;

    // Sets target (of 64 bits or more) to this value, exactly.
    void Get(mpfr_ptr target) const;
    // The value of a 64-bit result that MPFR computed within a Range, with ternary its ternary
    // value, rounded into the subnormals where it is that small.
    static Extended Round(mpfr_ptr result, int ternary);

    Extended operator-() const;
    friend Extended operator+(const Extended& a, const Extended& b);
    friend Extended operator-(const Extended& a, const Extended& b);
    friend Extended operator*(const Extended& a, const Extended& b);
    friend Extended operator/(const Extended& a, const Extended& b);
    // value * 2^power, rounded like any other operation.
    friend Extended Ldexp(const Extended& value, long power);

    // As the format compares: NaN equals nothing, -0 equals 0.
    friend bool operator==(const Extended& a, const Extended& b);
    friend std::partial_ordering operator<=>(const Extended& a, const Extended& b);

private:
    enum class Kind : std::uint8_t { Zero, Finite, Infinite, NaN };

    // An exact copy of an MPFR value that the format holds.
    static Extended From(mpfr_srcptr value);

    Kind kind_ = Kind::Zero;
    bool negative_ = false;
    std::int32_t exponent_ = 0;
    std::uint64_t significand_ = 0;  // in [2^63, 2^64) when finite and nonzero
};

Extended Ldexp(const Extended& value, long power);

}  // namespace tolvaro
