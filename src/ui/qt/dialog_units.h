// Dialog units to pixels, measured from the dialog font the way the original window system did,
// so that every text of the templates fits the rectangle it was laid out for.
#pragma once

#include <QFont>
#include <QRect>

#include "res/types.h"

namespace ui::qt {

class DialogUnits {
public:
    // The template's font at the screen's logical resolution (dots per inch).
    DialogUnits(const res::DialogTemplate& tmpl, double logicalDpi);

    const QFont& Font() const { return m_font; }
    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }

    // Position and size are converted separately, each rounded to the nearest pixel.
    QRect Map(const res::Rect& r) const;
    QSize MapSize(int cx, int cy) const;

private:
    QFont m_font;
    int m_baseX;
    int m_baseY;
};

// a * b / c rounded half away from zero, as the window system's MulDiv.
int MulDiv(int a, int b, int c);

}  // namespace ui::qt
