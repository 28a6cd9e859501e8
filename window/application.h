#pragma once

#include <QApplication>

namespace tolvaro {

// The application object: Dutch standard dialogs, the fonts the layout names, the tooltip
// timing, and the general error report for anything that escapes an event handler.
class TolvaroApplication : public QApplication {
public:
    TolvaroApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Settings shared by the program and its tests: font substitutes, tooltip timing, translations.
void ConfigureApplication(QApplication& app);

}  // namespace tolvaro
