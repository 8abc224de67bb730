#include "afx/access_key.h"

#include <cctype>

namespace afx {

AccessText ParseAccessText(std::string_view text)
{
    AccessText out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && !out.key) {
                out.key = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
                out.keyAt = static_cast<int>(out.shown.size());
            }
        }
        out.shown.push_back(text[i]);
    }
    return out;
}

bool MarksAccessKeys(const Window& w)
{
    if (w.kind == Kind::Edit)
        return false;
    return !(w.kind == Kind::StaticText && (w.style & SS_NOPREFIX));
}

std::string ShownText(const Window& w)
{
    return MarksAccessKeys(w) ? ParseAccessText(w.text).shown : w.text;
}

}  // namespace afx
