#include "print/tprintdialoog1.h"

#include "print/lightlook.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include "print/nodropcursor.h"
#include "print/windowlook.h"

namespace tolvaro {
namespace {

QFont SansSerif(int pixels, bool bold = false, bool underline = false) {
    QFont font;
    // Where MS Sans Serif is missing, a face of about its width keeps the captions in their boxes.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

void SetColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

// The panel's colour: the grey of disabled text in the light look, where black captions stand on
// it at 5.3:1; the background in the high-contrast look.
QColor PanelColor() {
    return HighContrastLook() ? FillColor(Color::None) : LightPalette().color(QPalette::Disabled, QPalette::Text);
}

}  // namespace

TPrintDialoog1::TPrintDialoog1(PrintFlags& flags, QWidget* mainWindow, std::function<void()> returnFocus)
    : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      flags_(flags),
      mainWindow_(mainWindow),
      returnFocus_(std::move(returnFocus)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("PrintDialoog1"));
    setWindowTitle(QStringLiteral("PrintDialoog1"));
    setAccessibleName(QStringLiteral("Printen van een schriftelijke oefening"));
    setFixedSize(658, 333);
    setFont(SansSerif(11));
    setAutoFillBackground(true);
    setPalette(WindowPalette());
    SetColor(this, QPalette::Window, FillColor(Color::clGreen));
    setCursor(NoDropCursor());

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(31, 39, 597, 249);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(5);
    Panel1->setAutoFillBackground(true);
    SetColor(Panel1, QPalette::Window, PanelColor());
    Panel1->setCursor(cursor());

    Label1 = new QLabel(QStringLiteral("Printen van een schriftelijke oefening"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(104, 24, 346, 24);
    Label1->setFont(SansSerif(19, true, true));
    SetColor(Label1, QPalette::WindowText, TextColor(Color::clBlack));

    Edit1 = new QLineEdit(QStringLiteral("Oefening"), Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("Titel van de oefening"));
    Edit1->setGeometry(16, 96, 553, 28);
    Edit1->setFont(SansSerif(16, true));
    SetColor(Edit1, QPalette::Text, TextColor(Color::clBlack));
    Edit1->setCursor(Qt::ArrowCursor);
    Edit1->setAcceptDrops(false);  // the title is typed, as every field of the program

    CheckBox1 = new QCheckBox(QStringLiteral("Extra blad met oplossingen printen :"), Panel1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(16, 144, 309, 17);
    CheckBox1->setLayoutDirection(Qt::RightToLeft);  // the caption stands left of the box
    CheckBox1->setFont(SansSerif(16, true));
    SetColor(CheckBox1, QPalette::WindowText, TextColor(Color::clBlack));
    CheckBox1->setChecked(false);
    CheckBox1->setCursor(Qt::ArrowCursor);

    OKKnop = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), Panel1);
    OKKnop->setObjectName(QStringLiteral("OKKnop"));
    OKKnop->setGeometry(160, 199, 81, 25);
    OKKnop->setAutoDefault(true);
    OKKnop->setDefault(true);
    OKKnop->setCursor(Qt::ArrowCursor);

    CancelKnop =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), Panel1);
    CancelKnop->setObjectName(QStringLiteral("CancelKnop"));
    CancelKnop->setGeometry(373, 200, 81, 25);
    CancelKnop->setAutoDefault(true);
    CancelKnop->setCursor(Qt::ArrowCursor);

    Label1->setFocusPolicy(Qt::NoFocus);
    setTabOrder(Edit1, CheckBox1);
    setTabOrder(CheckBox1, OKKnop);
    setTabOrder(OKKnop, CancelKnop);

    connect(OKKnop, &QPushButton::clicked, this, &TPrintDialoog1::OKKnopClick);
    connect(CancelKnop, &QPushButton::clicked, this, &TPrintDialoog1::CancelKnopClick);

    ApplyLightStyle(this);

    QScreen* screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }

    // A caption never gets cut off: where the face is wider than planned, its control grows.
    for (QWidget* caption : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(CheckBox1)}) {
        const int wanted = caption->sizeHint().width();
        if (wanted > caption->width()) caption->resize(wanted, caption->height());
    }

    // A dialog of the main window for the window system (Qt marks only dialog-type windows as
    // transient on X11): it stays over the main window, compositors that place windows themselves
    // (Wayland) place it there, and the focus goes back to the main window when it closes. Not a
    // child widget: disabling the main window would disable the dialog too.
    if (mainWindow) {
        create();
        windowHandle()->setTransientParent(mainWindow->window()->windowHandle());
        mainWindow->installEventFilter(this);
    }
    // The dialog opens with the focus in the title, entered as the keyboard enters a field: its
    // text selected, so typing replaces it. The window's activation keeps the selection; a click
    // into the field places the cursor as usual.
    Edit1->selectAll();
    Edit1->setFocus(Qt::OtherFocusReason);
    show();
    activateWindow();
}

TPrintDialoog1::~TPrintDialoog1() {
    // Released without an answer (the program is ending): never leave the main window disabled.
    if (activated_ && !answered_) EnableMainWindow(true);
}

void TPrintDialoog1::FormActivate() {
    if (activated_) return;
    activated_ = true;
    flags_.PrintRequested = false;
    EnableMainWindow(false);
}

void TPrintDialoog1::OKKnopClick() {
    if (answered_) return;
    flags_.WorksheetTitle = Edit1->text().toStdString();
    flags_.PrintCancelled = false;
    flags_.PrintRequested = true;
    flags_.PrintSolutions = CheckBox1->isChecked();
    answered_ = true;
    EnableMainWindow(true);
    close();
}

void TPrintDialoog1::CancelKnopClick() {
    if (answered_) return;
    RecordCancel();
    close();
}

void TPrintDialoog1::RecordCancel() {
    flags_.PrintCancelled = true;
    flags_.PrintRequested = true;
    answered_ = true;
    EnableMainWindow(true);
}

void TPrintDialoog1::EnableMainWindow(bool enabled) {
    if (mainWindow_) mainWindow_->setEnabled(enabled);
}

bool TPrintDialoog1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(event);
}

// The disabled main window takes no input, yet a click on it lets the window manager make it the
// active window, and the keyboard would go with it: the open dialog takes both back.
bool TPrintDialoog1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mainWindow_ && event->type() == QEvent::WindowActivate && !answered_) {
        QMetaObject::invokeMethod(this, [this] {
            if (answered_ || !isVisible()) return;
            raise();
            activateWindow();
        }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void TPrintDialoog1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Without a window manager the activation may never come; the dialog is active in effect
    // from the moment it is shown. FormActivate runs only once either way.
    FormActivate();
}

void TPrintDialoog1::closeEvent(QCloseEvent* event) {
    // Closed by other means than OK or Cancel: treat it as Cancel.
    if (!answered_) RecordCancel();
    event->accept();
}

void TPrintDialoog1::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!answered_ || focusReturned_ || event->spontaneous()) return;
    focusReturned_ = true;
    if (!returnFocus_) return;
    // From the event loop, once the hide is complete: whatever the main window's activation
    // does (and throws) happens outside this dialog's close.
    QObject* context = mainWindow_ ? static_cast<QObject*>(mainWindow_.data()) : qApp;
    QTimer::singleShot(0, context, returnFocus_);
}

void TPrintDialoog1::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OKKnop->click();
        return;
    case Qt::Key_Escape:
        CancelKnop->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

}  // namespace tolvaro
