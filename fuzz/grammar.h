// Independent readers of the number-text forms, written from the rules alone, for the fuzzers
// to hold the program's conversions against. They answer only "does the text have the form"
// (and, for integers, the value); they share no code with core/.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvaro::fuzz {

// A number text: optional leading spaces, optional sign, decimal digits with at most one comma
// and at least one digit in all, optional exponent part ("E" or "e", optional sign, at least one
// digit), optional trailing spaces, nothing else. Only the blank ' ' counts as a space.
inline bool IsNumberForm(std::string_view s) {
    enum State { Lead, Sign, Int, Frac, ExpMark, ExpSign, Exp, Trail } state = Lead;
    bool digitSeen = false;
    for (const char c : s) {
        const bool digit = c >= '0' && c <= '9';
        const bool sign = c == '+' || c == '-';
        switch (state) {
            case Lead:
                if (c == ' ') break;
                if (sign) { state = Sign; break; }
                [[fallthrough]];
            case Sign:
            case Int:
                if (digit) { state = Int; digitSeen = true; break; }
                if (c == ',') { state = Frac; break; }
                if ((c == 'E' || c == 'e') && digitSeen) { state = ExpMark; break; }
                if (c == ' ' && digitSeen) { state = Trail; break; }
                return false;
            case Frac:
                if (digit) { digitSeen = true; break; }
                if ((c == 'E' || c == 'e') && digitSeen) { state = ExpMark; break; }
                if (c == ' ' && digitSeen) { state = Trail; break; }
                return false;
            case ExpMark:
                if (sign) { state = ExpSign; break; }
                [[fallthrough]];
            case ExpSign:
                if (digit) { state = Exp; break; }
                return false;
            case Exp:
                if (digit) break;
                if (c == ' ') { state = Trail; break; }
                return false;
            case Trail:
                if (c == ' ') break;
                return false;
        }
    }
    return digitSeen && state != ExpMark && state != ExpSign;
}

// An integer text: optional leading spaces, optional sign, at least one decimal digit up to the
// end, value within the signed 32-bit range. Returns the value.
inline std::optional<std::int64_t> ReadIntegerForm(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return std::nullopt;
    // Leading zeros don't count towards the length; more than ten digits are out of range.
    while (i + 1 < s.size() && s[i] == '0') ++i;
    if (s.size() - i > 10) return std::nullopt;
    std::int64_t value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        value = value * 10 + (s[i] - '0');
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return value;
}

// The text in the C library's form: spaces dropped, the comma as a point.
inline std::string ToCForm(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == ' ') continue;
        out += c == ',' ? '.' : c;
    }
    return out;
}

}  // namespace tolvaro::fuzz
