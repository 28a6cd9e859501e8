#include "print/nodropcursor.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

namespace tolvaro {

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
