#include "window/startup.h"

#include "core/steadyclock.h"
#include "window/accessibility/formaccessibility.h"
#include "window/application.h"
#include "window/screen/screenscale.h"
#include "window/tform1.h"

namespace tolvaro {

int RunTolvaro(int argc, char* argv[]) {
    // The scale is Qt's to fix when the application is made.
    WindowScale scale(TForm1::kClientSize);
    TolvaroApplication app(argc, argv);
    scale.Undo();
    const SteadyClock clock;
    // The window is shown first; its controls and fonts are loaded right after, before its first
    // paint.
    TForm1 form(clock, nullptr, TForm1::Build::AfterShow);
    // Beside the window: what assistive tools are told of it.
    const FormAccessibility accessibility(form);
    form.show();
    return app.exec();
}

}  // namespace tolvaro
