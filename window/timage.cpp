#include "window/timage.h"

#include <QPainter>

namespace tolvaro {

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

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    if (clicks_.Released(event, this)) emit clicked();
}

}  // namespace tolvaro
