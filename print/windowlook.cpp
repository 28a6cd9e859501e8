#include "print/windowlook.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "print/lightlook.h"

namespace tolvaro {

namespace {

// AAA for text of every size.
constexpr double kTextContrast = 7;
// Grey text of a control that cannot be used now: still AA, and plainly unlike the live texts.
constexpr double kDisabledContrast = 4.5;
// What a palette's texts reach against their backgrounds at the least to count as high contrast:
// above black on Qt's own light grey (18.3:1), below black on white (21:1) and yellow on black.
constexpr double kHighContrastPalette = 19;

struct Colours {
    QColor foreground;
    QColor background;
};

std::optional<Colours>& Chosen() {
    static std::optional<Colours> chosen;
    return chosen;
}

double Luminance(const QColor& colour) {
    const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

QColor Mix(const QColor& from, const QColor& to, double share) {
    const auto part = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(part(from.red(), to.red()), part(from.green(), to.green()), part(from.blue(), to.blue()));
}

// `wanted`, moved towards the foreground in small steps until it stands out from the background
// by `ratio`: its hue is kept as far as the contrast allows. The foreground itself reaches more.
QColor Legible(const QColor& wanted, const Colours& colours, double ratio) {
    constexpr int kSteps = 32;
    for (int step = 0; step < kSteps; ++step) {
        const QColor colour = Mix(wanted, colours.foreground, step / static_cast<double>(kSteps));
        if (ContrastRatio(colour, colours.background) >= ratio) return colour;
    }
    return colours.foreground;
}

QPalette HighContrastPalette(const Colours& colours) {
    const QColor& fg = colours.foreground;
    const QColor& bg = colours.background;
    QPalette palette;
    // Lines and frames (bevels, borders) in the foreground; faces in the background.
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText,
                      QPalette::ToolTipText, QPalette::Link, QPalette::LinkVisited, QPalette::Highlight,
                      QPalette::Light, QPalette::Dark, QPalette::Mid, QPalette::Shadow}) {
        palette.setColor(role, fg);
    }
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button,
                      QPalette::Midlight, QPalette::ToolTipBase, QPalette::HighlightedText}) {
        palette.setColor(role, bg);
    }
    palette.setColor(QPalette::PlaceholderText, Legible(Mix(bg, fg, 0.5), colours, kDisabledContrast));
    const QColor grey = Legible(Mix(bg, fg, 0.3), colours, kDisabledContrast);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, grey);
    }
    return palette;
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double first = Luminance(a);
    const double second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

bool IsHighContrastPalette(const QPalette& palette) {
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::WindowText, QPalette::Window}, {QPalette::Text, QPalette::Base}};
    return std::all_of(std::begin(pairs), std::end(pairs), [&palette](const auto& pair) {
        return ContrastRatio(palette.color(pair.first), palette.color(pair.second)) >= kHighContrastPalette;
    });
}

void ChooseLook(bool desktopAsks, bool prefersDark, const QPalette& desktop) {
    std::optional<Colours>& chosen = Chosen();
    if (IsHighContrastPalette(desktop)) {
        chosen = Colours{desktop.color(QPalette::WindowText), desktop.color(QPalette::Window)};
    } else if (desktopAsks) {
        chosen = prefersDark ? Colours{Qt::white, Qt::black} : Colours{Qt::black, Qt::white};
    } else {
        chosen.reset();
    }
}

bool HighContrastLook() { return Chosen().has_value(); }

QPalette WindowPalette() { return Chosen() ? HighContrastPalette(*Chosen()) : LightPalette(); }

QColor TextColor(Color color) {
    if (!Chosen()) return ToQColor(color);
    // The verdicts' colours (and the contest buttons', which share them) keep their hue.
    if (color == Color::clGreen || color == Color::clRed) return Legible(ToQColor(color), *Chosen(), kTextContrast);
    return Chosen()->foreground;
}

QColor FillColor(Color color) { return Chosen() ? Chosen()->background : ToQColor(color); }

}  // namespace tolvaro
