#include "window/accessibility/atspistate.h"

#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QWidget>

namespace tolvaro {

namespace {

// The connection Qt's bridge opened to the accessibility bus: a signal must come from the bus
// name the clients know the program by.
QDBusConnection AccessibilityBus() { return QDBusConnection(QStringLiteral("a11y")); }

// An object:state-changed event as Qt's bridge sends it: state, value, 0, any data, and the
// application the object belongs to.
void SendState(const QDBusConnection& bus, const QString& path, const char* state, bool on) {
    QDBusMessage message = QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"),
                                                      QStringLiteral("StateChanged"));
    QDBusArgument application;
    application.beginStructure();
    application << bus.baseService() << QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"));
    application.endStructure();
    message.setArguments({QString::fromLatin1(state), static_cast<int>(on), 0,
                          QVariant::fromValue(QDBusVariant(0)), QVariant::fromValue(application)});
    bus.send(message);
}

}  // namespace

void TellShown(QWidget* widget, bool shown) {
    if (!QAccessible::isActive()) return;
    const QDBusConnection bus = AccessibilityBus();
    if (!bus.isConnected()) return;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (!iface) return;
    // The object path Qt's bridge gives the control.
    const QString path = QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(iface));
    SendState(bus, path, "visible", shown);
    SendState(bus, path, "showing", shown);
}

}  // namespace tolvaro
