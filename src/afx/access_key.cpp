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

bool IsAccessKeyCode(UINT vk)
{
    return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
}

Window* AccessKeyOwner(Window* top, UINT vk)
{
    if (!top || !IsAccessKeyCode(vk))
        return nullptr;
    char wanted = static_cast<char>(std::tolower(static_cast<int>(vk)));
    for (auto& c : top->children)
        if ((c->style & WS_VISIBLE) && MarksAccessKeys(*c) && ParseAccessText(c->text).key == wanted)
            return c.get();
    return nullptr;
}

}  // namespace afx
