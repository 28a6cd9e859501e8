#include "window/application.h"

#include "print/windowlook.h"
#include "window/accessibility/interfaces.h"
#include "window/screen/desktopsettings.h"
#include "window/widgets.h"

#include <QFont>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProxyStyle>
#include <QTranslator>
#include <exception>

namespace tolvaro {

namespace {

// Tooltips show after half a second.
class TolvaroStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 500;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void ConfigureApplication(QApplication& app) {
    SubstituteLayoutFaces();
    // Desktops match the window to the installed menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.kvz.Tolvaro"));
    // The palette Qt has from the desktop's platform theme, before a style of the program's own.
    ChooseDesktopLook(QGuiApplication::palette());
    app.setStyle(new TolvaroStyle);
    InstallAccessibility();
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_nl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

void ChooseDesktopLook(const QPalette& desktop) {
    const DesktopSettings& settings = DesktopSettings::Get();
    ChooseLook(settings.highContrast || settings.HighContrastTheme(), settings.prefersDark, desktop);
}

TolvaroApplication::TolvaroApplication(int& argc, char** argv) : QApplication(argc, argv) {
    ConfigureApplication(*this);
}

bool TolvaroApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Tolvaro"), QString::fromUtf8(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Tolvaro"), QStringLiteral("Onbekende fout."));
    }
    return false;
}

}  // namespace tolvaro
