#pragma once

namespace tolvaro {

// Starts the application, shows the main window and runs the event loop; the exit status.
int RunTolvaro(int argc, char* argv[]);

}  // namespace tolvaro
