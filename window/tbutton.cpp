#include "window/tbutton.h"

#include "window/inputevents.h"

namespace tolvaro {

void TButton::keyPressEvent(QKeyEvent* event) {
    if (!IsEnter(event)) {
        QPushButton::keyPressEvent(event);
    } else if (isVisible() && isEnabled()) {
        click();
    }
}

}  // namespace tolvaro
