#include "core/extended.h"

#include <cmath>
#include <tuple>

namespace tolvaro {

namespace {

constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;

// a op b in the format: MPFR rounds once to 64 bits within the format's range, then into the
// subnormals.
template <typename Operation>
Extended Apply(Operation operation, const Extended& a, const Extended& b) {
    const Extended::Range range;
    Extended::Mpfr x;
    Extended::Mpfr y;
    a.Get(x);
    b.Get(y);
    const int ternary = operation(x, x, y, MPFR_RNDN);
    return Extended::Round(x, ternary);
}

}  // namespace

Extended::Range::Range() : emin_(mpfr_get_emin()), emax_(mpfr_get_emax()) {
    mpfr_set_emin(kMinExponent);
    mpfr_set_emax(kMaxExponent);
}

Extended::Range::~Range() {
    mpfr_set_emin(emin_);
    mpfr_set_emax(emax_);
}

Extended::Extended(double value) {
    negative_ = std::signbit(value);
    if (std::isnan(value)) {
        kind_ = Kind::NaN;
        negative_ = false;
    } else if (std::isinf(value)) {
        kind_ = Kind::Infinite;
    } else if (value != 0.0) {
        int exponent = 0;
        const double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
        kind_ = Kind::Finite;
        significand_ = static_cast<std::uint64_t>(std::ldexp(fraction, 53)) << 11;
        exponent_ = exponent;
    }
}

Extended Extended::Infinity(bool negative) {
    Extended value;
    value.kind_ = Kind::Infinite;
    value.negative_ = negative;
    return value;
}

Extended Extended::NaN() {
    Extended value;
    value.kind_ = Kind::NaN;
    return value;
}

Extended Extended::Max() {
    Extended value(~std::uint64_t{0});
    value.exponent_ = kMaxExponent;
    return value;
}

Extended Extended::MinNormal() {
    Extended value(kTopBit);
    value.exponent_ = kMinNormalExponent;
    return value;
}

Extended Extended::DenormMin() {
    Extended value(kTopBit);
    value.exponent_ = kMinExponent;
    return value;
}

bool Extended::IsWhole() const {
    if (kind_ == Kind::Zero) return true;
    if (kind_ != Kind::Finite || exponent_ <= 0) return false;
    if (exponent_ >= kDigits) return true;
    return (significand_ << exponent_) == 0;  // no bits below the units
}

Extended::operator double() const {
    Mpfr value;
    Get(value);
    return mpfr_get_d(value, MPFR_RNDN);
}

void Extended::Get(mpfr_ptr target) const {
    const int sign = negative_ ? -1 : 1;
    switch (kind_) {
        case Kind::Zero: mpfr_set_zero(target, sign); break;
        case Kind::Infinite: mpfr_set_inf(target, sign); break;
        case Kind::NaN: mpfr_set_nan(target); break;
        case Kind::Finite:
            mpfr_set_uj_2exp(target, significand_, exponent_ - kDigits, MPFR_RNDN);
            if (negative_) mpfr_neg(target, target, MPFR_RNDN);
            break;
    }
}

Extended Extended::From(mpfr_srcptr value) {
    Extended result;
    result.negative_ = mpfr_signbit(value) != 0;
    if (mpfr_nan_p(value)) return NaN();
    if (mpfr_inf_p(value)) return Infinity(result.negative_);
    if (mpfr_zero_p(value)) return result;
    Mpfr scaled;
    mpfr_abs(scaled, value, MPFR_RNDN);
    mpfr_set_exp(scaled, kDigits);  // in [2^63, 2^64): the significand as a whole number
    result.kind_ = Kind::Finite;
    result.significand_ = mpfr_get_uj(scaled, MPFR_RNDN);
    result.exponent_ = static_cast<std::int32_t>(mpfr_get_exp(value));
    return result;
}

Extended Extended::Round(mpfr_ptr result, int ternary) {
    mpfr_subnormalize(result, ternary, MPFR_RNDN);
    return From(result);
}

Extended Extended::operator-() const {
    Extended value = *this;
    if (kind_ != Kind::NaN) value.negative_ = !negative_;
    return value;
}

Extended operator+(const Extended& a, const Extended& b) { return Apply(mpfr_add, a, b); }
Extended operator-(const Extended& a, const Extended& b) { return Apply(mpfr_sub, a, b); }
Extended operator*(const Extended& a, const Extended& b) { return Apply(mpfr_mul, a, b); }
Extended operator/(const Extended& a, const Extended& b) { return Apply(mpfr_div, a, b); }

Extended Ldexp(const Extended& value, long power) {
    const Extended::Range range;
    Extended::Mpfr x;
    value.Get(x);
    const int ternary = mpfr_mul_2si(x, x, power, MPFR_RNDN);
    return Extended::Round(x, ternary);
}

bool operator==(const Extended& a, const Extended& b) {
    if (a.IsNaN() || b.IsNaN()) return false;
    if (a.IsZero() && b.IsZero()) return true;
    return a.kind_ == b.kind_ && a.negative_ == b.negative_ && a.exponent_ == b.exponent_ &&
           a.significand_ == b.significand_;
}

std::partial_ordering operator<=>(const Extended& a, const Extended& b) {
    if (a.IsNaN() || b.IsNaN()) return std::partial_ordering::unordered;
    const auto sign = [](const Extended& v) { return v.IsZero() ? 0 : (v.negative_ ? -1 : 1); };
    if (const auto order = sign(a) <=> sign(b); order != 0 || sign(a) == 0) return order;
    // Same sign: an infinity beyond every finite value, then exponents, then significands.
    const auto magnitude = std::tuple(a.IsInfinite(), a.exponent_, a.significand_) <=>
                           std::tuple(b.IsInfinite(), b.exponent_, b.significand_);
    return a.negative_ ? 0 <=> magnitude : std::partial_ordering(magnitude);
}

}  // namespace tolvaro
