#pragma once
// The desktop program's start: splash window, start menu, then the main
// window; a failure nobody caught ends in a message.

namespace zorv {

int runDesktop(int argc, char** argv);

}  // namespace zorv
