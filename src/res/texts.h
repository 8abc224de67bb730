// Texts that appear in more than one resource, kept in one place so the copies cannot drift.
#pragma once

#include <string_view>

namespace res::texts {

// Second line of the about box; also string IDS_ABOUT_LINE2. Short enough for the 119-unit
// wide static that shows it.
inline constexpr std::string_view kAboutLine2 = "Parallel port register panel";

}  // namespace res::texts
