// The tables behind the lookups of resources.h, one per resource kind, each defined in its own file.
#pragma once

#include <span>

#include "res/types.h"

namespace res::catalog {

std::span<const DialogTemplate> Dialogs();
std::span<const Bitmap> Bitmaps();
std::span<const IconGroup> Icons();
std::span<const StringEntry> Strings();

}  // namespace res::catalog
