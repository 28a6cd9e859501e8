#include "print/lightlook.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>
#include <utility>

#include "print/windowlook.h"

namespace tolvaro {
namespace {

// Fusion is built into Qt and looks the same on every desktop. Tooltips keep the timing of the
// application's style, which Qt asks of the style of the control under the pointer.
class LightStyle : public QProxyStyle {
public:
    LightStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay || hint == SH_ToolTip_FallAsleepDelay) {
            return QApplication::style()->styleHint(hint, option, widget, returnData);
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    // Fusion draws the frames of fields and buttons a shade off the window's colour, which the
    // high-contrast look's black or white leaves unseen: there they are drawn again in the
    // foreground.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (!HighContrastLook() || (element != PE_FrameLineEdit && element != PE_PanelButtonCommand)) return;
        painter->save();
        painter->setPen(option->palette.color(QPalette::WindowText));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
};

}  // namespace

QColor ToQColor(Color color) {
    if (color == Color::BtnShadow) return {160, 160, 160};
    if (color == Color::BtnText) return {0, 0, 0};
    if (color == Color::ActiveBorder) return {180, 180, 180};
    if (color == Color::InactiveCaption) return {191, 205, 219};
    if (color == Color::Background) return {58, 110, 165};
    return {color.Red(), color.Green(), color.Blue()};
}

QPalette LightPalette() {
    // Every role is set, so nothing of the desktop's palette shows through.
    const QColor face(239, 239, 239);
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    const QColor grayText(128, 128, 128);
    // White on navy keeps a selection at 16:1; Fusion's own blue gives white text only 3.7:1.
    const QColor navy(0, 0, 128);
    QPalette palette;
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::WindowText, black},
        {QPalette::Button, face},
        {QPalette::Light, white},
        {QPalette::Midlight, QColor(227, 227, 227)},
        {QPalette::Dark, QColor(160, 160, 160)},
        {QPalette::Mid, QColor(184, 184, 184)},
        {QPalette::Text, black},
        {QPalette::BrightText, white},
        {QPalette::ButtonText, black},
        {QPalette::Base, white},
        {QPalette::Window, face},
        {QPalette::Shadow, QColor(105, 105, 105)},
        {QPalette::Highlight, navy},
        {QPalette::HighlightedText, white},
        {QPalette::Link, QColor(0, 0, 255)},
        {QPalette::LinkVisited, QColor(128, 0, 128)},
        {QPalette::AlternateBase, QColor(247, 247, 247)},
        {QPalette::ToolTipBase, QColor(255, 255, 220)},
        {QPalette::ToolTipText, black},
        {QPalette::PlaceholderText, QColor(0, 0, 0, 128)},
    };
    for (const auto& [role, color] : roles) palette.setColor(role, color);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, grayText);
    }
    return palette;
}

void ApplyLightStyle(QWidget* widget) {
    // One style object for all controls, released with the application.
    static QPointer<QStyle> style;
    if (!style) {
        style = new LightStyle;
        style->setParent(qApp);
    }
    widget->setStyle(style);
    for (QWidget* child : widget->findChildren<QWidget*>()) child->setStyle(style);
}

}  // namespace tolvaro
