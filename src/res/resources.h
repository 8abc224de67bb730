// Lookup of the program's resources by ID. Returns null when the resource does not exist.
#pragma once

#include "res/types.h"

namespace res {

const DialogTemplate* FindDialog(int id);
const Bitmap* FindBitmap(int id);
const IconGroup* FindIcon(int id);
// Empty view when the string does not exist.
std::string_view FindString(int id);

}  // namespace res
