#include "ui/qt/latin1.h"

namespace ui::qt {

QString FromModel(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToModel(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        // A character beyond the basic plane is one character typed, though two code units.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        out.push_back(c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?');
    }
    return out;
}

}  // namespace ui::qt
