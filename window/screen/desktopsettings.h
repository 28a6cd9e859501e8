// What the desktop asks of the program's look: high contrast and larger text. Read once, before
// the application object is made (the text size is part of the scale Qt fixes then), from the
// settings portal where one runs, else, in GNOME's session, from GNOME's settings themselves.
#pragma once

#include <QString>

namespace tolvaro {

struct DesktopSettings {
    bool highContrast = false;  // GNOME's high-contrast switch, or the portal's contrast preference
    bool prefersDark = false;   // the desktop's colour scheme prefers dark
    double textScaling = 1;     // GNOME's text-scaling-factor
    QString gtkTheme;           // the GTK theme's name, GTK_THEME first
    bool gnome = false;         // the session is GNOME's (XDG_CURRENT_DESKTOP)

    // The desktop's settings, read on first use and kept for the run. Waits at most a fifth of
    // a second, and only where a portal runs; GNOME without one costs a read of its settings,
    // any other desktop nothing.
    static const DesktopSettings& Get();
    // Whether the GTK theme is one of GTK's high-contrast themes.
    bool HighContrastTheme() const;
};

}  // namespace tolvaro
