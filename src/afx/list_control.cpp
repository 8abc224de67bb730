#include "afx/list_control.h"

#include <algorithm>
#include <string>
#include <strings.h>

#include "afx/controlproc.h"

namespace afx::list {
namespace {

int LastIndex(const Window* list) { return static_cast<int>(list->items.size()) - 1; }

// The entry the arrow key leads to from `from`, within the list.
int Step(const Window* list, int from, UINT vk)
{
    int last = LastIndex(list);
    switch (vk) {
    case VK_UP: return from == CB_ERR ? 0 : std::max(0, from - 1);
    case VK_DOWN: return from == CB_ERR ? 0 : std::min(last, from + 1);
    case VK_HOME: return 0;
    case VK_END: return last;
    default: return from;
    }
}

void Mark(Window* list, int index)
{
    if (index != list->marked) {
        list->marked = index;
        Changed(list, What::Selection);
    }
}

bool Opens(UINT vk, bool alt) { return vk == VK_F4 ? !alt : (alt && (vk == VK_DOWN || vk == VK_UP)); }

}  // namespace

int AddSorted(Window* list, const char* text)
{
    std::string s = text ? text : "";
    auto pos = std::find_if(list->items.begin(), list->items.end(),
                            [&](const std::string& e) { return strcasecmp(s.c_str(), e.c_str()) < 0; });
    int index = static_cast<int>(pos - list->items.begin());
    list->items.insert(pos, std::move(s));
    if (list->sel >= index)
        ++list->sel;
    if (list->marked >= index)
        ++list->marked;
    Changed(list, What::Items);
    return index;
}

void Select(Window* list, int index, bool notify)
{
    int sel = (index >= 0 && index <= LastIndex(list)) ? index : CB_ERR;
    if (sel != list->sel) {
        list->sel = sel;
        Changed(list, What::Selection);
    }
    if (notify && sel != CB_ERR)
        NotifyParent(list, CBN_SELCHANGE);
}

void Pick(Window* list, int index)
{
    Close(list);
    Select(list, index, true);
}

bool IsOpen(const Window* w) { return w && w->kind == Kind::DropDownList && w->dropped; }

void Open(Window* list)
{
    if (list->dropped)
        return;
    list->dropped = true;
    list->marked = list->sel;
    Changed(list, What::Dropped);
}

void Close(Window* list)
{
    if (!list->dropped)
        return;
    list->dropped = false;
    list->marked = CB_ERR;
    Changed(list, What::Dropped);
}

void Key(Window* list, UINT vk, LPARAM modifiers)
{
    bool alt = (modifiers & KEYMOD_ALT) != 0;
    if (!list->dropped) {
        if (Opens(vk, alt) || (vk == VK_SPACE && !alt)) {
            Open(list);
        } else if (!alt && LastIndex(list) >= 0) {
            int next = Step(list, list->sel, vk);
            if (next != list->sel)
                Select(list, next, true);
        }
        return;
    }
    // The key that opened the list closes it again, with the marked entry, as Enter does.
    if (vk == VK_RETURN || Opens(vk, alt)) {
        if (list->marked != CB_ERR)
            Pick(list, list->marked);
        else
            Close(list);
    } else if (vk == VK_ESCAPE) {
        Close(list);
    } else if (!alt && LastIndex(list) >= 0) {
        Mark(list, Step(list, list->marked, vk));
    }
}

void Clicked(Window* list)
{
    if (list->dropped)
        Close(list);
    else
        Open(list);
}

}  // namespace afx::list
