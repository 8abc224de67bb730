// How much room each kind of control takes in cells, and what of it lines up with its
// neighbours: the shapes the painter draws.
#pragma once

#include "afx/window.h"

namespace ui::term {

// Left: the first cell at the control's left edge. Centre: the control centred on the middle of
// what it shows, so lamps, bit buttons and short labels stacked in a column stay in line.
// Stretch: both edges follow the template.
enum class Anchor { Left, Centre, Stretch };

struct Shape {
    Anchor anchor;
    int width;   // cells; the least width for a stretching control
    int height;  // rows
};

Shape ShapeOf(const afx::Window& c);
// Units: the middle of what a control shows, where a centred control is anchored.
double Middle(const afx::Window& c, int cells);
bool Shown(const afx::Window& c);

}  // namespace ui::term
