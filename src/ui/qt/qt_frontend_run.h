// Entry points of the desktop front-end for the executable.
#pragma once

namespace ui::qt {

// True when a desktop window can be opened: a reachable X or Wayland display, or a Qt platform
// chosen with QT_QPA_PLATFORM that needs no display server (e.g. offscreen). Decided from the
// environment and a connection attempt, without starting Qt.
bool DisplayAvailable();

// Runs the application in desktop windows and returns the framework's exit code. The command
// line is not passed on: the program takes nothing from it.
int RunApplication(const char* argv0);

}  // namespace ui::qt
