// The light look of the program's own two windows, the main window and the print options
// dialog, whatever the desktop's colour scheme and widget style: the layout fixes their text
// colours for light backgrounds. Dialogs of the system (printer setup, message boxes) keep the
// desktop's look. Here, not in window/, because both windows need it.
#pragma once

#include <QColor>
#include <QPalette>

#include "core/color.h"

class QWidget;

namespace tolvaro {

// White edits, light buttons, black text, selections in white on navy.
QPalette LightPalette();

// A colour of the layout as the light look shows it (system colours included).
QColor ToQColor(Color color);

// Gives `widget` and what it already holds the one widget style of the program's windows.
// Qt hands a widget's own style on to no child, so a control added later needs its own call.
void ApplyLightStyle(QWidget* widget);

}  // namespace tolvaro
