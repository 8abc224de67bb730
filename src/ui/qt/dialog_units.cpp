#include "ui/qt/dialog_units.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ui::qt {
namespace {

// The templates name the old bitmap dialog font; Liberation Sans has the metrics its texts were
// sized for. Other names are taken as they are.
QString FamilyFor(std::string_view templateFont)
{
    if (templateFont == "MS Sans Serif" || templateFont == "MS Shell Dlg")
        return QStringLiteral("Liberation Sans");
    return QString::fromLatin1(templateFont.data(), static_cast<qsizetype>(templateFont.size()));
}

}  // namespace

int MulDiv(int a, int b, int c)
{
    long long n = static_cast<long long>(a) * b;
    long long half = std::llabs(static_cast<long long>(c)) / 2;
    long long q = ((n < 0) != (c < 0)) ? (n - half) / c : (n + half) / c;
    return static_cast<int>(q);
}

DialogUnits::DialogUnits(const res::DialogTemplate& tmpl, double logicalDpi)
{
    m_font.setFamily(FamilyFor(tmpl.fontName));
    m_font.setStyleHint(QFont::SansSerif);
    // Points to whole pixels as the window system rounds them (8 pt at 96 dpi is 11 pixels).
    int dpi = static_cast<int>(std::lround(logicalDpi));
    m_font.setPixelSize(std::max(1, MulDiv(tmpl.fontPoints, dpi, 72)));

    QFontMetrics fm(m_font);
    int total = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (total / 26 + 1) / 2;
    // The cell height with ascent and descent each rounded up, as the window system reports it.
    QFontMetricsF fmf(m_font);
    m_baseY = static_cast<int>(std::ceil(fmf.ascent()) + std::ceil(fmf.descent()));
}

QRect DialogUnits::Map(const res::Rect& r) const
{
    return {MulDiv(r.x, m_baseX, 4), MulDiv(r.y, m_baseY, 8), MulDiv(r.cx, m_baseX, 4), MulDiv(r.cy, m_baseY, 8)};
}

QSize DialogUnits::MapSize(int cx, int cy) const { return {MulDiv(cx, m_baseX, 4), MulDiv(cy, m_baseY, 8)}; }

}  // namespace ui::qt
