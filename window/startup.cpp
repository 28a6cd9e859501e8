#include "window/startup.h"

#include "core/steadyclock.h"
#include "window/application.h"
#include "window/tform1.h"

namespace tolvaro {

int RunTolvaro(int argc, char* argv[]) {
    TolvaroApplication app(argc, argv);
    const SteadyClock clock;
    // The window is shown first; its controls and fonts are loaded right after, before its first
    // paint.
    TForm1 form(clock, nullptr, TForm1::Build::AfterShow);
    form.show();
    return app.exec();
}

}  // namespace tolvaro
