#include "ui/qt/images.h"

#include <algorithm>
#include <cmath>

namespace ui::qt {

// Both fill whole lines: QImage::setPixel checks and converts on every call, which made the
// window icon's three images a measurable part of start-up.
QImage ToImage(const res::Bitmap& bitmap)
{
    QImage img(bitmap.width, bitmap.height, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < bitmap.width; ++x) {
            res::Rgb c = bitmap.At(x, y);
            line[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return img;
}

QImage ToImage(const res::IconImage& image)
{
    QImage img(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < image.width; ++x) {
            res::Rgb c = image.At(x, y);
            line[x] = image.IsOpaque(x, y) ? qRgba(c.r, c.g, c.b, 255) : qRgba(0, 0, 0, 0);
        }
    }
    return img;
}

QPixmap ToPixmap(const QImage& image, double devicePixelRatio)
{
    double ratio = std::max(1.0, devicePixelRatio);
    int width = std::max(1, static_cast<int>(std::lround(image.width() * ratio)));
    int height = std::max(1, static_cast<int>(std::lround(image.height() * ratio)));
    if (width == image.width() && height == image.height())
        return QPixmap::fromImage(image);
    // Nearest neighbour by hand: each device pixel takes the image pixel its left or top edge
    // falls in, so that at 1.5 the image's pixels alternate between one and two device pixels
    // and no colour is mixed.
    QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage scaled(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y * source.height() / height));
        auto* to = reinterpret_cast<QRgb*>(scaled.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = from[x * source.width() / width];
    }
    QPixmap pixmap = QPixmap::fromImage(scaled);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon ToIcon(const res::IconGroup& group)
{
    QIcon icon;
    for (const res::IconImage& img : group.images)
        icon.addPixmap(QPixmap::fromImage(ToImage(img)));
    return icon;
}

}  // namespace ui::qt
