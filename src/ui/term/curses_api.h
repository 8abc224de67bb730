// curses, for the terminal front-end's files. The framework's basic definitions come first:
// curses defines TRUE and FALSE as macros, which would break the framework's own constants.
#pragma once

#include "afx/afxdefs.h"

#include <curses.h>
