#include "window/tlabel.h"


namespace tolvaro {

void TLabel::mousePressEvent(QMouseEvent* event) {
    clicks_.Pressed(event);
    QLabel::mousePressEvent(event);
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = clicks_.Released(event, this);
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

}  // namespace tolvaro
