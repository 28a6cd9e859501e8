#pragma once

#include <string>

#include "core/extended.h"

// 2.5_x: the extended value nearest to the literal as written, read by MPFR itself rather than
// by the program's number texts, and the same on every architecture (a long double literal is
// 113 bits on arm64 and a double on armhf).
inline tolvaro::Extended operator""_x(const char* literal) {
    const tolvaro::Extended::Range range;
    tolvaro::Extended::Mpfr value;
    return tolvaro::Extended::Round(value, mpfr_strtofr(value, literal, nullptr, 10, MPFR_RNDN));
}
