// The toolkit-neutral window model: every window and control is a record that front-ends mirror.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "afx/afxdefs.h"
#include "res/types.h"

class CWnd;

namespace afx {

enum class Kind {
    Dialog,
    StaticText,
    GroupBox,
    BitmapStatic,
    IconStatic,
    PushButton,
    DefPushButton,
    BitmapButton,
    AutoCheckBox,
    Edit,
    DropDownList,
};

// One property of one window, as reported to the front-end when it changes.
enum class What {
    Text,       // caption or control text
    Check,
    Image,      // bitmap of a lamp or bit button
    Items,      // list entries
    Selection,  // list selection or marked entry, or an edit's selected range
    Focus,      // the focused control of a top-level window
    Enabled,
    Limit,      // an edit's text limit
    Icon,       // a top-level window's big or small icon
    Menu,       // the system menu's entries
    Minimized,
    Dropped,    // a drop-down list opened or closed
    HelpNote,   // what a control's help adds about the port in use
    // Add new kinds above: this one counts them.
    Count,
};
inline constexpr std::size_t kWhatCount = static_cast<std::size_t>(What::Count);

struct Image {
    const res::Bitmap* bitmap;
};

struct IconHandle {
    const res::IconGroup* group;
};

struct MenuItem {
    UINT flags;
    UINT id;
    std::string text;
};

class Menu {
public:
    const std::vector<MenuItem>& Items() const { return m_items; }
    void Append(MenuItem item) { m_items.push_back(std::move(item)); }

private:
    std::vector<MenuItem> m_items;
};

struct Window {
    Kind kind = Kind::Dialog;
    int id = -1;
    DWORD style = 0;
    res::Rect rect{};  // dialog units
    std::string text;  // single-byte text
    int check = BST_UNCHECKED;
    HBITMAP image = nullptr;
    HICON icon = nullptr;              // icon statics
    std::vector<std::string> items;    // list entries
    int sel = CB_ERR;                  // selected list entry
    bool dropped = false;              // a drop-down list shows its entries
    int marked = CB_ERR;               // the entry marked in the open list
    int limit = 0;                     // edit text limit, 0 = none
    int selStart = 0, selEnd = 0;      // edit selection; the caret sits at selEnd
    bool enabled = true;
    std::string helpNote;  // added to the control's pin help: what it does on the port in use

    Window* parent = nullptr;          // controls: their dialog
    std::vector<std::unique_ptr<Window>> children;

    // Top-level windows only.
    const res::DialogTemplate* tmpl = nullptr;
    CWnd* wnd = nullptr;               // the framework object that handles its messages
    Window* owner = nullptr;
    Window* focus = nullptr;
    HICON bigIcon = nullptr, smallIcon = nullptr;
    Menu sysMenu;
    bool minimized = false;

    bool IsTopLevel() const { return parent == nullptr; }
    bool TabStop() const { return (style & WS_TABSTOP) != 0; }
    Window* Top() { return parent ? parent : this; }
    Window* Child(int nID) const;
    bool IsButtonLike() const;  // push, default push and bitmap buttons
};

// Tells the installed front-end that one property of a window changed; within a message, once
// the handler has returned and only if the property then differs from what it was shown.
void Changed(Window* w, What what);

}  // namespace afx
