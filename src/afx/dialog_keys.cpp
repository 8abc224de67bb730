#include "afx/dialog_keys.h"

#include "afx/access_key.h"
#include "afx/controlproc.h"
#include "afx/cwnd.h"
#include "afx/frontend.h"
#include "afx/list_control.h"
#include "afx/msgloop.h"

namespace afx {
namespace {

bool CanFocus(const Window* c)
{
    return c->TabStop() && c->enabled && (c->style & WS_VISIBLE);
}

void MoveFocus(Window* top, bool backwards)
{
    auto& kids = top->children;
    int n = static_cast<int>(kids.size());
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (kids[static_cast<std::size_t>(i)].get() == top->focus)
            at = i;
    for (int step = 1; step <= n; ++step) {
        int i = at < 0 ? (backwards ? n - step : step - 1) : ((at + (backwards ? -step : step)) % n + n) % n;
        Window* c = kids[static_cast<std::size_t>(i)].get();
        if (CanFocus(c)) {
            SetFocusTo(c, true);
            return;
        }
    }
}

Window* FindById(Window* top, int id)
{
    return top->Child(id);
}

// An access key presses its button or check box; on a label or a group box it moves the focus
// to the first control after it that takes the focus, as the label names that control.
void PressAccessKey(Window* top, Window* owner)
{
    if (owner->IsButtonLike() || owner->kind == Kind::AutoCheckBox) {
        if (owner->enabled)
            SendMessage(owner, AFXM_CLICK);
        return;
    }
    bool after = false;
    for (auto& c : top->children) {
        if (after && CanFocus(c.get())) {
            SetFocusTo(c.get(), true);
            return;
        }
        after = after || c.get() == owner;
    }
}

void ShowMenu(Window* top)
{
    if (Frontend* f = CurrentFrontend(); f && (top->style & WS_SYSMENU))
        f->ShowSystemMenu(top);
}

}  // namespace

void FocusFirstTabStop(Window* top)
{
    for (auto& c : top->children)
        if (CanFocus(c.get())) {
            SetFocusTo(c.get(), true);
            return;
        }
}

EnterAction WhatEnterDoes(const Window* focus)
{
    // An open list takes Enter and Escape itself: they close it first.
    if (list::IsOpen(focus))
        return EnterAction::PickInList;
    // Enter presses a focused button, else the default button.
    if (focus && focus->IsButtonLike())
        return EnterAction::PressFocus;
    return EnterAction::PressDefault;
}

void DialogKey(CWnd* pDlg, UINT vk, LPARAM modifiers)
{
    Window* top = pDlg->m_hWnd;
    bool alt = (modifiers & KEYMOD_ALT) != 0;
    bool shift = (modifiers & KEYMOD_SHIFT) != 0;
    Window* focus = top->focus;
    switch (vk) {
    case VK_TAB:
        MoveFocus(top, shift);
        return;
    case VK_RETURN:
        switch (WhatEnterDoes(focus)) {
        case EnterAction::PickInList: SendMessage(focus, AFXM_KEY, vk, modifiers); break;
        case EnterAction::PressFocus: SendMessage(focus, AFXM_CLICK); break;
        case EnterAction::PressDefault:
            pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(FindById(top, IDOK)));
            break;
        }
        return;
    case VK_ESCAPE:
        if (list::IsOpen(focus))
            SendMessage(focus, AFXM_KEY, vk, modifiers);
        else
            pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(FindById(top, IDCANCEL)));
        return;
    case VK_F1:
        pDlg->SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, 0), 0);
        return;
    case VK_F10:
        ShowMenu(top);
        return;
    case VK_SPACE:
        if (alt)
            ShowMenu(top);
        return;
    case VK_F4:
        if (alt)
            pDlg->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
        else if (focus)
            SendMessage(focus, AFXM_KEY, vk, modifiers);  // F4 alone opens a list
        return;
    default:
        // Alt with a letter or digit is an access key or nothing: never a character for the
        // focused field, where it would be written to the port with Continous set.
        if (alt && IsAccessKeyCode(vk)) {
            if (Window* owner = AccessKeyOwner(top, vk))
                PressAccessKey(top, owner);
            return;
        }
        if (focus)
            SendMessage(focus, AFXM_KEY, vk, modifiers);
        return;
    }
}

void DialogChar(CWnd* pDlg, unsigned char ch)
{
    Window* focus = pDlg->m_hWnd->focus;
    if (!focus)
        return;
    if (focus->kind == Kind::Edit)
        SendMessage(focus, AFXM_CHAR, ch);
    else if (ch == ' ' && (focus->IsButtonLike() || focus->kind == Kind::AutoCheckBox))
        SendMessage(focus, AFXM_CLICK);
    else if (ch == ' ' && focus->kind == Kind::DropDownList)
        SendMessage(focus, AFXM_KEY, VK_SPACE);  // opens it
}

LRESULT DefaultSysCommand(CWnd* pDlg, UINT nID)
{
    Window* top = pDlg->m_hWnd;
    switch (nID & 0xFFF0) {
    case SC_CLOSE:
        pDlg->SendMessage(WM_CLOSE);
        break;
    case SC_MINIMIZE:
    case SC_RESTORE:
        if (top->minimized != ((nID & 0xFFF0) == SC_MINIMIZE)) {
            top->minimized = !top->minimized;
            Changed(top, What::Minimized);
            pDlg->PostMessage(WM_PAINT);
        }
        break;
    case SC_KEYMENU:
        ShowMenu(top);
        break;
    case SC_MOVE:
        if (Frontend* f = CurrentFrontend())
            f->BeginMove(top);
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace afx
