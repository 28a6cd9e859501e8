#include "window/widgets.h"

#include <QAbstractScrollArea>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSvgRenderer>

#include <algorithm>
#include <string_view>

#include "print/lightlook.h"
#include "print/windowlook.h"

namespace tolvaro {

namespace {

constexpr char kKeyProperty[] = "tolvaroKey";

// The faces the layout names and the installed metric-compatible faces that stand in for them.
constexpr std::pair<std::string_view, const char*> kFaces[] = {
    {"MS Sans Serif", "Liberation Sans"},
    {"@Arial Unicode MS", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
};

QString InstalledFace(std::string_view family) {
    for (const auto& [layout, installed] : kFaces) {
        if (layout == family) return QString::fromLatin1(installed);
    }
    return QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()));
}

}  // namespace

QWidget* CreateWidget(const ControlSpec& entry, QWidget* parent, const QCursor& noDrop) {
    QWidget* widget = nullptr;
    const QString text = QString::fromUtf8(entry.text ? entry.text : "");
    switch (entry.kind) {
        case Kind::Label: {
            auto* label = new TLabel(text, parent);
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
            // Made first and named then: an accessibility interface asked for while it is being made
            // would be Qt's for a plain button, kept for good.
            auto* button = new TButton(parent);
            button->setText(text);
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
    widget->setObjectName(QString::fromStdString(entry.ObjectName()));
    if (entry.accessibleName) widget->setAccessibleName(QString::fromUtf8(entry.accessibleName));
    const QKeyCombination key = (entry.flags & CancelButton) ? QKeyCombination(Qt::Key_Escape) : entry.key;
    if (key.key() != Qt::Key_unknown) widget->setProperty(kKeyProperty, QKeySequence(key));
    widget->setGeometry(entry.x, entry.y, entry.width, entry.height);
    if (entry.font.family) widget->setFont(FontOf(entry.font));
    QPalette palette;
    palette.setResolveMask(0);
    if (entry.font.family && entry.font.color != Color::None) {
        const QColor color = TextColor(entry.font.color);
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::ButtonText, color);
    }
    if (entry.background != Color::None) {
        palette.setColor(QPalette::Window, FillColor(entry.background));
        if (entry.kind == Kind::RichText) palette.setColor(QPalette::Base, FillColor(entry.background));
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(entry.background != Color::None || (entry.flags & Opaque) ||
                                  entry.kind == Kind::Panel || entry.kind == Kind::GroupBox);
    SetPointer(widget, entry.kind, entry.cursor, noDrop);
    if (entry.tooltip) {
        widget->setToolTip(QString::fromUtf8(entry.tooltip));
        widget->setToolTipDuration(5000);
    }
    // Explicit either way: controls built after the window is shown are not shown with it.
    widget->setVisible(!(entry.flags & Hidden));
    // Mouse movement stops at the innermost control: a label in a panel does not clear the help.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->setMouseTracking(true);
    return widget;
}

QFont FontOf(const FontSpec& entry) {
    // Asking for the installed faces directly spares the font lookup a fallback search for every
    // face it doesn't know.
    QFont font(InstalledFace(entry.family));
    font.setPixelSize(entry.pixelSize);
    font.setBold(entry.style & Bold);
    font.setItalic(entry.style & Italic);
    font.setUnderline(entry.style & Underline);
    // Every text of the window is Western European, which the installed faces cover: no glyph
    // fallback is needed, and looking up fallback faces is the costliest part of start-up.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

void SubstituteLayoutFaces() {
    // For the fonts asked for by name elsewhere (the print dialog, the worksheet).
    for (const auto& [layout, installed] : kFaces) {
        QFont::insertSubstitution(QString::fromLatin1(layout.data(), static_cast<qsizetype>(layout.size())),
                                  QString::fromLatin1(installed));
    }
}

QKeySequence KeyOf(const QWidget* widget) { return widget->property(kKeyProperty).value<QKeySequence>(); }

void SetPointer(QWidget* widget, Kind kind, Cursor cursor, const QCursor& noDrop) {
    QCursor shown;
    switch (cursor) {
        case Cursor::Arrow: shown = Qt::ArrowCursor; break;
        case Cursor::NoDrop: shown = noDrop; break;
        case Cursor::No: shown = Qt::ForbiddenCursor; break;
        case Cursor::Default:
            // Labels and images show their parent's pointer, edits and text boxes their I-beam.
            if (kind != Kind::Button && kind != Kind::Panel && kind != Kind::GroupBox) return;
            shown = Qt::ArrowCursor;
            break;
    }
    widget->setCursor(shown);
    // A text box shows its text area's pointer, which is Qt's I-beam unless set as well.
    if (auto* box = qobject_cast<QAbstractScrollArea*>(widget)) box->viewport()->setCursor(shown);
}

void FitToLabel(QLabel* label, const ControlSpec& entry) {
    if (entry.flags & (AutoSize | WordWrap)) return;
    constexpr int kSmallest = 7;
    constexpr const char* kFullFont = "tolvaroFullFont";  // the font the label had before it was shrunk
    const QVariant kept = label->property(kFullFont);
    const QFont full = kept.isValid() ? kept.value<QFont>() : label->font();
    const int room = label->contentsRect().width();
    QFont font = full;
    // One copy of the text: begin() and end() of two temporaries would each detach a buffer of its own.
    const QString text = label->text();
    // The window's faces cover Western European text only; other scripts, which a time format may
    // bring, need the fallback faces.
    if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0xFF; }))
        font.setStyleStrategy(QFont::PreferDefault);
    while (font.pixelSize() > kSmallest && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (font == label->font()) return;
    label->setFont(font);
    label->setProperty(kFullFont, font == full ? QVariant() : QVariant(full));
}

void WriteText(QLineEdit* edit, const QString& text) {
    // The same text written back changes nothing, not even the selection; nor does a screen
    // reader hear of it (it would take the text's removal for the removal of the selection).
    if (edit->text() == text) return;
    if (auto* field = qobject_cast<TEdit*>(edit)) field->DropKeptSelection();
    edit->setText(text);
}

}  // namespace tolvaro
