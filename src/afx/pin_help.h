// What a lamp or bit button says about its connector line and about the state its image shows,
// worded once here so that every front-end gives the same help.
#pragma once

#include <string>
#include <string_view>

#include "afx/window.h"

namespace afx {

// "Busy, pin 11, inverted by the port: lit means pin 11 is low"; empty for other controls.
std::string PinHelp(const Window& w);
// The longest wording of that help that fits `width` characters; cut to the width if none does.
std::string PinHelp(const Window& w, int width);
// "Busy lamp", "D3 bit button"; empty for other controls.
std::string LineName(const Window& w);
// "lit", "unlit", "set" or "clear"; empty while the control shows no image that tells a state.
std::string_view StateWord(const Window& w);
// The image shows the lit lamp or the set face.
bool ShowsOn(const Window& w);

}  // namespace afx
