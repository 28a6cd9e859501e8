#include "window/tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <string_view>

#include "print/lightlook.h"
#include "print/printjob.h"
#include "print/tprintdialoog1.h"
#include "window/accessibility.h"
#include "window/controltable.h"
#include "window/keys.h"
#include "window/placement.h"
#include "window/widgets.h"

namespace tolvaro {

namespace {

constexpr Qt::WindowFlags kToolWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// The layout names Windows faces; asking for the installed metric-compatible faces directly
// spares the font lookup a fallback search for every face it doesn't know. (Were they missing,
// the font lookup would fall back to the default faces either way.)
QString InstalledFamily(const char* family) {
    return std::string_view(family) == "Times New Roman" ? QStringLiteral("Liberation Serif")
                                                        : QStringLiteral("Liberation Sans");
}

QFont FontOf(const FontSpec& entry) {
    QFont font(InstalledFamily(entry.family));
    font.setPixelSize(entry.pixelSize);
    font.setBold(entry.style & Bold);
    font.setItalic(entry.style & Italic);
    font.setUnderline(entry.style & Underline);
    // Every text of the window is Western European, which the installed faces cover: no glyph
    // fallback is needed, and looking up fallback faces is the costliest part of start-up.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

bool IsWindowSwitch(const QFocusEvent* event) {
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

}  // namespace

TForm1::TForm1(const Clock& clock, QWidget* parent, Build build)
    : QWidget(parent, kToolWindowFlags),
      practice_(*this, random_),
      contest_(*this, practice_, clock, CountdownFormat(QLocale().timeFormat(QLocale::LongFormat).toStdString())) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tolvaro v.1 (KVZ)"));
    setFixedSize(kClientSize);
    QPalette palette = LightPalette();
    palette.setColor(QPalette::Window, ToQColor(Color::BtnShadow));
    setPalette(palette);
    setFont(FontOf({"MS Sans Serif", 13, Bold}));
    noDropCursor_ = NoDropCursor();
    setCursor(noDropCursor_);
    setMouseTracking(true);
    installEventFilter(this);
    widgets_[static_cast<int>(Control::Form1)] = this;
    connect(&timer1_, &QTimer::timeout, this, [this] { Run([this] { contest_.Timer1Timer(); }); });
    CentreOnScreen(*this);
    if (build == Build::Now) Construct();
}

void TForm1::Construct() {
    built_ = true;
    setWindowIcon(QIcon(QStringLiteral(":/art/icon.svg")));
    BuildControls();
    WireHandlers();
    FormCreate();
}

TForm1::~TForm1() {
    // Children are destroyed after this body; their last focus events must not reach the logic.
    accessibility_.reset();
    handlers_.clear();
}

// ---------------------------------------------------------------- building from the table

void TForm1::BuildControls() {
    QHash<QString, QWidget*> byName;
    for (const ControlSpec& entry : MainWindowControls()) {
        QWidget* parent = entry.parent ? byName.value(QString::fromLatin1(entry.parent), this) : this;
        QWidget* widget = CreateControl(entry, parent);
        byName.insert(widget->objectName(), widget);
        specs_.insert(widget, &entry);
    }
    for (int i = 0; i < static_cast<int>(Control::Count); ++i) {
        const auto control = static_cast<Control>(i);
        if (control == Control::Form1) continue;
        widgets_[i] = byName.value(QString::fromStdString(ControlName(control)));
        Q_ASSERT(widgets_[i]);
    }
    help_ = static_cast<QTextEdit*>(widget(Control::Help));
    richEdit1_ = static_cast<QTextEdit*>(byName.value(QStringLiteral("RichEdit1")));
    info_ = widget(Control::Info);
    for (int row = 1; row < kRows; ++row) {
        setTabOrder(widget(Row(RowPart::Result, row)), widget(Row(RowPart::Result, row + 1)));
    }
}

QWidget* TForm1::CreateControl(const ControlSpec& entry, QWidget* parent) {
    QWidget* widget = nullptr;
    const QString text = QString::fromUtf8(entry.text ? entry.text : "");
    switch (entry.kind) {
        case Kind::Label: {
            auto* label = new QLabel(text, parent);
            Qt::Alignment align = Qt::AlignTop;
            align |= (entry.flags & AlignRight) ? Qt::AlignRight : (entry.flags & AlignCenter) ? Qt::AlignHCenter
                                                                                              : Qt::AlignLeft;
            label->setAlignment(align);
            label->setWordWrap(entry.flags & WordWrap);
            label->setTextFormat(Qt::PlainText);
            widget = label;
            break;
        }
        case Kind::Edit: {
            auto* edit = new TEdit(parent, entry.flags & SelectOnFocus, entry.flags & KeepSelection);
            edit->setMaxLength(entry.maxLength);
            edit->setText(text);
            edit->setFocusPolicy((entry.flags & TabStop) ? Qt::StrongFocus : Qt::ClickFocus);
            widget = edit;
            break;
        }
        case Kind::Button: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            // Enter presses the default button wherever the focus is, so it needs none; taking it
            // from a click would leave the focus on no control once the about panel hides it.
            button->setFocusPolicy((entry.flags & DefaultButton) ? Qt::NoFocus : Qt::ClickFocus);
            if (entry.picture) {
                button->setIcon(QIcon(QString::fromLatin1(entry.picture)));
                // A square glyph whose side is a multiple of 4 logical pixels is a whole number of
                // device pixels at every quarter-step scale factor: drawn without resampling.
                const int side = std::min(entry.width - 12, entry.height - 8) / 4 * 4;
                button->setIconSize(QSize(side, side));
            }
            widget = button;
            break;
        }
        case Kind::GroupBox: widget = new QGroupBox(text, parent); break;
        case Kind::Panel:
            widget = new TPanel(parent, static_cast<int>(entry.bevelInner == Bevel::Raised) -
                                            static_cast<int>(entry.bevelInner == Bevel::Lowered),
                                static_cast<int>(entry.bevelOuter == Bevel::Raised) -
                                    static_cast<int>(entry.bevelOuter == Bevel::Lowered),
                                entry.bevelWidth, entry.borderWidth, entry.borderLine);
            break;
        case Kind::Image: widget = new TImage(parent, QString::fromLatin1(entry.picture), entry.stretch); break;
        case Kind::RichText: {
            auto* box = new TRichEdit(parent);
            box->setReadOnly(entry.flags & ReadOnly);
            box->setAcceptRichText(false);
            box->setFocusPolicy((entry.flags & Hidden) ? Qt::NoFocus : Qt::ClickFocus);
            if (entry.flatFrame) box->setFrameStyle(QFrame::Box | QFrame::Plain);
            widget = box;
            break;
        }
    }
    ApplyLightStyle(widget);
    widget->setObjectName(QString::fromLatin1(entry.name));
    if (entry.accessibleName) widget->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    if (entry.help) handlers_[widget].help = entry.help;
    if (entry.key.key() != Qt::Key_unknown) keys_.insert(entry.key.toCombined(), widget);
    widget->setGeometry(entry.x, entry.y, entry.width, entry.height);
    if (entry.font.family) widget->setFont(FontOf(entry.font));
    QPalette palette;
    palette.setResolveMask(0);
    if (entry.font.family && entry.font.color != Color::None) {
        const QColor color = ToQColor(entry.font.color);
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::ButtonText, color);
    }
    if (entry.background != Color::None) {
        palette.setColor(QPalette::Window, ToQColor(entry.background));
        if (entry.kind == Kind::RichText) palette.setColor(QPalette::Base, ToQColor(entry.background));
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(entry.background != Color::None || (entry.flags & Opaque) ||
                                  entry.kind == Kind::Panel || entry.kind == Kind::GroupBox);
    SetPointer(widget, entry.kind, entry.cursor, noDropCursor_);
    if (entry.tooltip) {
        widget->setToolTip(QString::fromUtf8(entry.tooltip));
        widget->setToolTipDuration(5000);
    }
    // Explicit either way: controls built after the window is shown are not shown with it.
    widget->setVisible(!(entry.flags & Hidden));
    // Mouse movement stops at the innermost control: a label in a panel does not clear the help.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    return widget;
}

void TForm1::AdjustAutoSize(QLabel* label) {
    if (!measuring_) return;
    const ControlSpec* entry = specs_.value(label);
    if (!entry || !(entry->flags & AutoSize)) return;
    const QRect old = label->geometry();
    const int width = label->text().isEmpty() ? 0 : label->sizeHint().width();
    const int left = (entry->flags & AlignRight) ? old.x() + old.width() - width : old.x();
    label->setGeometry(left, old.y(), width, old.height());
}

void TForm1::WireHandlers() {
    auto on = [this](Control control) -> Handlers& { return handlers_[widget(control)]; };
    auto& p = practice_;
    on(Control::Form1).help = "";

    struct SettingWiring {
        Control edit;
        void (Practice::*click)();
        void (Practice::*enter)();
        void (Practice::*exit)();
        void (Practice::*keyPress)(char);
    };
    const SettingWiring settings[] = {
        {Control::MaxGrondtal, &Practice::MaxGrondtalClick, &Practice::MaxGrondtalEnter, &Practice::MaxGrondtalExit,
         &Practice::MaxGrondtalKeyPress},
        {Control::MaxExponent, &Practice::MaxExponentClick, &Practice::MaxGrondtalEnter, &Practice::MaxExponentExit,
         &Practice::MaxExponentKeyPress},
        {Control::TimerMinuten, &Practice::TimerMinutenClick, &Practice::TimerMinutenEnter,
         &Practice::TimerMinutenExit, &Practice::TimerMinutenKeyPress},
    };
    for (const SettingWiring& setting : settings) {
        Handlers& h = on(setting.edit);
        h.click = [&p, f = setting.click] { (p.*f)(); };
        h.enter = [&p, edit = setting.edit, f = setting.enter] {
            p.SettingEntered(edit);
            (p.*f)();
        };
        h.exit = [&p, f = setting.exit] { (p.*f)(); };
        h.enterKey = [&p, f = setting.keyPress] { (p.*f)(13); };
    }
    for (int row = 1; row <= kRows; ++row) {
        Handlers& result = on(Row(RowPart::Result, row));
        result.click = [&p, row] { p.ResultClick(row); };
        result.enter = [&p] { p.MaxGrondtalEnter(); };
        result.exit = [&p, row] { p.ResultExit(row); };
        result.enterKey = [&p, row] { p.ResultKeyPress(row, 13); };
    }

    QWidget* image1 = findChild<QWidget*>(QStringLiteral("Image1"));
    QWidget* image3 = findChild<QWidget*>(QStringLiteral("Image3"));
    QWidget* image4 = findChild<QWidget*>(QStringLiteral("Image4"));
    handlers_[image1].click = [this] { Image1Click(); };
    handlers_[image3].click = [this] { Image3Click(); };
    handlers_[image4].click = [this] { Image4Click(); };
    // The countdown says the time left to a screen reader (it shows it to everyone else).
    on(Control::KlokVenster).click = [this] { accessibility_->AnnounceTimeLeft(); };

    auto button = [this](const QString& name, std::function<void()> handler) {
        auto* b = findChild<QPushButton*>(name);
        // A press whose focus step hid the button (leaving the minutes field may hide START) is
        // no click: the button is gone from under the pointer.
        connect(b, &QPushButton::clicked, this, [this, b, handler] {
            if (b->isVisible()) Run(handler);
        });
    };
    button(QStringLiteral("Kontroleer"), [&p] { p.KontroleerClick(); });
    button(QStringLiteral("VolgendeOefening"), [&p] { p.VolgendeOefeningClick(); });
    button(QStringLiteral("Startknop"), [this] { contest_.StartknopClick(); });
    button(QStringLiteral("OKKnop1"), [this] { contest_.OKKnop1Click(); });
    button(QStringLiteral("OKKnop"), [this] { OKKnopClick(); });

    // Assistive tools read a control's help text and key as its description; the pictures that
    // react to a click are offered to them as buttons.
    FormAccessibility::Descriptions descriptions;
    for (auto spec = specs_.cbegin(); spec != specs_.cend(); ++spec) {
        const ControlSpec& entry = **spec;
        const QKeyCombination key = (entry.flags & CancelButton) ? QKeyCombination(Qt::Key_Escape) : entry.key;
        // Without a help text, the tooltip (which assistive tools read in its place) goes first.
        const char* text = entry.help ? entry.help : entry.tooltip ? entry.tooltip : "";
        const QString description = AccessibleDescriptionOf(text, KeyName(key));
        if (!description.isEmpty()) descriptions.emplace_back(static_cast<QWidget*>(spec.key()), description);
    }
    accessibility_ = std::make_unique<FormAccessibility>(*this, descriptions, std::vector<QWidget*>{image1, image3, image4});
}

// ---------------------------------------------------------------- events

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (!built_) return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto it = handlers_.constFind(watched);
    const bool handled = it != handlers_.constEnd();
    switch (event->type()) {
        case QEvent::MouseMove:
            if (handled && it->help && widget->isEnabled()) SetHelpText(it->help);
            break;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) pressed_ = widget;
            break;
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const bool click = mouse->button() == Qt::LeftButton && pressed_ == widget &&
                               widget->rect().contains(mouse->position().toPoint());
            pressed_ = nullptr;
            if (click && handled && it->click && widget->isEnabled() && widget->isVisible()) {
                const auto handler = it->click;
                Run(handler);
            }
            break;
        }
        case QEvent::FocusIn:
            // Entered also when the window's activation brings the focus (no entry handler runs
            // then, but leaving it is an exit all the same).
            if (handled) entered_ = widget;
            if (handled && it->enter && !IsWindowSwitch(static_cast<QFocusEvent*>(event))) {
                const auto handler = it->enter;
                Run(handler);
            }
            break;
        case QEvent::FocusOut:
            // Only a control that was entered is left: a focus step in another control's exit can
            // take the focus from a clicked control before it ever got it.
            if (handled && it->exit && entered_ == widget && !IsWindowSwitch(static_cast<QFocusEvent*>(event))) {
                entered_ = nullptr;
                const auto handler = it->exit;
                Run(handler);
            }
            break;
        case QEvent::Show:
            if (watched == info_ || watched == widgets_[static_cast<int>(Control::Panel3)]) {
                for (QLabel* label : widget->findChildren<QLabel*>()) AdjustAutoSize(label);
            }
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            return HandleKey(widget, key->key(), key->modifiers());
        }
        default: break;
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

// ---------------------------------------------------------------- start-up and pictures

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
        if (const ControlSpec* entry = specs_.value(label)) FitToLabel(label, *entry);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        WriteText(edit, value);
    }
    if (accessibility_) accessibility_->TextChanged(control);
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
    palette.setColor(QPalette::WindowText, ToQColor(color));
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
