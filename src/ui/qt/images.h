// Resource images as Qt pixmaps and icons, drawn at the screen's scale.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "res/types.h"

namespace ui::qt {

// The image pixel for pixel, opaque.
QImage ToImage(const res::Bitmap& bitmap);
// The icon image with its mask as alpha.
QImage ToImage(const res::IconImage& image);

// The image at a screen's device pixel ratio: round(size * ratio) device pixels each way, each
// taken from the image pixel under it, without smoothing, so lamps and dots keep hard edges at
// any factor (1.25 and 1.5 as well as 2). Tagged with `ratio`, it paints at the image's own size
// in logical pixels. Ratios below 1 are taken as 1.
QPixmap ToPixmap(const QImage& image, double devicePixelRatio);

QIcon ToIcon(const res::IconGroup& group);

}  // namespace ui::qt
