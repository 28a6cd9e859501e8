#include "window/widgets.h"

#include <QAbstractScrollArea>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSvgRenderer>

#include <algorithm>

namespace tolvaro {

namespace {

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

void TEdit::focusInEvent(QFocusEvent* event) {
    WithoutSelectionEvents(this, [&] {
        QLineEdit::focusInEvent(event);
        if (selectOnFocus_ && event->reason() != Qt::MouseFocusReason) selectAll();
    });
}

void TEdit::focusOutEvent(QFocusEvent* event) {
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
    if (edit->text() == text) return;
    // A selection kept in sight without the focus (answer 1's) goes with its text unannounced: a
    // screen reader would say "not selected" for a field the pupil is not in.
    if (edit->hasSelectedText() && !edit->hasFocus()) WithoutSelectionEvents(edit, [edit] { edit->deselect(); });
    edit->setText(text);
}

}  // namespace tolvaro
