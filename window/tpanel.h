// A panel with bevels and a border, as the layout draws its panels.
#pragma once

#include <QFrame>

namespace tolvaro {

class TPanel : public QFrame {
public:
    TPanel(QWidget* parent, int bevelInner, int bevelOuter, int bevelWidth, int borderWidth, bool borderLine);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int inner_, outer_, bevelWidth_, borderWidth_;
    bool borderLine_;
};

}  // namespace tolvaro
