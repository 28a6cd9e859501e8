#include "window/accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include "print/tprintdialoog1.h"
#include "window/atspistate.h"
#include "window/tform1.h"
#include "window/widgets.h"

namespace tolvaro {

namespace {

constexpr char kClickableProperty[] = "tolvaroClickable";
constexpr char kNotificationProperty[] = "tolvaroNotification";
constexpr char kCoveredProperty[] = "tolvaroCovered";
constexpr int kAnnounceDelayMs = 250;
constexpr int kRepeatFocusMs = 1000;

// Screen pixels per logical pixel of Qt's, as assistive tools (a magnifier that follows the focus
// and the caret) count positions. Qt's bridge to AT-SPI (Qt 6.4) passes the interfaces' logical
// pixels on as they are, which at a desktop scale of 1.25 (Xft.dpi 120) puts everything a
// quarter off; Qt's own interfaces (buttons, the group, the help box) stay so. Extents relative
// to the window the bridge reckons itself, and on X11 grows them by the window's position; that
// is Qt's to mend. Wayland clients know no screen coordinates: there nothing is changed.
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
// it sends the same press and release a mouse click would, so the click runs through the one
// path every click takes. Whether it is clickable is asked each time: the interface may be
// created (and cached) before the window has wired its handlers.
class PictureInterface : public InScreenPixels<QAccessibleWidget> {
public:
    explicit PictureInterface(QWidget* widget) : InScreenPixels(widget, QAccessible::Graphic) {}

    QAccessible::Role role() const override { return Clickable() ? QAccessible::Button : QAccessible::Graphic; }
    QAccessible::State state() const override { return Uncovered(QAccessibleWidget::state(), widget()); }

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

// A single-line edit. Qt 6.4's own interface reports an empty run of text attributes at every
// offset; Orca 43 joins those runs into one that ends a character early and cuts the last
// character off everything it reads from the field ("1" for an answer of 16, "Oefenin" for the
// worksheet's title). Otherwise this reads and edits the field as Qt's interface does.
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

    QAccessible::State state() const override {
        QAccessible::State state = Uncovered(QAccessibleWidget::state(), widget());
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

// A label, read by its text as Qt reads it.
class LabelInterface : public InScreenPixels<QAccessibleWidget> {
public:
    explicit LabelInterface(QLabel* label) : InScreenPixels(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return static_cast<QLabel*>(widget())->text();
        }
        return QAccessibleWidget::text(type);
    }
    QAccessible::State state() const override { return Uncovered(QAccessibleWidget::state(), widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (auto* picture = dynamic_cast<TImage*>(object)) return new PictureInterface(picture);
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    // Orca takes the nearest frame for the window; only the windows may be one.
    if (qobject_cast<TForm1*>(widget)) return new InScreenPixels<QAccessibleWidget>(widget, QAccessible::Window);
    if (qobject_cast<TPrintDialoog1*>(widget)) return new InScreenPixels<QAccessibleWidget>(widget, QAccessible::Dialog);
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

// Every change is an event a screen reader may speak: only real changes are made.
void SetDescription(QWidget* widget, const QString& text) {
    if (widget->accessibleDescription() != text) widget->setAccessibleDescription(text);
}

}  // namespace

QString AccessibleDescriptionOf(std::string_view helpText, const QString& keyName) {
    QString text = QString::fromUtf8(helpText.data(), static_cast<qsizetype>(helpText.size()));
    text.replace(u'\r', u'\n');
    while (text.startsWith(u'\n')) text.remove(0, 1);
    if (keyName.isEmpty()) return text;
    if (!text.isEmpty()) text += u'\n';
    return text + QStringLiteral("Sneltoets: ") + keyName + u'.';
}

QString ExerciseReading(const QString& base, const QString& exponent) {
    return base + QStringLiteral(" tot de macht ") + exponent;
}

void MarkClickablePicture(QWidget* picture) { picture->setProperty(kClickableProperty, true); }

void InstallAccessibility() { QAccessible::installFactory(Factory); }

// ---------------------------------------------------------------- the main window

FormAccessibility::FormAccessibility(TForm1& form, const Descriptions& descriptions,
                                     const std::vector<QWidget*>& clickablePictures)
    : form_(form) {
    for (const auto& [widget, description] : descriptions) widget->setAccessibleDescription(description);
    for (QWidget* picture : clickablePictures) MarkClickablePicture(picture);
    connect(&form_, &TForm1::happened, this, &FormAccessibility::Told);
    connect(&form_, &TForm1::aboutShown, this, &FormAccessibility::AnnounceAbout);
    connect(&form_, &TForm1::keyRefused, this, &FormAccessibility::KeyRefused);
    // Shown after the start: assistive tools must learn that they are visible, and what they cover.
    for (Control control : {Control::Kontroleer, Control::VolgendeOefening, Control::Startknop, Control::OKKnop1,
                            Control::KlokVenster, Control::Panel3, Control::Info}) {
        form_.widget(control)->installEventFilter(this);
    }
    for (int row = 1; row <= kRows; ++row) RowWidget(RowPart::Result, row)->installEventFilter(this);
    announceTimer_.setSingleShot(true);
    announceTimer_.setInterval(kAnnounceDelayMs);
    connect(&announceTimer_, &QTimer::timeout, this, [this] {
        announcer_->hide();
        announcer_->show();
    });
    lateRefresh_.setSingleShot(true);
    lateRefresh_.setInterval(2 * kAnnounceDelayMs);
    connect(&lateRefresh_, &QTimer::timeout, this, [this] { Refresh(true); });
    QAccessible::installActivationObserver(this);
    if (QAccessible::isActive()) accessibilityActiveChanged(true);
}

FormAccessibility::~FormAccessibility() { QAccessible::removeActivationObserver(this); }

QWidget* FormAccessibility::RowWidget(RowPart part, int row) const { return form_.widget(Row(part, row)); }

QString FormAccessibility::LabelText(Control label) const { return static_cast<QLabel*>(form_.widget(label))->text(); }

void FormAccessibility::TextChanged(Control control) {
    const int index = static_cast<int>(control) - static_cast<int>(Row(RowPart::Grondtal, 1));
    if (index >= 0 && index < 4 * kRows) MarkDirty(index % kRows + 1);
}

// The readings of a row are renewed once the handler that changed it is done, so that a screen
// reader never hears a half-drawn exercise; entering a field renews its reading at once.
void FormAccessibility::MarkDirty(int row) {
    dirtyRows_ |= 1u << (row - 1);
    staleAnswers_ |= 1u << (row - 1);
    if (refreshQueued_ || !active_) return;
    refreshQueued_ = true;
    QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
}

void FormAccessibility::Refresh(bool everyAnswer) {
    refreshQueued_ = false;
    if (!active_) return;
    for (int row = 1; row <= kRows; ++row) {
        const unsigned bit = 1u << (row - 1);
        const QString reading = ExerciseReading(LabelText(Row(RowPart::Grondtal, row)),
                                                LabelText(Row(RowPart::Exponent, row)));
        if (dirtyRows_ & bit) {
            SetDescription(RowWidget(RowPart::Grondtal, row), reading);
            SetDescription(RowWidget(RowPart::Exponent, row), reading);
        }
        // An answer field is renewed at once when it has or gets the focus, the others once the
        // notification is out: Orca drops what appears in a flood of events, and a new set that
        // changed ten readings at once would make one.
        QWidget* edit = RowWidget(RowPart::Result, row);
        if (!(staleAnswers_ & bit) || (!everyAnswer && !edit->hasFocus())) continue;
        // The verdict beside the field, as long as the screen shows it.
        const QString verdict = LabelText(Row(RowPart::Kontrol, row));
        SetDescription(edit, verdict.isEmpty() ? reading : reading + QStringLiteral(". ") + verdict);
        staleAnswers_ &= ~bit;
    }
    dirtyRows_ = 0;
    if (staleAnswers_ && !lateRefresh_.isActive()) lateRefresh_.start();
}

void FormAccessibility::accessibilityActiveChanged(bool active) {
    active_ = active;
    if (!active) return;
    dirtyRows_ = staleAnswers_ = (1u << kRows) - 1;
    Refresh(true);
    // Qt's bridge to AT-SPI sends nothing until the registry has taken the program in, which may
    // come after the window took the focus: the screen reader would not hear where the pupil
    // starts. The focus is told again a moment later (a screen reader that heard it ignores it).
    QTimer::singleShot(kRepeatFocusMs, this, [this] {
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus->window() != &form_ || !form_.isActiveWindow()) return;
        QAccessibleEvent event(focus, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    });
}

bool FormAccessibility::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            // Before the screen reader asks the field what it is.
            for (int row = 1; row <= kRows; ++row) {
                if (watched == RowWidget(RowPart::Result, row)) MarkDirty(row);
            }
            Refresh();
            break;
        case QEvent::Show:
        case QEvent::Hide:
            if (active_ && watched->isWidgetType()) {
                Shown(static_cast<QWidget*>(watched), event->type() == QEvent::Show);
            }
            break;
        case QEvent::KeyPress: {
            // Tab leads nowhere from the results (the answers are locked): they are said again.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (watched == form_.widget(Control::Panel3) && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
                AnnounceResults();
            }
            break;
        }
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

// The control and all inside it are visible now, or not; a panel shown over others covers them.
void FormAccessibility::Shown(QWidget* widget, bool shown) {
    TellShown(widget, shown);
    for (QWidget* inside : widget->findChildren<QWidget*>()) {
        if (!inside->isHidden()) TellShown(inside, shown);
    }
    if (widget == form_.widget(Control::Panel3) || widget == form_.widget(Control::Info)) UpdateCovered();
}

// A control counts as covered when a panel shown above it holds its centre, or, for a container,
// nearly all of it (the results panel leaves a strip of the exercises' border).
void FormAccessibility::UpdateCovered() {
    QList<QRect> covers;
    QList<QWidget*> coverPanels;
    for (Control panel : {Control::Panel3, Control::Info}) {
        QWidget* cover = form_.widget(panel);
        if (cover->isHidden()) continue;
        covers << cover->geometry();
        coverPanels << cover;
    }
    for (QWidget* widget : form_.findChildren<QWidget*>()) {
        const QRect area(widget->mapTo(&form_, QPoint(0, 0)), widget->size());
        bool covered = false;
        for (qsizetype i = 0; i < covers.size() && !covered; ++i) {
            QWidget* cover = coverPanels[i];
            // A panel covers neither itself nor what lies in it, and the about panel lies above the results.
            if (widget == cover || cover->isAncestorOf(widget) || widget->isAncestorOf(cover)) continue;
            if (cover == form_.widget(Control::Panel3) && widget == form_.widget(Control::Info)) continue;
            const bool container = !widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
            const QRect under = covers[i].intersected(area);
            covered = container ? 10LL * under.width() * under.height() >= 9LL * area.width() * area.height()
                                : covers[i].contains(area.center());
        }
        if (covered == widget->property(kCoveredProperty).toBool()) continue;
        widget->setProperty(kCoveredProperty, covered);
        if (!widget->isHidden()) TellShown(widget, !covered);
    }
}

QString FormAccessibility::LastAnnouncement() const {
    return announcer_ ? announcer_->accessibleName() : QString();
}

// Said by a notification that appears: Orca speaks one as it is shown, wherever the focus is.
void FormAccessibility::Announce(const QString& message) {
    if (!active_) return;
    Refresh();  // the field's own reading first
    if (!announcer_) {
        announcer_ = new QWidget(&form_);
        announcer_->setProperty(kNotificationProperty, true);
        announcer_->setObjectName(QStringLiteral("Melding"));
        announcer_->setAttribute(Qt::WA_TransparentForMouseEvents);
        announcer_->setFocusPolicy(Qt::NoFocus);
        announcer_->setGeometry(0, 0, 1, 1);
        announcer_->lower();
    }
    // Shown a moment later: the notification must not arrive in the flood of events its cause
    // (a new set, a check) sets off, or Orca drops it.
    announcer_->setAccessibleName(message);
    announceTimer_.start();
}

}  // namespace tolvaro
