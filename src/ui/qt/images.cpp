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

int PixelScale(double devicePixelRatio)
{
    return std::max(1, static_cast<int>(std::lround(devicePixelRatio)));
}

QPixmap ToPixmap(const QImage& image, double devicePixelRatio)
{
    int k = PixelScale(devicePixelRatio);
    QImage scaled = k == 1 ? image : image.scaled(image.width() * k, image.height() * k, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QPixmap pixmap = QPixmap::fromImage(scaled);
    pixmap.setDevicePixelRatio(std::max(1.0, devicePixelRatio));
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
