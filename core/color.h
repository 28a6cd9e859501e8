// The one colour type of the program: the layout's named colours, the colours the logic sets and
// the print dialog's colour are all values of it.
#pragma once

#include <cstdint>

namespace tolvaro {

// 0xRRGGBB, or one of the system colours below (resolved by the window's look), or "none":
// inherit the parent's colour.
struct Color {
    std::uint32_t value;

    constexpr bool operator==(const Color&) const = default;
    constexpr bool IsSystem() const { return (value & 0xFF000000u) == 0xFE000000u; }
    constexpr int Red() const { return static_cast<int>((value >> 16) & 0xFF); }
    constexpr int Green() const { return static_cast<int>((value >> 8) & 0xFF); }
    constexpr int Blue() const { return static_cast<int>(value & 0xFF); }

    static const Color clBlack, clWhite, clRed, clLime, clBlue, clYellow, clGreen, clNavy, clMaroon, clPurple,
        clTeal, clGray;
    static const Color None, BtnShadow, BtnText, ActiveBorder, InactiveCaption, Background;
};

inline constexpr Color Color::clBlack{0x000000};
inline constexpr Color Color::clWhite{0xFFFFFF};
inline constexpr Color Color::clRed{0xFF0000};
inline constexpr Color Color::clLime{0x00FF00};
inline constexpr Color Color::clBlue{0x0000FF};
inline constexpr Color Color::clYellow{0xFFFF00};
inline constexpr Color Color::clGreen{0x008000};
inline constexpr Color Color::clNavy{0x000080};
inline constexpr Color Color::clMaroon{0x800000};
inline constexpr Color Color::clPurple{0x800080};
inline constexpr Color Color::clTeal{0x008080};
inline constexpr Color Color::clGray{0x808080};

inline constexpr Color Color::None{0xFF000000u};
inline constexpr Color Color::BtnShadow{0xFE000001u};
inline constexpr Color Color::BtnText{0xFE000002u};
inline constexpr Color Color::ActiveBorder{0xFE000003u};
inline constexpr Color Color::InactiveCaption{0xFE000004u};
inline constexpr Color Color::Background{0xFE000005u};

}  // namespace tolvaro
