// Entry points of the desktop front-end for the executable.
#pragma once

#include "ui/qt/display_probe.h"

namespace ui::qt {

// Runs the application in desktop windows on the platform that ChooseDisplay found usable and
// returns the framework's exit code. The command line is not passed on: the program takes
// nothing from it.
int RunApplication(const char* argv0, DisplayChoice display);

}  // namespace ui::qt
