#include "ui/term/menu_overlay.h"

#include <algorithm>
#include <cctype>

#include "afx/access_key.h"

namespace ui::term {
namespace {

MenuOverlay::Entry ToEntry(const afx::MenuItem& item)
{
    MenuOverlay::Entry e{(item.flags & MF_SEPARATOR) != 0, (item.flags & MF_GRAYED) == 0, item.id, {}, 0, -1, {}};
    std::string_view text = item.text;
    if (auto tab = text.find('\t'); tab != std::string_view::npos) {
        e.shortcut = std::string(text.substr(tab + 1));
        text = text.substr(0, tab);
    }
    afx::AccessText parsed = afx::ParseAccessText(text);
    e.label = std::move(parsed.shown);
    e.access = parsed.key;
    e.accessAt = parsed.keyAt;
    return e;
}

bool Choosable(const MenuOverlay::Entry& e) { return !e.separator && e.enabled; }

}  // namespace

void MenuOverlay::Open(afx::Window* top)
{
    m_top = top;
    Reload();
}

void MenuOverlay::Reload()
{
    m_entries.clear();
    if (m_top)
        for (const afx::MenuItem& item : m_top->sysMenu.Items())
            m_entries.push_back(ToEntry(item));
    m_marked = -1;
    Move(1);
}

int MenuOverlay::Width() const
{
    std::size_t widest = 0;
    for (const Entry& e : m_entries)
        widest = std::max(widest, e.label.size() + (e.shortcut.empty() ? 0 : e.shortcut.size() + 3));
    return static_cast<int>(widest) + 2;
}

void MenuOverlay::Move(int step)
{
    int n = static_cast<int>(m_entries.size());
    for (int k = 1; k <= n; ++k) {
        int i = ((m_marked + step * k) % n + n) % n;
        if (Choosable(m_entries[static_cast<std::size_t>(i)])) {
            m_marked = i;
            return;
        }
    }
}

MenuOverlay::Outcome MenuOverlay::Choose(int index)
{
    if (index < 0 || index >= static_cast<int>(m_entries.size()) || !Choosable(m_entries[static_cast<std::size_t>(index)]))
        return {};
    return {true, m_entries[static_cast<std::size_t>(index)].id};
}

MenuOverlay::Outcome MenuOverlay::OnKey(const KeyInput& key)
{
    if (key.kind == KeyInput::Kind::Char) {
        auto letter = static_cast<char>(std::tolower(key.ch));
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (letter && m_entries[i].access == letter)
                return Choose(static_cast<int>(i));
        return {};
    }
    if (key.kind != KeyInput::Kind::Key)
        return {};
    switch (key.vk) {
    case VK_UP: Move(-1); return {};
    case VK_DOWN: Move(1); return {};
    case VK_HOME: m_marked = -1; Move(1); return {};
    case VK_END: m_marked = 0; Move(-1); return {};
    case VK_RETURN: return Choose(m_marked);
    case VK_ESCAPE:
    case VK_F10:
    case VK_SPACE:  // Alt+Space again closes it, as it opened it
        return {true, std::nullopt};
    default: return {};
    }
}

MenuOverlay::Outcome MenuOverlay::OnClick(std::optional<int> entry)
{
    if (!entry)
        return {true, std::nullopt};
    return Choose(*entry);
}

}  // namespace ui::term
