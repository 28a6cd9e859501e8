#pragma once

#include <QString>
#include <QSvgRenderer>
#include <QWidget>
#include <memory>

#include "window/inputevents.h"

namespace tolvaro {

// A picture from a vector resource, stretched to the control or drawn at its natural size.
class TImage : public QWidget {
    Q_OBJECT

public:
    TImage(QWidget* parent, const QString& resource, bool stretch);
    // As a click by the mouse (a key, an assistive tool's press).
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { clicks_.Pressed(event); }
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ClickTracker clicks_;
    QString resource_;
    bool stretch_;
    std::unique_ptr<QSvgRenderer> renderer_;
};

}  // namespace tolvaro
