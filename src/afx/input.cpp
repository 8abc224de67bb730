#include "afx/input.h"

#include "afx/controlproc.h"
#include "afx/frontend.h"
#include "afx/msgloop.h"

namespace afx::input {
namespace {

bool Accepts(Window* w)
{
    return w && w->enabled && w->Top()->enabled;
}

}  // namespace

void Click(Window* ctl)
{
    if (Accepts(ctl))
        PostMessage(ctl, AFXM_CLICK);
}

void Char(Window* top, unsigned char ch)
{
    if (Accepts(top))
        PostMessage(top, AFXM_CHAR, ch);
}

void Type(Window* top, std::string_view text)
{
    for (char c : text)
        Char(top, static_cast<unsigned char>(c));
}

void Key(Window* top, UINT vk, bool shift, bool alt)
{
    if (Accepts(top))
        PostMessage(top, AFXM_KEY, vk, (shift ? KEYMOD_SHIFT : 0) | (alt ? KEYMOD_ALT : 0));
}

void EditText(Window* edit, std::string text)
{
    if (Accepts(edit))
        PostMessage(edit, AFXM_EDITTEXT, 0, 0, std::move(text));
}

void Pick(Window* list, int index)
{
    if (Accepts(list))
        PostMessage(list, AFXM_PICK, static_cast<WPARAM>(index));
}

void Focus(Window* ctl)
{
    if (Accepts(ctl))
        PostMessage(ctl, AFXM_FOCUS);
}

void Close(Window* top) { SysCommand(top, SC_CLOSE); }

void SysCommand(Window* top, UINT nID)
{
    if (Accepts(top))
        PostMessage(top, WM_SYSCOMMAND, nID);
}

void OpenSystemMenu(Window* top)
{
    if (Accepts(top))
        PostMessage(top, WM_SYSCOMMAND, SC_KEYMENU);
}

}  // namespace afx::input
