#include "window/widgets.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSvgRenderer>

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
    QLineEdit::focusInEvent(event);
    if (selectOnFocus_ && event->reason() != Qt::MouseFocusReason) selectAll();
}

void TEdit::focusOutEvent(QFocusEvent* event) {
    const int start = selectionStart();
    const int length = selectionLength();
    QLineEdit::focusOutEvent(event);
    if (keepSelection_ && start >= 0 && !hasSelectedText()) setSelection(start, length);
}

QCursor NoDropCursor() {
    // Drawn at the screen's pixel ratio, so on a scaled screen the pointer is as sharp as the
    // window and keeps its logical size; the drawing and the hot spot are in logical pixels.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(32, 32) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 17);
    arrow.lineTo(5, 13);
    arrow.lineTo(8, 20);
    arrow.lineTo(10, 19);
    arrow.lineTo(7, 12);
    arrow.lineTo(12, 12);
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawPath(arrow);
    const QRectF circle(13, 13, 14, 14);
    painter.setPen(QPen(Qt::black, 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(circle);
    painter.drawLine(QPointF(16, 24), QPointF(24, 16));
    painter.setPen(QPen(Qt::white, 2));
    painter.drawEllipse(circle);
    painter.drawLine(QPointF(16, 24), QPointF(24, 16));
    return QCursor(pixmap, 1, 1);
}

}  // namespace tolvaro
