#include "window/tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <string_view>

#include "print/lightlook.h"
#include "print/printjob.h"
#include "print/tprintdialoog1.h"
#include "window/accessibility.h"
#include "window/controltable.h"
#include "window/helptexts.h"
#include "window/placement.h"
#include "window/widgets.h"

namespace tolvaro {

namespace {

constexpr Qt::WindowFlags kToolWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

QColor ColorOf(std::uint32_t value) {
    switch (value) {
        case kBtnShadow: return {160, 160, 160};
        case kBtnText: return {0, 0, 0};
        case kActiveBorder: return {180, 180, 180};
        case kInactiveCaption: return {191, 205, 219};
        case kBackground: return {58, 110, 165};
        case kGrayText: return {109, 109, 109};
        default: return QColor::fromRgb(value & 0xFFFFFFu);
    }
}

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

// The locale's separator between hours, minutes and seconds.
std::string TimeSeparator() {
    const QString format = QLocale().timeFormat(QLocale::LongFormat);
    const qsizetype hour = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    if (hour >= 0) {
        qsizetype i = hour;
        while (i < format.size() && (format[i] == u'h' || format[i] == u'H')) ++i;
        qsizetype j = i;
        while (j < format.size() && format[j] != u'm') ++j;
        if (j > i && j < format.size()) return format.mid(i, j - i).toStdString();
    }
    return ":";
}

bool IsWindowSwitch(const QFocusEvent* event) {
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

}  // namespace

TForm1::TForm1(const Clock& clock, QWidget* parent, Build build)
    : QWidget(parent, kToolWindowFlags),
      practice_(*this, random_),
      contest_(*this, practice_, clock, TimeSeparator()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tolvaro v.1 (KVZ)"));
    setFixedSize(kClientSize);
    QPalette palette = LightPalette();
    palette.setColor(QPalette::Window, ColorOf(kBtnShadow));
    setPalette(palette);
    setFont(FontOf({"MS Sans Serif", 13, Bold, 0}));
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
            button->setFocusPolicy(Qt::ClickFocus);
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
            auto* box = new QTextEdit(parent);
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
    // Controls without a caption of their own get a Dutch name for assistive tools.
    if (const QString name = AccessibleNameOf(widget->objectName()); !name.isEmpty()) widget->setAccessibleName(name);
    widget->setGeometry(entry.x, entry.y, entry.width, entry.height);
    if (entry.font.family) widget->setFont(FontOf(entry.font));
    QPalette palette;
    palette.setResolveMask(0);
    if (entry.font.family && entry.font.color != kNoColor) {
        const QColor color = ColorOf(entry.font.color);
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::ButtonText, color);
    }
    if (entry.background != kNoColor) {
        palette.setColor(QPalette::Window, ColorOf(entry.background));
        if (entry.kind == Kind::RichText) palette.setColor(QPalette::Base, ColorOf(entry.background));
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(entry.background != kNoColor || (entry.flags & Opaque) ||
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
    auto help = [](Handlers& h, std::string_view text) {
        h.help = text.data();
        h.helpLength = static_cast<int>(text.size());
    };
    auto& p = practice_;

    for (Control background : {Control::Form1, Control::Instellingen, Control::Panel1}) help(on(background), "");
    help(handlers_[findChild<QWidget*>(QStringLiteral("Panel2"))], "");
    help(on(Control::Reeksteller), help::kReeksteller);
    help(on(Control::Label6), help::kLabel6);
    help(on(Control::Label8), help::kLabel8);
    help(on(Control::Kontroleer), help::kKontroleer);
    help(on(Control::VolgendeOefening), help::kVolgendeOefening);

    struct SettingWiring {
        Control edit;
        void (Practice::*click)();
        void (Practice::*enter)();
        void (Practice::*exit)();
        void (Practice::*keyPress)(char);
        std::string_view help;
    };
    const SettingWiring settings[] = {
        {Control::MaxGrondtal, &Practice::MaxGrondtalClick, &Practice::MaxGrondtalEnter, &Practice::MaxGrondtalExit,
         &Practice::MaxGrondtalKeyPress, help::kMaxGrondtal},
        {Control::MaxExponent, &Practice::MaxExponentClick, &Practice::MaxGrondtalEnter, &Practice::MaxExponentExit,
         &Practice::MaxExponentKeyPress, help::kMaxExponent},
        {Control::TimerMinuten, &Practice::TimerMinutenClick, &Practice::TimerMinutenEnter,
         &Practice::TimerMinutenExit, &Practice::TimerMinutenKeyPress, help::kTimerMinuten},
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
        help(h, setting.help);
    }
    for (int row = 1; row <= kRows; ++row) {
        Handlers& result = on(Row(RowPart::Result, row));
        result = {[&p, row] { p.ResultClick(row); }, [&p] { p.MaxGrondtalEnter(); }, [&p, row] { p.ResultExit(row); },
                  [&p, row] { p.ResultKeyPress(row, 13); }};
        help(result, help::kResult);
    }

    QWidget* image1 = findChild<QWidget*>(QStringLiteral("Image1"));
    QWidget* image3 = findChild<QWidget*>(QStringLiteral("Image3"));
    QWidget* image4 = findChild<QWidget*>(QStringLiteral("Image4"));
    handlers_[image1].click = [this] { Image1Click(); };
    handlers_[image3].click = [this] { Image3Click(); };
    help(handlers_[image3], help::kImage3);
    handlers_[image4].click = [this] { Image4Click(); };
    help(handlers_[image4], help::kImage4);

    auto button = [this](const QString& name, std::function<void()> handler) {
        auto* b = findChild<QPushButton*>(name);
        connect(b, &QPushButton::clicked, this, [this, handler] { Run(handler); });
    };
    button(QStringLiteral("Kontroleer"), [&p] { p.KontroleerClick(); });
    button(QStringLiteral("VolgendeOefening"), [&p] { p.VolgendeOefeningClick(); });
    button(QStringLiteral("Startknop"), [this] { contest_.StartknopClick(); });
    button(QStringLiteral("OKKnop1"), [this] { contest_.OKKnop1Click(); });
    button(QStringLiteral("OKKnop"), [this] { OKKnopClick(); });

    // Assistive tools read a control's help text as its description; the pictures that react to
    // a click are offered to them as buttons.
    FormAccessibility::HelpTexts helpTexts;
    for (auto h = handlers_.cbegin(); h != handlers_.cend(); ++h) {
        if (h->help && h->helpLength > 0) {
            helpTexts.emplace_back(static_cast<QWidget*>(h.key()),
                                   std::string_view(h->help, static_cast<std::size_t>(h->helpLength)));
        }
    }
    accessibility_ = std::make_unique<FormAccessibility>(*this, helpTexts, std::vector<QWidget*>{image1, image3, image4});
}

// ---------------------------------------------------------------- events

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (!built_) return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto it = handlers_.constFind(watched);
    const bool handled = it != handlers_.constEnd();
    switch (event->type()) {
        case QEvent::MouseMove:
            if (handled && it->help && widget->isEnabled()) {
                SetHelpText(std::string(it->help, static_cast<std::size_t>(it->helpLength)));
            }
            break;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) pressed_ = widget;
            break;
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const bool click = mouse->button() == Qt::LeftButton && pressed_ == widget &&
                               widget->rect().contains(mouse->position().toPoint());
            pressed_ = nullptr;
            if (click && handled && it->click && widget->isEnabled()) {
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

bool TForm1::HandleKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    // Escape presses RESET while it can be pressed, wherever the focus is (also on no control,
    // as after the end of a contest took it out of an answer edit).
    if (key == Qt::Key_Escape && (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0) {
        auto* reset = static_cast<QAbstractButton*>(widget(Control::OKKnop1));
        if (!reset->isHidden() && reset->isEnabled()) {
            reset->click();
            return true;
        }
        return false;
    }
    // With Ctrl or Alt held Enter is another key (a button's shortcut); with Shift it is Enter.
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || (modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        return false;
    }
    if (qobject_cast<QLineEdit*>(target)) {
        // The about panel's OK is the default button while it can be pressed.
        QWidget* ok = findChild<QWidget*>(QStringLiteral("OKKnop"));
        if (!info_->isHidden() && ok->isEnabled()) {
            Run([this] { OKKnopClick(); });
            return true;
        }
        const auto it = handlers_.constFind(target);
        if (it != handlers_.constEnd() && it->enterKey) {
            const auto handler = it->enterKey;
            Run(handler);
            return true;
        }
        return false;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        if (button->isVisible() && button->isEnabled()) button->click();
        return true;
    }
    return false;
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
    SetTimerInterval(1000);
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

void TForm1::Image1Click() { SetVisible(Control::Info, true); }
void TForm1::OKKnopClick() { SetVisible(Control::Info, false); }
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
    const auto value = static_cast<std::uint32_t>(color);
    QWidget* w = widget(control);
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF));
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

}  // namespace tolvaro
