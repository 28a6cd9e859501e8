#pragma once

#include <QTextEdit>

namespace tolvaro {

// A text box whose text can be selected and copied but not dragged away, and that takes no
// drops. Qt's text box starts a drag when a press on the selection moves far enough, and its
// auto-scroll timer can start a second one from inside the first, which leaves the window
// waiting for a drag that no longer follows the mouse.
class TRichEdit : public QTextEdit {
public:
    explicit TRichEdit(QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tolvaro
