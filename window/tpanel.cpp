#include "window/tpanel.h"

#include <QPainter>

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

}  // namespace tolvaro
