#include "window/accessibility/interfaces.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

#include "print/tprintdialoog1.h"
#include "window/accessibility/focushold.h"
#include "window/tform1.h"
#include "window/widgets.h"

namespace tolvaro {

namespace {

constexpr char kClickableProperty[] = "tolvaroClickable";
constexpr char kNotificationProperty[] = "tolvaroNotification";
constexpr char kCoveredProperty[] = "tolvaroCovered";

// A control's key as Qt names a shortcut's key to assistive tools; none without one.
QStringList KeyBindings(const QWidget* widget) {
    const QKeySequence key = KeyOf(widget);
    return key.isEmpty() ? QStringList() : QStringList{key.toString()};
}

// Screen pixels per logical pixel of Qt's, as assistive tools (a magnifier that follows the focus
// and the caret) count positions. Qt's bridge to AT-SPI (Qt 6.4) passes the interfaces' logical
// pixels on as they are, which at a desktop scale of 1.25 (Xft.dpi 120) puts everything a
// quarter off; Qt's own interfaces (the group, the help box) stay so. Extents relative to the
// window the bridge reckons itself, and on X11 grows them by the window's position; that is Qt's
// to mend. Wayland clients know no screen coordinates: there nothing is changed.
qreal ScreenRatio(const QWidget* widget) {
    return QGuiApplication::platformName() == QLatin1String("xcb") ? widget->devicePixelRatioF() : 1.0;
}

// A rectangle in Qt's global coordinates in screen pixels. Qt keeps a screen's top left the same
// in both.
QRect ScreenPixels(const QRect& rect, const QWidget* widget) {
    const qreal ratio = ScreenRatio(widget);
    if (rect.isEmpty() || qFuzzyCompare(ratio, 1.0)) return rect;
    const QPointF origin = widget->screen()->geometry().topLeft();
    return QRectF((QPointF(rect.topLeft()) - origin) * ratio + origin, QSizeF(rect.size()) * ratio).toAlignedRect();
}

// A point in screen pixels in Qt's global coordinates.
QPoint LogicalPoint(const QPoint& point, const QWidget* widget) {
    const QPointF origin = widget->screen()->geometry().topLeft();
    return ((QPointF(point) - origin) / ScreenRatio(widget) + origin).toPoint();
}

// One of the program's own interfaces, its extents in screen pixels.
template <class Base>
class InScreenPixels : public Base {
public:
    using Base::Base;
    QRect rect() const override { return ScreenPixels(Base::rect(), this->widget()); }
};

// A control under a panel shown over it (the results, the about panel) is not showing: a screen
// reader's review of the window must not read what the pupil cannot see.
QAccessible::State Uncovered(QAccessible::State state, const QWidget* widget) {
    if (widget->property(kCoveredProperty).toBool()) state.offscreen = true;
    return state;
}

// A picture: a graphic to assistive tools, or a push button when it reacts to a click. Pressing
// it clicks it, as the mouse does. Whether it is clickable is asked each time: the interface may
// be created (and cached) before the accessibility layer has marked it.
class PictureInterface : public InScreenPixels<QAccessibleWidget> {
public:
    explicit PictureInterface(QWidget* widget) : InScreenPixels(widget, QAccessible::Graphic) {}

    QAccessible::Role role() const override { return Clickable() ? QAccessible::Button : QAccessible::Graphic; }
    QAccessible::State state() const override { return Uncovered(QAccessibleWidget::state(), widget()); }

    QStringList actionNames() const override {
        return Clickable() && widget()->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& actionName) override {
        auto* picture = static_cast<TImage*>(widget());
        if (actionName != pressAction() || !Clickable() || !picture->isEnabled() || !picture->isVisible()) return;
        picture->click();
    }
    QStringList keyBindingsForAction(const QString& actionName) const override {
        return actionName == pressAction() ? KeyBindings(widget()) : QStringList();
    }

private:
    bool Clickable() const { return widget()->property(kClickableProperty).toBool(); }
};

// A single-line edit. Qt's own interface (6.4) reports an empty run of text attributes at every
// offset; Orca (43) joins those runs into one that ends a character early and cuts the last
// character off everything it reads from the field ("1" for an answer of 16, "Oefenin" for the
// worksheet's title). Otherwise this reads and edits the field as Qt's interface does; its key
// (which puts the focus in it) is the key binding of its focus action.
class LineEditInterface : public InScreenPixels<QAccessibleWidget>,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit LineEditInterface(QLineEdit* edit) : InScreenPixels(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override {
        return type == QAccessible::Value ? Edit()->text() : QAccessibleWidget::text(type);
    }

    void setText(QAccessible::Text type, const QString& text) override {
        if (type == QAccessible::Value) {
            Edit()->setText(text);
        } else {
            QAccessibleWidget::setText(type, text);
        }
    }

    QStringList keyBindingsForAction(const QString& actionName) const override {
        return actionName == setFocusAction() ? KeyBindings(widget()) : QStringList();
    }

    QAccessible::State state() const override {
        QAccessible::State state = Uncovered(QAccessibleWidget::state(), widget());
        // Not yet focused to assistive tools while the focus change is held back: a screen reader
        // must not learn of it from the caret first.
        if (FocusHold::Hidden(widget())) state.focused = false;
        state.readOnly = Edit()->isReadOnly();
        state.editable = !state.readOnly;
        state.selectableText = true;
        return state;
    }

    // Only the focused field's selection counts: answer 1 keeps its selection in sight when it
    // loses the focus, and Orca would read that kept selection along with the next field's.
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (index != 0 || selectionCount() == 0) return;
        *startOffset = Edit()->selectionStart();
        *endOffset = *startOffset + static_cast<int>(Edit()->selectedText().size());
    }
    int selectionCount() const override { return Edit()->hasFocus() && Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int index) override {
        if (index == 0) Edit()->deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        if (index == 0) Edit()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override {
        return Edit()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Edit()->text().size()); }
    // Past the last character, where typing puts the caret, the caret's place: a magnifier
    // follows the typing by it and ignores an empty rectangle.
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset > characterCount()) return {};
        const QString character = text(offset, offset + 1);
        // Where the field's text starts when it is not scrolled, as QLineEdit lays it out.
        const QFontMetrics metrics(Edit()->font());
        const QRect inside = Edit()->contentsRect().marginsRemoved(Edit()->textMargins());
        const int width = character.isEmpty() ? Edit()->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, Edit())
                                              : metrics.horizontalAdvance(character);
        const QRect rect(inside.left() + 2 + metrics.horizontalAdvance(Edit()->text().left(offset)),
                         inside.top() + (inside.height() - metrics.height() + 1) / 2, std::max(width, 1),
                         metrics.height());
        return ScreenPixels(rect.translated(Edit()->mapToGlobal(QPoint(0, 0))), Edit());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(LogicalPoint(point, Edit())));
    }
    void scrollToSubstring(int startIndex, int) override { Edit()->setCursorPosition(startIndex); }
    // No attributes, over the whole text.
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        Edit()->setText(Edit()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
};

// A plain widget: what Qt makes of it (a client area), or a notification when it carries the
// property, asked each time for the same reason as with the pictures.
class PlainInterface : public InScreenPixels<QAccessibleWidget> {
public:
    explicit PlainInterface(QWidget* widget) : InScreenPixels(widget) {}

    QAccessible::Role role() const override {
        return widget()->property(kNotificationProperty).toBool() ? QAccessible::Notification
                                                                 : QAccessibleWidget::role();
    }
    QAccessible::State state() const override { return Uncovered(QAccessibleWidget::state(), widget()); }
};

// A panel (Qt presents a bare QFrame as a border, which reaches assistive tools as a frame).
class PaneInterface : public InScreenPixels<QAccessibleWidget> {
public:
    explicit PaneInterface(QWidget* widget) : InScreenPixels(widget, QAccessible::Pane) {}
    QAccessible::State state() const override { return Uncovered(QAccessibleWidget::state(), widget()); }
};

// "&&" is a literal "&"; a lone "&" marks the mnemonic and is not read.
QString StripMnemonic(const QString& text) {
    QString stripped;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        stripped += text[i];
    }
    return stripped;
}

// A label, read by its text as Qt reads it.
class LabelInterface : public InScreenPixels<QAccessibleWidget> {
public:
    explicit LabelInterface(QLabel* label) : InScreenPixels(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            // A label that names a control ("&Naam:" in Qt's print dialog) is read without the
            // marker of its mnemonic, as Qt's own interface reads it.
            auto* label = static_cast<QLabel*>(widget());
            return label->buddy() ? StripMnemonic(label->text()) : label->text();
        }
        return QAccessibleWidget::text(type);
    }
    QAccessible::State state() const override { return Uncovered(QAccessibleWidget::state(), widget()); }
};

// A push button of the main window, read and pressed as Qt's own button interface does, with the
// window's key for it as the key binding of its press action: Qt's interface takes the key binding
// from a shortcut of the button itself, which would press the button past the window's keys.
class ButtonInterface : public InScreenPixels<QAccessibleWidget> {
public:
    explicit ButtonInterface(QAbstractButton* button) : InScreenPixels(button, QAccessible::Button) {}

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return Button()->text().remove(u'&');
        }
        return QAccessibleWidget::text(type);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = Button()->isDown();
        return state;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& actionName) override {
        if (!widget()->isEnabled()) return;
        if (actionName == pressAction()) Button()->animateClick();
        else QAccessibleWidget::doAction(actionName);
    }
    QStringList keyBindingsForAction(const QString& actionName) const override {
        return actionName == pressAction() ? KeyBindings(widget())
                                           : QAccessibleWidget::keyBindingsForAction(actionName);
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (auto* picture = dynamic_cast<TImage*>(object)) return new PictureInterface(picture);
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    // Orca takes the nearest frame for the window; only the windows may be one.
    if (qobject_cast<TForm1*>(widget)) return new InScreenPixels<QAccessibleWidget>(widget, QAccessible::Window);
    if (qobject_cast<TPrintDialoog1*>(widget)) return new InScreenPixels<QAccessibleWidget>(widget, QAccessible::Dialog);
    if (auto* button = qobject_cast<TButton*>(widget)) return new ButtonInterface(button);
    if (className == QLatin1String("QLineEdit")) return new LineEditInterface(static_cast<QLineEdit*>(widget));
    if (className == QLatin1String("QLabel")) return new LabelInterface(static_cast<QLabel*>(widget));
    if (className == QLatin1String("QFrame") && qstrcmp(widget->metaObject()->className(), "QFrame") == 0) {
        return new PaneInterface(widget);
    }
    if (className == QLatin1String("QWidget") && qstrcmp(widget->metaObject()->className(), "QWidget") == 0) {
        return new PlainInterface(widget);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibility() { QAccessible::installFactory(Factory); }

void MarkClickablePicture(QWidget* picture) { picture->setProperty(kClickableProperty, true); }

void MarkNotification(QWidget* widget) { widget->setProperty(kNotificationProperty, true); }

bool SetCovered(QWidget* widget, bool covered) {
    if (covered == widget->property(kCoveredProperty).toBool()) return false;
    widget->setProperty(kCoveredProperty, covered);
    return true;
}

}  // namespace tolvaro
