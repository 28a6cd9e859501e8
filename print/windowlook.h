// The look the program's own windows are drawn in: the light look of the layout
// (print/lightlook.h), or, while the desktop asks for high contrast, a look of its own: the
// desktop's foreground on its background, every text at 7:1 or more (WCAG 2.1, level AAA).
// The verdicts stay green and red, darkened or lightened as far as that takes. The look is
// chosen once, before the windows are made.
#pragma once

#include <QColor>
#include <QPalette>
#include <optional>

#include "core/color.h"

namespace tolvaro {

// The contrast of two colours as WCAG 2.1 counts it, from 1 to 21.
double ContrastRatio(const QColor& a, const QColor& b);

// Whether a palette a platform theme hands over is a high-contrast one (KDE's high-contrast
// scheme, GTK's HighContrast themes): text in pure black, white or yellow on the opposite
// extreme. Ordinary palettes, Qt's own included, stay below.
bool IsHighContrastPalette(const QPalette& palette);

// Picks the look for the windows made from now on: high contrast where the desktop asks for it
// or hands over a high-contrast palette, in that palette's colours where it gives them, else in
// black on white (white on black where the desktop prefers dark); otherwise the light look.
void ChooseLook(bool desktopAsks, bool prefersDark, const QPalette& desktop);

// Whether the high-contrast look is in use.
bool HighContrastLook();

// The look's palette for a window; in the light look, LightPalette().
QPalette WindowPalette();
// A text colour of the layout, and a background colour of the layout, as the look shows them.
QColor TextColor(Color color);
QColor FillColor(Color color);

}  // namespace tolvaro
