#include "window/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "window/widgets.h"

namespace tolvaro {

namespace {

constexpr char kClickableProperty[] = "tolvaroClickable";

struct NamedControl {
    const char* objectName;
    const char* name;
};

constexpr NamedControl kNames[] = {
    {"MaxGrondtal", "Grootste grondtal"},
    {"MaxExponent", "Grootste exponent"},
    {"TimerMinuten", "Timer in minuten"},
    {"Image1", "Info"},
    {"Image2", "Tolvaro"},
    {"Image3", "Printen"},
    {"Image4", "Stop het programma"},
    {"OKKnop", "OK"},  // the about panel's button shows only a picture
    {"Instellingen", "Instellingen"},
    {"Panel1", "Oefeningen"},
    {"Panel2", "Punten"},
    {"Panel3", "Uitslag"},
    {"Info", "Over het programma"},
    {"Help", "Uitleg"},
    {"RichEdit1", "Werkblad"},
};

// A picture: a graphic to assistive tools, or a push button when it reacts to a click. Pressing
// it sends the same press and release a mouse click would, so the click runs through the one
// path every click takes. Whether it is clickable is asked each time: the interface may be
// created (and cached) before the window has wired its handlers.
class PictureInterface : public QAccessibleWidget {
public:
    explicit PictureInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Graphic) {}

    QAccessible::Role role() const override { return Clickable() ? QAccessible::Button : QAccessible::Graphic; }

    QStringList actionNames() const override {
        return Clickable() && widget()->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& actionName) override {
        QWidget* picture = widget();
        if (actionName != pressAction() || !Clickable() || !picture->isEnabled() || !picture->isVisible()) return;
        const QPointF centre = QRectF(picture->rect()).center();
        const QPointF global = picture->mapToGlobal(centre);
        QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(picture, &press);
        QApplication::sendEvent(picture, &release);
    }

private:
    bool Clickable() const { return widget()->property(kClickableProperty).toBool(); }
};

QAccessibleInterface* PictureFactory(const QString&, QObject* object) {
    if (auto* picture = dynamic_cast<TImage*>(object)) return new PictureInterface(picture);
    return nullptr;
}

}  // namespace

QString AccessibleNameOf(const QString& objectName) {
    for (const NamedControl& entry : kNames) {
        if (objectName == QLatin1String(entry.objectName)) return QString::fromUtf8(entry.name);
    }
    // Oef<n>Result: the answer edit of row n.
    if (objectName.startsWith(QLatin1String("Oef")) && objectName.endsWith(QLatin1String("Result"))) {
        const QStringView row = QStringView(objectName).mid(3, objectName.size() - 9);
        bool number = false;
        if (row.toInt(&number) > 0 && number) return QStringLiteral("Oplossing oefening ") + row.toString();
    }
    return {};
}

QString AccessibleDescriptionOf(std::string_view helpText) {
    QString text = QString::fromUtf8(helpText.data(), static_cast<qsizetype>(helpText.size()));
    text.replace(u'\r', u'\n');
    while (text.startsWith(u'\n')) text.remove(0, 1);
    return text;
}

QString ExerciseReading(const QString& base, const QString& exponent) {
    return base + QStringLiteral(" tot de macht ") + exponent;
}

void MarkClickablePicture(QWidget* picture) { picture->setProperty(kClickableProperty, true); }

void InstallAccessibility() { QAccessible::installFactory(PictureFactory); }

}  // namespace tolvaro
