// The one application object. Linked into each executable, not into a library, so that it
// always exists before the entry point runs.
#include "app/LptApp.h"

CLptApp theApp;
