#include "window/screen/screenscale.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <utility>

#include "window/screen/desktopsettings.h"
#include "window/screen/waylandscreen.h"
#include "window/screen/x11screen.h"

namespace tolvaro {

namespace {

constexpr const char* kScaleVariable = "QT_SCALE_FACTOR";

// Qt's scale where the desktop sets no dots per inch.
constexpr double kBaseDpi = 96;

// Scales chosen to fit go in sixteenths (FittingScale says why).
constexpr double kScaleSteps = 16;

// Space a window manager's frame takes at most at scale 1; a window that fits with this much to
// spare needs no one asked for its frame.
constexpr QMargins kFrameAllowance(16, 48, 16, 16);

// Qt's own decoration of windows on Wayland compositors that leave it to the program: a title
// bar and a thin border, drawn at the output's scale (not the program's).
constexpr QMargins kWaylandDecoration(3, 30, 3, 3);

std::optional<double> PositiveNumber(const char* variable) {
    bool ok = false;
    const double value = qgetenv(variable).toDouble(&ok);
    return ok && value > 0 ? std::optional(value) : std::nullopt;
}

// GNOME Shell's top bar at scale 1.
constexpr int kGnomeTopBar = 32;

// A factor of the desktop's, rounded as Qt rounds the one it makes of the dots per inch.
double DesktopFactor(double raw) {
    if (qgetenv("QT_ENABLE_HIGHDPI_SCALING") == "0") return 1;
    const QByteArray policy = qgetenv("QT_SCALE_FACTOR_ROUNDING_POLICY");
    double rounded = raw;
    if (policy == "Round") rounded = std::round(raw);
    else if (policy == "Ceil") rounded = std::ceil(raw);
    else if (policy == "Floor") rounded = std::floor(raw);
    else if (policy == "RoundPreferFloor") rounded = raw - std::floor(raw) < 0.75 ? std::floor(raw) : std::ceil(raw);
    else return raw;
    return std::max(rounded, 1.0);
}

double DpiScale(int dpi) { return DesktopFactor((dpi > 0 ? dpi : kBaseDpi) / kBaseDpi); }

// The platform Qt will try first: the one named, else the session's.
QByteArray Platform() {
    QByteArray list = qgetenv("QT_QPA_PLATFORM");
    if (list.isEmpty()) list = qgetenv("XDG_SESSION_TYPE") == "wayland" ? "wayland" : "xcb";
    return list.split(';').front().split(':').front();
}

std::optional<ScreenRoom> FindRoom(QSize layout) {
    // Per-screen factors and physical sizes set by hand are the user's own choice.
    if (qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS") || qEnvironmentVariableIsSet("QT_USE_PHYSICAL_DPI")) {
        return std::nullopt;
    }
    const double global = PositiveNumber(kScaleVariable).value_or(1);
    const QByteArray platform = Platform();
    ScreenRoom room;
    if (platform == "xcb") {
        const auto screen = X11Screen::Open();
        if (!screen) return std::nullopt;
        const std::optional<double> fontDpi = PositiveNumber("QT_FONT_DPI");
        room.desktopScale = global * DpiScale(fontDpi ? static_cast<int>(*fontDpi) : screen->XftDpi());
        room.area = screen->FreeArea().size();
        room.frame = kFrameAllowance * room.desktopScale;
        if (FittingScale(layout, room) < room.desktopScale) room.frame = screen->ToolWindowFrame().value_or(QMargins());
    } else if (platform.startsWith("wayland")) {
        const auto output = FirstWaylandOutput();
        if (!output) return std::nullopt;
        const DesktopSettings& desktop = DesktopSettings::Get();
        room = WaylandRoom(*output, global, desktop.textScaling, desktop.gnome);
    } else {
        return std::nullopt;
    }
    return room;
}

}  // namespace

ScreenRoom WaylandRoom(const WaylandOutput& output, double global, double textScaling, bool gnome) {
    ScreenRoom room;
    room.qtScale = global * output.scale;
    room.desktopScale = room.qtScale * DesktopFactor(textScaling);
    room.area = output.size;
    if (gnome) room.area.rheight() -= kGnomeTopBar * output.scale;
    room.frame = kWaylandDecoration * output.scale;
    return room;
}

double FittingScale(QSize layout, const ScreenRoom& room) {
    const QSize spare(2, 2);
    const QSize outer = layout + spare;
    const QSize inner = room.area.shrunkBy(room.frame);
    const double fits = std::min(inner.width() / static_cast<double>(outer.width()),
                                 inner.height() / static_cast<double>(outer.height()));
    if (fits >= room.desktopScale) return room.desktopScale;
    // In sixteenths: the button glyph, 16 layout pixels square, is then a whole number of device
    // pixels, drawn without resampling. Never below 1 unless the desktop asks for it: Qt leaves
    // parts of the widgets unpainted there. A screen without room at 1 shows the window's top left.
    return std::max(std::floor(fits * kScaleSteps) / kScaleSteps, std::min(room.desktopScale, 1.0));
}

WindowScale::WindowScale(QSize layout) {
    const std::optional<ScreenRoom> room = FindRoom(layout);
    if (!room) return;
    const double scale = FittingScale(layout, *room);
    const double qtScale = room->qtScale > 0 ? room->qtScale : room->desktopScale;
    if (qFuzzyCompare(scale, qtScale)) return;
    if (qEnvironmentVariableIsSet(kScaleVariable)) savedFactor_ = qgetenv(kScaleVariable);
    changed_ = true;
    // Qt multiplies this with its own scale for the screen.
    const double global = PositiveNumber(kScaleVariable).value_or(1);
    qputenv(kScaleVariable, QByteArray::number(scale * global / qtScale, 'g', 12));
}

void WindowScale::Undo() {
    if (!std::exchange(changed_, false)) return;
    if (savedFactor_) qputenv(kScaleVariable, *savedFactor_);
    else qunsetenv(kScaleVariable);
}

}  // namespace tolvaro
