// What each lamp and bit button stands for on the connector, for tooltips and screen readers.
// The panel's own labels stay as they are; these texts only add to them.
#pragma once

#include <QString>

#include "afx/window.h"

namespace ui::qt {

// The line a lamp or bit button shows, or null when the control is neither.
struct LineText {
    int id;
    const char* line;    // "Busy", "D3", "TriState"
    int pin;             // connector pin, 0 for none
    bool inverted;       // the port inverts the register bit against the pin
    const char* meaning; // what a lit lamp or set button means, e.g. "pin 11 is low"
};
const LineText* FindLineText(int id);

// "Busy, pin 11, inverted by the port: lit means pin 11 is low"; empty for other controls.
QString ToolTipFor(const afx::Window& w);
// "Busy lamp, lit", "D3 bit button, set"; follows the image the control shows.
QString AccessibleNameFor(const afx::Window& w);

}  // namespace ui::qt
