#include "afx/controlproc.h"

#include <algorithm>

#include "afx/list_control.h"
#include "afx/msgloop.h"
#include "afx/view_changes.h"

namespace afx {

void NotifyParent(Window* ctl, UINT code)
{
    if (ctl->parent)
        SendMessage(ctl->parent, WM_COMMAND, MAKEWPARAM(static_cast<UINT>(ctl->id), code), reinterpret_cast<LPARAM>(ctl));
}

namespace {

void SetEditText(Window* edit, std::string text, bool notify)
{
    edit->text = std::move(text);
    edit->selStart = edit->selEnd = static_cast<int>(edit->text.size());
    Changed(edit, What::Text);
    Changed(edit, What::Selection);
    if (notify)
        NotifyParent(edit, EN_CHANGE);
}

// Replaces the selection with `insert`; refused when the result would pass the text limit.
void ReplaceSelection(Window* edit, std::string_view insert)
{
    auto a = static_cast<std::size_t>(std::min(edit->selStart, edit->selEnd));
    auto b = static_cast<std::size_t>(std::max(edit->selStart, edit->selEnd));
    std::string next = edit->text.substr(0, a) + std::string(insert) + edit->text.substr(b);
    if (edit->limit > 0 && next.size() > static_cast<std::size_t>(edit->limit))
        return;
    edit->text = std::move(next);
    edit->selStart = edit->selEnd = static_cast<int>(a + insert.size());
    Changed(edit, What::Text);
    Changed(edit, What::Selection);
    NotifyParent(edit, EN_CHANGE);
}

void EditKey(Window* edit, UINT vk)
{
    int len = static_cast<int>(edit->text.size());
    bool hasSel = edit->selStart != edit->selEnd;
    switch (vk) {
    case VK_BACK:
        if (!hasSel && edit->selEnd > 0)
            edit->selStart = edit->selEnd - 1;
        if (edit->selStart != edit->selEnd)
            ReplaceSelection(edit, "");
        return;
    case VK_DELETE:
        if (!hasSel && edit->selEnd < len)
            edit->selEnd = edit->selStart + 1;
        if (edit->selStart != edit->selEnd)
            ReplaceSelection(edit, "");
        return;
    case VK_LEFT: edit->selStart = edit->selEnd = std::max(0, edit->selEnd - 1); break;
    case VK_RIGHT: edit->selStart = edit->selEnd = std::min(len, edit->selEnd + 1); break;
    case VK_HOME: edit->selStart = edit->selEnd = 0; break;
    case VK_END: edit->selStart = edit->selEnd = len; break;
    default: return;
    }
    Changed(edit, What::Selection);
}

LRESULT SetImage(Window* w, HBITMAP image)
{
    HBITMAP previous = w->image;
    if (image != previous) {  // the same image again costs the view nothing
        w->image = image;
        Changed(w, What::Image);
    }
    return reinterpret_cast<LRESULT>(previous);
}

void Click(Window* ctl)
{
    switch (ctl->kind) {
    case Kind::AutoCheckBox:
        SetFocusTo(ctl, false);
        // An automatic check box changes itself before its parent hears of the click.
        ctl->check = ctl->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        Changed(ctl, What::Check);
        NotifyParent(ctl, BN_CLICKED);
        break;
    case Kind::PushButton:
    case Kind::DefPushButton:
    case Kind::BitmapButton:
        SetFocusTo(ctl, false);
        NotifyParent(ctl, BN_CLICKED);
        break;
    case Kind::Edit:
        SetFocusTo(ctl, false);
        break;
    case Kind::DropDownList:
        SetFocusTo(ctl, false);
        list::Clicked(ctl);
        break;
    default:
        break;
    }
}

}  // namespace

void SetFocusTo(Window* ctl, bool selectAll)
{
    Window* top = ctl->Top();
    if (ctl->kind == Kind::Edit && selectAll) {
        ctl->selStart = 0;
        ctl->selEnd = static_cast<int>(ctl->text.size());
        Changed(ctl, What::Selection);
    }
    if (top->focus != ctl) {
        if (list::IsOpen(top->focus))  // a list closes when the focus leaves it, picking nothing
            list::Close(top->focus);
        top->focus = ctl;
        Changed(top, What::Focus);
    }
}

LRESULT ControlProc(Window* hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT:
        if (hwnd->kind == Kind::Edit) {
            SetEditText(hwnd, reinterpret_cast<const char*>(lParam), true);
        } else {
            hwnd->text = reinterpret_cast<const char*>(lParam);
            Changed(hwnd, What::Text);
        }
        return TRUE;
    case BM_GETCHECK:
        return hwnd->check;
    case BM_SETCHECK:
        if (hwnd->check != static_cast<int>(wParam)) {
            hwnd->check = static_cast<int>(wParam);
            Changed(hwnd, What::Check);
        }
        return 0;
    case BM_SETIMAGE:
    case STM_SETIMAGE:
        return SetImage(hwnd, reinterpret_cast<HBITMAP>(lParam));
    case EM_LIMITTEXT:
        if (hwnd->limit != static_cast<int>(wParam)) {  // every exchange sets it again
            hwnd->limit = static_cast<int>(wParam);
            Changed(hwnd, What::Limit);
        }
        return 0;
    case CB_ADDSTRING:
        return list::AddSorted(hwnd, reinterpret_cast<const char*>(lParam));
    case CB_SETCURSEL:  // selects without telling anybody
        list::Select(hwnd, static_cast<int>(wParam), false);
        return hwnd->sel;
    case CB_GETCURSEL:
        return hwnd->sel;
    case AFXM_CLICK:
        Click(hwnd);
        return 0;
    case AFXM_FOCUS:
        SetFocusTo(hwnd, false);
        return 0;
    case AFXM_PICK:
        if (hwnd->kind == Kind::DropDownList) {
            // A native list shows the pick already; whatever the handler leaves is shown again.
            ViewMayDiffer(hwnd, What::Selection);
            list::Pick(hwnd, static_cast<int>(wParam));
        }
        return 0;
    case AFXM_EDITTEXT:
        if (hwnd->kind == Kind::Edit) {
            std::string text = *reinterpret_cast<const std::string*>(lParam);
            if (hwnd->limit > 0 && text.size() > static_cast<std::size_t>(hwnd->limit))
                text.resize(static_cast<std::size_t>(hwnd->limit));
            // Every user edit notifies, also one that leaves the text as it was (a digit
            // typed over itself), as typing it key by key does. The native editor shows the
            // user's text already; a handler that cuts it back must be seen to, even though the
            // record ends where it began.
            ViewMayDiffer(hwnd, What::Text);
            SetEditText(hwnd, std::move(text), true);
        }
        return 0;
    case AFXM_CHAR:
        if (hwnd->kind == Kind::Edit) {
            auto ch = static_cast<unsigned char>(wParam);
            if (ch == '\b')
                EditKey(hwnd, VK_BACK);
            else if (ch >= 0x20)
                ReplaceSelection(hwnd, std::string(1, static_cast<char>(ch)));
        }
        return 0;
    case AFXM_KEY:
        if (hwnd->kind == Kind::Edit)
            EditKey(hwnd, static_cast<UINT>(wParam));
        else if (hwnd->kind == Kind::DropDownList)
            list::Key(hwnd, static_cast<UINT>(wParam), lParam);
        return 0;
    default:
        return 0;
    }
}

}  // namespace afx
