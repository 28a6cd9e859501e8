#pragma once

#include <QLabel>

#include "window/inputevents.h"

namespace tolvaro {

// A label that can be clicked (the countdown says the time left when asked).
class TLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ClickTracker clicks_;
};

}  // namespace tolvaro
