// The window model's text is single-byte: each character is one Latin-1 byte.
#pragma once

#include <QString>
#include <string>

namespace ui::qt {

QString FromModel(const std::string& bytes);
// Characters outside Latin-1 become '?', a byte that no hex digit uses.
std::string ToModel(const QString& text);

}  // namespace ui::qt
