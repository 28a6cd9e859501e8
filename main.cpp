#include "window/startup.h"

int main(int argc, char* argv[]) { return tolvaro::RunTolvaro(argc, argv); }
