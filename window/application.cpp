#include "window/application.h"

#include "window/accessibility/interfaces.h"
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
    app.setStyle(new TolvaroStyle);
    InstallAccessibility();
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_nl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
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
