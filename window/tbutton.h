#pragma once

#include <QPushButton>

namespace tolvaro {

// A push button that Enter presses while it has the focus, as the layout's buttons do.
class TButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tolvaro
