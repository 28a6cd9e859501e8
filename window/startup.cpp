#include "window/startup.h"

#include <fontconfig/fontconfig.h>

#include <thread>

#include "core/steadyclock.h"
#include "window/application.h"
#include "window/tform1.h"

namespace tolvaro {

int RunTolvaro(int argc, char* argv[]) {
    // Font configuration is read on first use (dozens of XML files): the largest single cost of
    // start-up. It is read beside the toolkit's own start-up instead of after it; fontconfig
    // keeps it for the whole process.
    std::thread fontConfiguration([] { FcInit(); });
    TolvaroApplication app(argc, argv);
    fontConfiguration.join();
    const SteadyClock clock;
    TForm1 form(clock, nullptr, TForm1::Build::AfterShow);
    form.show();
    return app.exec();
}

}  // namespace tolvaro
