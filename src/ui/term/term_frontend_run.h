// The terminal front-end as the executables use it.
#pragma once

namespace ui::term {

// Standard input and output are both a terminal.
bool TerminalAvailable();

// Takes over the terminal, runs the application (AfxWinMain) in it, gives the terminal back
// and returns the application's result.
int RunApplication();

}  // namespace ui::term
