#include "window/tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegion>
#include <QScrollBar>
#include <QShortcut>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>

#include "print/lightlook.h"
#include "print/nodropcursor.h"
#include "print/printjob.h"
#include "print/tprintdialoog1.h"
#include "print/windowlook.h"
#include "window/controltable.h"
#include "window/screen/placement.h"
#include "window/widgets.h"

namespace tolvaro {

namespace {

constexpr Qt::WindowFlags kToolWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace

TForm1::TForm1(const Clock& clock, QWidget* parent, Build build)
    : QWidget(parent, kToolWindowFlags),
      practice_(*this, random_),
      contest_(*this, practice_, clock, CountdownFormat(QLocale().timeFormat(QLocale::LongFormat).toStdString())) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tolvaro v.1 (KVZ)"));
    setFixedSize(kClientSize);
    QPalette palette = WindowPalette();
    palette.setColor(QPalette::Window, FillColor(Color::BtnShadow));
    setPalette(palette);
    setFont(FontOf({"MS Sans Serif", 13, Bold}));
    noDropCursor_ = NoDropCursor();
    setCursor(noDropCursor_);
    setMouseTracking(true);
    // The bare window clears the help box.
    installEventFilter(this);
    widgets_[static_cast<int>(Control::Form1)] = this;
    connect(&timer1_, &QTimer::timeout, this, [this] { Run([this] { contest_.Timer1Timer(); }); });
    // Made now rather than when shown, where the frame is asked for this very window.
    if (const auto place = CentredGeometry(size(), [this] { return winId(); })) setGeometry(*place);
    if (build == Build::Now) Construct();
}

void TForm1::Construct() {
    built_ = true;
    setWindowIcon(QIcon(QStringLiteral(":/art/icon.svg")));
    BuildControls();
    FormCreate();
    emit built();
}

TForm1::~TForm1() {
    // Children are destroyed after this body; their last focus events must not reach the logic.
    for (QWidget* control : findChildren<QWidget*>()) control->disconnect(this);
}

// ---------------------------------------------------------------- building from the table

void TForm1::BuildControls() {
    for (const ControlSpec& entry : MainWindowControls()) {
        QWidget* widget = CreateWidget(entry, this->widget(entry.parent), noDropCursor_);
        rowOf_.insert(widget, &entry);
        if (entry.control) widgets_[static_cast<int>(*entry.control)] = widget;
        Connect(entry, widget);
    }
    Q_ASSERT(std::find(widgets_.cbegin(), widgets_.cend(), nullptr) == widgets_.cend());
    help_ = static_cast<QTextEdit*>(widget(Control::Help));
    richEdit1_ = static_cast<QTextEdit*>(widget(Control::RichEdit1));
    info_ = widget(Control::Info);
    for (int row = 1; row < kRows; ++row) {
        setTabOrder(widget(Row(RowPart::Result, row)), widget(Row(RowPart::Result, row + 1)));
    }
    // Escape is the window's cancel key, not a click (see EscapeKey).
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &TForm1::EscapeKey);
}

// The row's handlers on the control's signals, and its key.
void TForm1::Connect(const ControlSpec& entry, QWidget* widget) {
    const Control control = entry.control.value_or(Control::Form1);
    const Handlers& h = entry.handlers;
    const auto run = [this, control](Handler handler) {
        return [this, control, handler] { Run([&] { handler(*this, control); }); };
    };
    if (auto* edit = qobject_cast<TEdit*>(widget)) {
        if (h.click) connect(edit, &TEdit::clicked, this, run(h.click));
        if (h.enter) connect(edit, &TEdit::entered, this, run(h.enter));
        if (h.exit) connect(edit, &TEdit::left, this, run(h.exit));
        connect(edit, &TEdit::enterPressed, this, [this, control, key = h.enterKey] { EnterKey(key, control); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && h.click) {
        // A press whose focus step hid the button (leaving the minutes field may hide START) is
        // no click: the button is gone from under the pointer.
        connect(button, &QAbstractButton::clicked, this, [button, click = run(h.click)] {
            if (button->isVisible()) click();
        });
    } else if (auto* image = qobject_cast<TImage*>(widget); image && h.click) {
        connect(image, &TImage::clicked, this, run(h.click));
    }
    if (entry.help || entry.control == Control::Panel3 || entry.control == Control::Info) {
        widget->installEventFilter(this);
    }
    if (entry.key.key() != Qt::Key_unknown) AddKey(KeyOf(widget), widget);
}

void TForm1::AdjustAutoSize(QLabel* label) {
    if (!measuring_) return;
    const ControlSpec* entry = rowOf_.value(label);
    if (!entry || !(entry->flags & AutoSize)) return;
    const QRect old = label->geometry();
    const int width = label->text().isEmpty() ? 0 : label->sizeHint().width();
    const int left = (entry->flags & AlignRight) ? old.x() + old.width() - width : old.x();
    label->setGeometry(left, old.y(), width, old.height());
}

// ---------------------------------------------------------------- events

// The help box follows the mouse; the labels of a panel are sized to their text when it is shown.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (!built_) return QWidget::eventFilter(watched, event);
    auto* control = static_cast<QWidget*>(watched);
    const ControlSpec* entry = watched == this ? nullptr : rowOf_.value(watched);
    if (event->type() == QEvent::MouseMove && control->isEnabled()) {
        if (watched == this) SetHelpText({});
        else if (entry && entry->help) SetHelpText(entry->help);
    } else if (event->type() == QEvent::Show && (watched == info_ || watched == widget(Control::Panel3))) {
        for (QLabel* label : control->findChildren<QLabel*>()) AdjustAutoSize(label);
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        // Once the window is up: the controls are built if they wait for that, the labels that size
        // to their text are measured (measuring loads the fonts, which the window doesn't need to
        // appear), then the first activation draws the first set. This runs before the window's
        // first paint, so that paint shows the whole window. Labels in the hidden panels are
        // measured when their panel is shown.
        QMetaObject::invokeMethod(this, [this] {
            if (!built_) Construct();
            measuring_ = true;
            for (QLabel* label : findChildren<QLabel*>()) {
                if (label->isVisibleTo(this)) AdjustAutoSize(label);
            }
            if (activationPending_) FormActivate();
        }, Qt::QueuedConnection);
    }
}

void TForm1::ReturnFromPrintDialog() {
    activationPending_ = true;
    activateWindow();
    raise();
    QMetaObject::invokeMethod(this, [this] {
        if (activationPending_) FormActivate();
    }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------- start-up, about panel, pictures

void TForm1::FormCreate() {
    practice_.ResetSeries();
    random_.SeedFromClock();
    SetTimerInterval(Contest::kTickMs);
    RowSeparator = std::string(8, '\t') + "|";
}

void TForm1::FormActivate() {
    activationPending_ = false;
    ++activations_;
    Run([this] {
        practice_.NewExerciseSet();
        RunPrintJob(*this, practice_, printFlags_, WorksheetTable, RowSeparator);
    });
    if (activations_ > 1) Happened(Moment::ActivationDrew);
}

void TForm1::Image1Click() {
    const bool wasHidden = info_->isHidden();
    SetVisible(Control::Info, true);
    if (wasHidden) emit aboutShown(true);
}

void TForm1::OKKnopClick() {
    const bool wasShown = !info_->isHidden();
    SetVisible(Control::Info, false);
    if (wasShown) emit aboutShown(false);
}
void TForm1::Image3Click() { OpenPrintDialog(); }
void TForm1::Image4Click() { Quit(); }

// ---------------------------------------------------------------- keys

// Through Qt's shortcuts, so that Qt tells assistive tools each control's key; Enter stands for the
// keypad's too.
void TForm1::AddKey(const QKeySequence& key, QWidget* control) {
    auto* shortcut = new QShortcut(this);
    QList<QKeySequence> keys{key};
    if (key[0].key() == Qt::Key_Return) {
        keys << QKeySequence(QKeyCombination(key[0].keyboardModifiers(), Qt::Key_Enter));
    }
    shortcut->setKeys(keys);
    connect(shortcut, &QShortcut::activated, this, [this, control] { ClickByKey(control); });
}

// The about panel's OK, while it can be pressed: the window's default button, and what Escape
// presses when RESET is not there, as it closes a dialog.
bool TForm1::PressAboutOk() {
    if (info_->isHidden() || !widget(Control::OKKnop)->isEnabled()) return false;
    Run([this] { OKKnopClick(); });
    return true;
}

// Enter in an edit.
void TForm1::EnterKey(Handler handler, Control control) {
    if (!PressAboutOk() && handler) Run([&] { handler(*this, control); });
}

// Enter elsewhere, also on no control (the edits and buttons take their own).
void TForm1::keyPressEvent(QKeyEvent* event) {
    if (!IsEnter(event) || !PressAboutOk()) QWidget::keyPressEvent(event);
}

// Escape presses RESET while RESET can be pressed, wherever the focus is (also on no control, as
// after the end of a contest took it out of an answer edit) and also while the about panel lies
// over it.
void TForm1::EscapeKey() {
    auto* reset = static_cast<QAbstractButton*>(widget(Control::OKKnop1));
    if (!reset->isHidden() && reset->isEnabled()) {
        reset->click();
    } else if (reset->isHidden()) {
        PressAboutOk();
    }
}

// A key clicks its control as the mouse would, or not at all where the mouse could not: the
// control must be shown, enabled and not under the about panel. The press moves the focus first,
// where a mouse press moves it, so the field being left settles its text (and may hide or disable
// the control) before the control acts; the focus then rests where the click leaves it.
void TForm1::ClickByKey(QWidget* control) {
    emit keyClick(control, true);
    ClickReachable(control);
    emit keyClick(control, false);
}

void TForm1::ClickReachable(QWidget* control) {
    if (!Reachable(control)) {
        emit keyRefused(control);
        return;
    }
    for (QWidget* w = control; w && w != this; w = w->parentWidget()) {
        if (w->focusPolicy() & Qt::ClickFocus) {
            w->setFocus(Qt::MouseFocusReason);
            break;
        }
    }
    if (!Reachable(control)) {
        emit keyRefused(control);
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->click();
    else if (auto* image = qobject_cast<TImage*>(control)) image->click();
    else if (auto* label = qobject_cast<TLabel*>(control)) label->click();
    else if (auto* edit = qobject_cast<TEdit*>(control)) edit->click();
}

bool TForm1::Reachable(const QWidget* control) const {
    if (!isEnabled() || !control->isVisible() || !control->isEnabled()) return false;
    if (info_->isHidden() || info_->isAncestorOf(control)) return true;
    const QRect area(control->mapTo(this, QPoint(0, 0)), control->size());
    return !QRegion(area).subtracted(info_->geometry()).isEmpty();
}

// ---------------------------------------------------------------- handlers and errors

void TForm1::Run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ReportError(QString::fromUtf8(error.what()));
    } catch (...) {
        ReportError(QStringLiteral("Onbekende fout."));
    }
}

void TForm1::ReportError(const QString& message) {
    if (errorReporter_) {
        errorReporter_(message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, windowTitle(), message, QMessageBox::Ok, isEnabled() ? this : nullptr);
    box.exec();
}

// ---------------------------------------------------------------- view operations

void TForm1::SetText(Control control, const std::string& text) {
    if (control == Control::Help) {
        SetHelpText(text);
        return;
    }
    QWidget* w = widget(control);
    const QString value = QString::fromUtf8(text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(value);
        AdjustAutoSize(label);
        if (const ControlSpec* entry = rowOf_.value(label)) FitToLabel(label, *entry);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        WriteText(edit, value);
    }
    emit textChanged(control);
}

std::string TForm1::Text(Control control) const {
    QWidget* w = widget(control);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    if (auto* box = qobject_cast<QTextEdit*>(w)) return box->toPlainText().replace(u'\n', u'\r').toStdString();
    return {};
}

void TForm1::SetVisible(Control control, bool visible) {
    QWidget* w = widget(control);
    // A control being hidden gives the keyboard focus to the window first. A hidden button must
    // not keep it (Enter or Space would still press it), and the focus must not pass on to the
    // next control by itself either: that would count as entering that control (an answer edit
    // would hide VOLGENDE OEFENING).
    if (!visible && (w->hasFocus() || w->isAncestorOf(QApplication::focusWidget()))) setFocus(Qt::OtherFocusReason);
    w->setVisible(visible);
}

bool TForm1::IsVisible(Control control) const {
    return control == Control::Form1 ? isVisible() : !widget(control)->isHidden();
}

void TForm1::SetEnabled(Control control, bool enabled) { widget(control)->setEnabled(enabled); }

void TForm1::SetFocus(Control control) { widget(control)->setFocus(Qt::OtherFocusReason); }

void TForm1::SetFontColor(Control control, Color color) {
    QWidget* w = widget(control);
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, TextColor(color));
    w->setPalette(palette);
}

void TForm1::SetHelpText(const std::string& text) {
    QString value = QString::fromUtf8(text);
    value.replace(u'\r', u'\n');
    if (help_->toPlainText() != value) {
        help_->setPlainText(value);
    } else {
        // Replacing the same text shows it from its first line again.
        help_->moveCursor(QTextCursor::Start);
        help_->verticalScrollBar()->setValue(0);
    }
}

void TForm1::SetTimerEnabled(bool enabled) {
    if (!enabled) {
        timer1_.stop();
    } else if (!timer1_.isActive()) {
        timer1_.Start();
    }
}

void TForm1::SetTimerInterval(int milliseconds) { timer1_.setInterval(milliseconds); }

void TForm1::SetTimerNextTick(int milliseconds) { timer1_.TickIn(milliseconds); }

// The hidden text box RichEdit1 mirrors the printer's buffer, so it holds the last sheet printed.
void TForm1::ClearPrintBuffer() {
    printer_.ClearBuffer();
    richEdit1_->clear();
}

void TForm1::AddPrintLine(const std::string& line) { printer_.AddLine(line); }

void TForm1::PrintBuffer(const std::string& jobTitle) {
    richEdit1_->setPlainText(printer_.BufferText());
    printer_.PrintBuffer(jobTitle);
}

bool TForm1::ExecutePrinterSetup() { return printer_.Setup(this, printFlags_.WorksheetTitle); }

void TForm1::OpenPrintDialog() {
    auto* dialog = new TPrintDialoog1(printFlags_, this, [this] { ReturnFromPrintDialog(); });
    // Closing the main window ends the program even while a dialog is open.
    dialog->setAttribute(Qt::WA_QuitOnClose, false);
}

void TForm1::Quit() { QCoreApplication::quit(); }

void TForm1::Happened(Moment moment) {
    // The end of a contest took the focus out of the answers and hid both buttons. It rests on
    // the results, where Escape still leaves the contest, Enter presses nothing, and a screen
    // reader can name the place.
    if (moment == Moment::ContestEnded) {
        QWidget* results = widget(Control::Panel3);
        results->setFocusPolicy(Qt::ClickFocus);
        results->setFocus(Qt::OtherFocusReason);
    }
    emit happened(moment);
}

}  // namespace tolvaro
