// Resource images as Qt pixmaps and icons. On a high-density screen an image is enlarged by a
// whole number of device pixels per image pixel, without smoothing, so lamps and dots stay crisp.
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

// Whole-number enlargement for a device pixel ratio: 1 at 1.0 and 1.25, 2 at 1.5 to 2.49, ...
int PixelScale(double devicePixelRatio);
// The image enlarged by PixelScale(ratio), tagged with `ratio` so it paints at
// image size * scale / ratio logical pixels (the image size itself at whole ratios).
QPixmap ToPixmap(const QImage& image, double devicePixelRatio);

QIcon ToIcon(const res::IconGroup& group);

}  // namespace ui::qt
