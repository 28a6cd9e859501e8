#include "window/startup.h"

#include "core/steadyclock.h"
#include "window/application.h"
#include "window/tform1.h"

namespace tolvaro {

int RunTolvaro(int argc, char* argv[]) {
    TolvaroApplication app(argc, argv);
    const SteadyClock clock;
    TForm1 form(clock);
    form.show();
    return app.exec();
}

}  // namespace tolvaro
