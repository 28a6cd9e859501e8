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

// Settings shared by the program and its tests: font substitutes, tooltip timing, translations,
// the look the desktop asks for.
void ConfigureApplication(QApplication& app);

// The look of the windows made from now on: high contrast where the desktop's settings or the
// palette its platform theme hands over (`desktop`) ask for it, else the light look.
void ChooseDesktopLook(const QPalette& desktop);

}  // namespace tolvaro
