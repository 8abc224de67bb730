// Whether Qt has a platform plugin for a platform name, found the way Qt's own plugin loader
// finds one, so that a missing plugin is reported instead of Qt aborting.
#pragma once

#include <string>

namespace ui::qt {

// Finds the platform plugin that offers `name` (as in QT_QPA_PLATFORM, without options) and
// loads it. Empty when it loads, else why not, in words fit for one line.
std::string CheckPlatformPlugin(const std::string& name);

}  // namespace ui::qt
