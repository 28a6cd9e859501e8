#include "window/widgets.h"

#include <QAbstractScrollArea>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSvgRenderer>

#include <algorithm>
#include <string_view>

#include "print/lightlook.h"

namespace tolvaro {

namespace {

constexpr char kKeyProperty[] = "tolvaroKey";

// The faces the layout names and the installed metric-compatible faces that stand in for them.
constexpr std::pair<std::string_view, const char*> kFaces[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"@Arial Unicode MS", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
};

QString InstalledFace(std::string_view family) {
    for (const auto& [layout, installed] : kFaces) {
        if (layout == family) return QString::fromLatin1(installed);
    }
    return QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()));
}

bool IsWindowSwitch(const QFocusEvent* event) {
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

// Draws `width` nested one-pixel frames inside `rect`, light on top-left for raised.
QRect DrawBevel(QPainter& painter, QRect rect, bool raised, int width, const QPalette& palette) {
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    for (int i = 0; i < width && rect.width() > 1 && rect.height() > 1; ++i) {
        painter.setPen(raised ? light : dark);
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.setPen(raised ? dark : light);
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
        rect.adjust(1, 1, -1, -1);
    }
    return rect;
}

// Runs a change of the edit's selection without the selection events it would send: those reach a
// screen reader before the focus does, and it reads the selected text once for the selection and
// once more with the field (and "not selected" for the field left). It reads the selection with
// the focus all the same. The events come from the edit's text engine, its one QObject child of
// that class; should a Qt release lack it, the events are sent as before.
template <class Change>
void WithoutSelectionEvents(QLineEdit* edit, Change change) {
    QObject* engine = nullptr;
    for (QObject* child : edit->children()) {
        if (qstrcmp(child->metaObject()->className(), "QWidgetLineControl") == 0) engine = child;
    }
    const bool wasBlocked = engine && engine->blockSignals(true);
    change();
    if (engine) engine->blockSignals(wasBlocked);
    edit->update();
}

}  // namespace

TPanel::TPanel(QWidget* parent, int bevelInner, int bevelOuter, int bevelWidth, int borderWidth, bool borderLine)
    : QFrame(parent),
      inner_(bevelInner),
      outer_(bevelOuter),
      bevelWidth_(bevelWidth),
      borderWidth_(borderWidth),
      borderLine_(borderLine) {}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect rect = this->rect();
    if (borderLine_) {
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        rect.adjust(1, 1, -1, -1);
    }
    if (outer_ != 0) rect = DrawBevel(painter, rect, outer_ > 0, bevelWidth_, palette());
    rect.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    if (inner_ != 0) DrawBevel(painter, rect, inner_ > 0, bevelWidth_, palette());
}

TImage::TImage(QWidget* parent, const QString& resource, bool stretch)
    : QWidget(parent), resource_(resource), stretch_(stretch) {}

void TImage::paintEvent(QPaintEvent*) {
    // Rendered from the vector art at paint time, so it stays sharp at any scale (also where a
    // control's edge falls between device pixels). The art is read once, on the first paint.
    if (!renderer_) renderer_ = std::make_unique<QSvgRenderer>(resource_);
    if (!renderer_->isValid()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (stretch_) {
        renderer_->render(&painter, QRectF(rect()));
    } else {
        const QSize natural = renderer_->defaultSize().boundedTo(size());
        renderer_->render(&painter, QRectF(QPointF(0, 0), QSizeF(natural)));
    }
}

bool IsEnter(const QKeyEvent* event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

void ClickTracker::Pressed(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

bool ClickTracker::Released(QMouseEvent* event, const QWidget* widget) {
    const bool click = event->button() == Qt::LeftButton && pressed_ &&
                       widget->rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) pressed_ = false;
    return click && widget->isEnabled() && widget->isVisible();
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    if (clicks_.Released(event, this)) emit clicked();
}

void TLabel::mousePressEvent(QMouseEvent* event) {
    clicks_.Pressed(event);
    QLabel::mousePressEvent(event);
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = clicks_.Released(event, this);
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

void TButton::keyPressEvent(QKeyEvent* event) {
    if (!IsEnter(event)) {
        QPushButton::keyPressEvent(event);
    } else if (isVisible() && isEnabled()) {
        click();
    }
}

void TEdit::mousePressEvent(QMouseEvent* event) {
    clicks_.Pressed(event);
    QLineEdit::mousePressEvent(event);
}

void TEdit::mouseReleaseEvent(QMouseEvent* event) {
    // Told before the edit's own handling, as a click is handled before the edit acts on it.
    if (clicks_.Released(event, this)) emit clicked();
    QLineEdit::mouseReleaseEvent(event);
}

void TEdit::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event)) {
        emit enterPressed();
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

void TEdit::focusInEvent(QFocusEvent* event) {
    // Entered also when the window's activation brings the focus (no entry handler runs then, but
    // leaving it is an exit all the same).
    entered_ = this;
    if (!IsWindowSwitch(event)) emit entered();
    WithoutSelectionEvents(this, [&] {
        QLineEdit::focusInEvent(event);
        if (selectOnFocus_ && event->reason() != Qt::MouseFocusReason) selectAll();
    });
}

void TEdit::focusOutEvent(QFocusEvent* event) {
    if (entered_ == this && !IsWindowSwitch(event)) {
        entered_ = nullptr;
        emit left();
    }
    const int start = selectionStart();
    const int length = selectionLength();
    WithoutSelectionEvents(this, [&] {
        QLineEdit::focusOutEvent(event);
        if (keepSelection_ && start >= 0 && !hasSelectedText()) setSelection(start, length);
    });
}

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
}

// A press on the selection would prepare a drag. Letting go of the selection first makes every
// press start a new selection, as a press beside it does anyway; Shift still extends it.
void TRichEdit::mousePressEvent(QMouseEvent* event) {
    QTextCursor cursor = textCursor();
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier) && cursor.hasSelection()) {
        const int scrolled = verticalScrollBar()->value();
        cursor.clearSelection();
        setTextCursor(cursor);
        verticalScrollBar()->setValue(scrolled);
    }
    QTextEdit::mousePressEvent(event);
}

QWidget* CreateWidget(const ControlSpec& entry, QWidget* parent, const QCursor& noDrop) {
    QWidget* widget = nullptr;
    const QString text = QString::fromUtf8(entry.text ? entry.text : "");
    switch (entry.kind) {
        case Kind::Label: {
            auto* label = new TLabel(text, parent);
            Qt::Alignment align = Qt::AlignTop;
            align |= (entry.flags & AlignRight) ? Qt::AlignRight : (entry.flags & AlignCenter) ? Qt::AlignHCenter
                                                                                              : Qt::AlignLeft;
            label->setAlignment(align);
            label->setWordWrap(entry.flags & WordWrap);
            label->setTextFormat(Qt::PlainText);
            widget = label;
            break;
        }
        case Kind::Edit: {
            auto* edit = new TEdit(parent, entry.flags & SelectOnFocus, entry.flags & KeepSelection);
            edit->setMaxLength(entry.maxLength);
            edit->setText(text);
            edit->setFocusPolicy((entry.flags & TabStop) ? Qt::StrongFocus : Qt::ClickFocus);
            widget = edit;
            break;
        }
        case Kind::Button: {
            // Made first and named then: an accessibility interface asked for while it is being made
            // would be Qt's for a plain button, kept for good.
            auto* button = new TButton(parent);
            button->setText(text);
            button->setAutoDefault(false);
            // Enter presses the default button wherever the focus is, so it needs none; taking it
            // from a click would leave the focus on no control once the about panel hides it.
            button->setFocusPolicy((entry.flags & DefaultButton) ? Qt::NoFocus : Qt::ClickFocus);
            if (entry.picture) {
                button->setIcon(QIcon(QString::fromLatin1(entry.picture)));
                // A square glyph whose side is a multiple of 4 logical pixels is a whole number of
                // device pixels at every quarter-step scale factor: drawn without resampling.
                const int side = std::min(entry.width - 12, entry.height - 8) / 4 * 4;
                button->setIconSize(QSize(side, side));
            }
            widget = button;
            break;
        }
        case Kind::GroupBox: widget = new QGroupBox(text, parent); break;
        case Kind::Panel:
            widget = new TPanel(parent, static_cast<int>(entry.bevelInner == Bevel::Raised) -
                                            static_cast<int>(entry.bevelInner == Bevel::Lowered),
                                static_cast<int>(entry.bevelOuter == Bevel::Raised) -
                                    static_cast<int>(entry.bevelOuter == Bevel::Lowered),
                                entry.bevelWidth, entry.borderWidth, entry.borderLine);
            break;
        case Kind::Image: widget = new TImage(parent, QString::fromLatin1(entry.picture), entry.stretch); break;
        case Kind::RichText: {
            auto* box = new TRichEdit(parent);
            box->setReadOnly(entry.flags & ReadOnly);
            box->setAcceptRichText(false);
            box->setFocusPolicy((entry.flags & Hidden) ? Qt::NoFocus : Qt::ClickFocus);
            if (entry.flatFrame) box->setFrameStyle(QFrame::Box | QFrame::Plain);
            widget = box;
            break;
        }
    }
    ApplyLightStyle(widget);
    widget->setObjectName(QString::fromStdString(entry.ObjectName()));
    if (entry.accessibleName) widget->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    const QKeyCombination key = (entry.flags & CancelButton) ? QKeyCombination(Qt::Key_Escape) : entry.key;
    if (key.key() != Qt::Key_unknown) widget->setProperty(kKeyProperty, QKeySequence(key));
    widget->setGeometry(entry.x, entry.y, entry.width, entry.height);
    if (entry.font.family) widget->setFont(FontOf(entry.font));
    QPalette palette;
    palette.setResolveMask(0);
    if (entry.font.family && entry.font.color != Color::None) {
        const QColor color = ToQColor(entry.font.color);
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::ButtonText, color);
    }
    if (entry.background != Color::None) {
        palette.setColor(QPalette::Window, ToQColor(entry.background));
        if (entry.kind == Kind::RichText) palette.setColor(QPalette::Base, ToQColor(entry.background));
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(entry.background != Color::None || (entry.flags & Opaque) ||
                                  entry.kind == Kind::Panel || entry.kind == Kind::GroupBox);
    SetPointer(widget, entry.kind, entry.cursor, noDrop);
    if (entry.tooltip) {
        widget->setToolTip(QString::fromUtf8(entry.tooltip));
        widget->setToolTipDuration(5000);
    }
    // Explicit either way: controls built after the window is shown are not shown with it.
    widget->setVisible(!(entry.flags & Hidden));
    // Mouse movement stops at the innermost control: a label in a panel does not clear the help.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->setMouseTracking(true);
    return widget;
}

QFont FontOf(const FontSpec& entry) {
    // Asking for the installed faces directly spares the font lookup a fallback search for every
    // face it doesn't know.
    QFont font(InstalledFace(entry.family));
    font.setPixelSize(entry.pixelSize);
    font.setBold(entry.style & Bold);
    font.setItalic(entry.style & Italic);
    font.setUnderline(entry.style & Underline);
    // Every text of the window is Western European, which the installed faces cover: no glyph
    // fallback is needed, and looking up fallback faces is the costliest part of start-up.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

void SubstituteLayoutFaces() {
    // For the fonts asked for by name elsewhere (the print dialog, the worksheet).
    for (const auto& [layout, installed] : kFaces) {
        QFont::insertSubstitution(QString::fromLatin1(layout.data(), static_cast<qsizetype>(layout.size())),
                                  QString::fromLatin1(installed));
    }
}

QKeySequence KeyOf(const QWidget* widget) { return widget->property(kKeyProperty).value<QKeySequence>(); }

void SetPointer(QWidget* widget, Kind kind, Cursor cursor, const QCursor& noDrop) {
    QCursor shown;
    switch (cursor) {
        case Cursor::Arrow: shown = Qt::ArrowCursor; break;
        case Cursor::NoDrop: shown = noDrop; break;
        case Cursor::No: shown = Qt::ForbiddenCursor; break;
        case Cursor::Default:
            // Labels and images show their parent's pointer, edits and text boxes their I-beam.
            if (kind != Kind::Button && kind != Kind::Panel && kind != Kind::GroupBox) return;
            shown = Qt::ArrowCursor;
            break;
    }
    widget->setCursor(shown);
    // A text box shows its text area's pointer, which is Qt's I-beam unless set as well.
    if (auto* box = qobject_cast<QAbstractScrollArea*>(widget)) box->viewport()->setCursor(shown);
}

void FitToLabel(QLabel* label, const ControlSpec& entry) {
    if (entry.flags & (AutoSize | WordWrap)) return;
    constexpr int kSmallest = 7;
    constexpr const char* kFullFont = "tolvaroFullFont";  // the font the label had before it was shrunk
    const QVariant kept = label->property(kFullFont);
    const QFont full = kept.isValid() ? kept.value<QFont>() : label->font();
    const int room = label->contentsRect().width();
    QFont font = full;
    // One copy of the text: begin() and end() of two temporaries would each detach a buffer of its own.
    const QString text = label->text();
    // The window's faces cover Western European text only; other scripts, which a time format may
    // bring, need the fallback faces.
    if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0xFF; }))
        font.setStyleStrategy(QFont::PreferDefault);
    while (font.pixelSize() > kSmallest && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (font == label->font()) return;
    label->setFont(font);
    label->setProperty(kFullFont, font == full ? QVariant() : QVariant(full));
}

void WriteText(QLineEdit* edit, const QString& text) {
    // The same text written back changes nothing, not even the selection; nor does a screen
    // reader hear of it (it would take the text's removal for the removal of the selection).
    if (edit->text() != text) edit->setText(text);
}

}  // namespace tolvaro
