// Before Qt's headers: GIO names a struct member "signals", which Qt defines as a keyword.
#include <gio/gio.h>

#include "window/screen/desktopsettings.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QMap>
#include <QVariantMap>
#include <algorithm>
#include <optional>

namespace tolvaro {

namespace {

constexpr char kInterface[] = "org.gnome.desktop.interface";
constexpr char kA11y[] = "org.gnome.desktop.a11y.interface";
constexpr char kAppearance[] = "org.freedesktop.appearance";

// A portal answers within milliseconds; one that takes longer is left alone.
constexpr int kPortalTimeoutMs = 200;

// Text scaling outside these bounds is no setting GNOME offers.
constexpr double kLeastTextScaling = 0.5;
constexpr double kMostTextScaling = 3;

void SetTextScaling(DesktopSettings& settings, double factor) {
    if (factor > 0) settings.textScaling = std::clamp(factor, kLeastTextScaling, kMostTextScaling);
}

// A session bus to ask, without starting one: libdbus would launch a bus of its own where none
// runs, which takes far longer than anything here is worth.
bool SessionBusRuns() {
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

// The settings portal (org.freedesktop.portal.Settings), asked once for every namespace read
// here. Only a portal that already runs is asked: starting one can take seconds. Nothing where
// no portal answers in time.
std::optional<DesktopSettings> FromPortal() {
    if (!SessionBusRuns()) return std::nullopt;
    const QString name = QStringLiteral("tolvaro-desktop-settings");
    std::optional<DesktopSettings> found;
    {
        // A connection of its own: this runs before the application object, which Qt's shared
        // session connection needs.
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("ReadAll"));
        call << QStringList{QLatin1String(kInterface), QLatin1String(kA11y), QLatin1String(kAppearance)};
        call.setAutoStartService(false);
        const QDBusMessage reply = bus.isConnected() ? bus.call(call, QDBus::Block, kPortalTimeoutMs) : QDBusMessage();
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            QMap<QString, QVariantMap> all;
            reply.arguments().constFirst().value<QDBusArgument>() >> all;
            DesktopSettings settings;
            const QVariantMap interface = all.value(QLatin1String(kInterface));
            const QVariantMap appearance = all.value(QLatin1String(kAppearance));
            SetTextScaling(settings, interface.value(QStringLiteral("text-scaling-factor")).toDouble());
            settings.gtkTheme = interface.value(QStringLiteral("gtk-theme")).toString();
            settings.highContrast = all.value(QLatin1String(kA11y)).value(QStringLiteral("high-contrast")).toBool() ||
                                    appearance.value(QStringLiteral("contrast")).toUInt() == 1;
            settings.prefersDark = appearance.value(QStringLiteral("color-scheme")).toUInt() == 1 ||
                                   interface.value(QStringLiteral("color-scheme")).toString() == u"prefer-dark";
            found = settings;
        }
    }
    QDBusConnection::disconnectFromBus(name);
    return found;
}

// GNOME's settings read through GSettings, where no portal runs. GIO is loaded only then. It stays loaded (GSettings keeps a thread of its own).
// Schemas and keys are looked up first: GSettings ends the program on an unknown one.
DesktopSettings FromGSettings() {
    DesktopSettings settings;
    static QLibrary gio(QStringLiteral("gio-2.0"), 0);
    const auto resolve = [](auto function, const char* symbol) {
        return reinterpret_cast<decltype(function)>(gio.resolve(symbol));
    };
    const auto sourceGetDefault = resolve(&g_settings_schema_source_get_default, "g_settings_schema_source_get_default");
    const auto lookup = resolve(&g_settings_schema_source_lookup, "g_settings_schema_source_lookup");
    const auto hasKey = resolve(&g_settings_schema_has_key, "g_settings_schema_has_key");
    const auto schemaUnref = resolve(&g_settings_schema_unref, "g_settings_schema_unref");
    const auto newFull = resolve(&g_settings_new_full, "g_settings_new_full");
    const auto getBoolean = resolve(&g_settings_get_boolean, "g_settings_get_boolean");
    const auto getDouble = resolve(&g_settings_get_double, "g_settings_get_double");
    const auto getString = resolve(&g_settings_get_string, "g_settings_get_string");
    const auto objectUnref = resolve(&g_object_unref, "g_object_unref");
    const auto free = resolve(&g_free, "g_free");
    if (!sourceGetDefault || !lookup || !hasKey || !schemaUnref || !newFull || !getBoolean || !getDouble ||
        !getString || !objectUnref || !free) {
        return settings;
    }
    GSettingsSchemaSource* source = sourceGetDefault();
    if (!source) return settings;
    const auto read = [&](const char* id, auto use) {
        GSettingsSchema* schema = lookup(source, id, TRUE);
        if (!schema) return;
        GSettings* object = newFull(schema, nullptr, nullptr);
        use([&](const char* key) { return hasKey(schema, key) ? object : nullptr; });
        objectUnref(object);
        schemaUnref(schema);
    };
    const auto string = [&](GSettings* object, const char* key) {
        gchar* value = getString(object, key);
        const QString text = QString::fromUtf8(value);
        free(value);
        return text;
    };
    read(kInterface, [&](auto with) {
        if (GSettings* s = with("text-scaling-factor")) SetTextScaling(settings, getDouble(s, "text-scaling-factor"));
        if (GSettings* s = with("gtk-theme")) settings.gtkTheme = string(s, "gtk-theme");
        if (GSettings* s = with("color-scheme")) settings.prefersDark = string(s, "color-scheme") == u"prefer-dark";
    });
    read(kA11y, [&](auto with) {
        if (GSettings* s = with("high-contrast")) settings.highContrast = getBoolean(s, "high-contrast");
    });
    return settings;
}

}  // namespace

const DesktopSettings& DesktopSettings::Get() {
    static const DesktopSettings settings = [] {
        const bool gnome = qgetenv("XDG_CURRENT_DESKTOP").toLower().split(':').contains("gnome");
        // GNOME's own settings, where no portal serves them, only in GNOME's session: loading
        // GIO and its settings backend takes 10 ms or more, which no other desktop should pay.
        const std::optional<DesktopSettings> portal = FromPortal();
        DesktopSettings read = portal ? *portal : gnome ? FromGSettings() : DesktopSettings();
        read.gnome = gnome;
        // GTK itself takes the theme from GTK_THEME first, as "name" or "name:variant".
        const QString theme = qEnvironmentVariable("GTK_THEME");
        if (!theme.isEmpty()) read.gtkTheme = theme.section(u':', 0, 0);
        // HighContrastInverse is GTK's white on black.
        if (theme.section(u':', 1) == u"dark" || read.gtkTheme.endsWith(QLatin1String("Inverse"), Qt::CaseInsensitive)) {
            read.prefersDark = true;
        }
        return read;
    }();
    return settings;
}

bool DesktopSettings::HighContrastTheme() const {
    return gtkTheme.startsWith(QLatin1String("HighContrast"), Qt::CaseInsensitive);
}

}  // namespace tolvaro
