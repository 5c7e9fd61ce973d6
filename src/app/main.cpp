// The desktop program.

#include "shell/DesktopMain.h"

int main(int argc, char** argv) { return zorv::runDesktop(argc, argv); }
