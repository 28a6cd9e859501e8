// The print options dialog: asks for the worksheet's title and whether a solutions sheet
// follows, and hands the focus back to the main window.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

#include "print/printflags.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvaro {

// A borderless, always-on-top, non-modal dialog window of the main window, in the light look of
// the program's windows, that shows itself on creation. Create one with `new` for every opening
// and keep no reference: it releases itself once it is closed.
//
// While it is open the main window is disabled. OK and Cancel record the answer in `flags`,
// enable the main window and close the dialog; any other close (a window-manager command) counts
// as Cancel. Once the dialog is hidden, `returnFocus` is called from the event loop, so the main
// window can take the focus back and run its activation handler.
class TPrintDialoog1 : public QWidget {
    Q_OBJECT

public:
    TPrintDialoog1(PrintFlags& flags, QWidget* mainWindow, std::function<void()> returnFocus);
    ~TPrintDialoog1() override;

    // The dialog became the active window: nothing is requested yet, the main window takes no
    // input. Runs once per dialog.
    void FormActivate();
    void OKKnopClick();
    void CancelKnopClick();

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* OKKnop = nullptr;
    QPushButton* CancelKnop = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void RecordCancel();
    void EnableMainWindow(bool enabled);

    PrintFlags& flags_;
    QPointer<QWidget> mainWindow_;
    std::function<void()> returnFocus_;
    bool activated_ = false;  // FormActivate has run
    bool answered_ = false;   // OK or Cancel has been recorded
    bool focusReturned_ = false;
};

}  // namespace tolvaro
