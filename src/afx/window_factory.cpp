#include "afx/window_factory.h"

#include "afx/frontend.h"
#include "afx/gdi.h"

namespace afx {

Kind KindOf(res::ControlKind kind)
{
    switch (kind) {
    case res::ControlKind::StaticText: return Kind::StaticText;
    case res::ControlKind::GroupBox: return Kind::GroupBox;
    case res::ControlKind::BitmapStatic: return Kind::BitmapStatic;
    case res::ControlKind::IconStatic: return Kind::IconStatic;
    case res::ControlKind::PushButton: return Kind::PushButton;
    case res::ControlKind::DefPushButton: return Kind::DefPushButton;
    case res::ControlKind::BitmapButton: return Kind::BitmapButton;
    case res::ControlKind::AutoCheckBox: return Kind::AutoCheckBox;
    case res::ControlKind::Edit: return Kind::Edit;
    case res::ControlKind::DropDownList: return Kind::DropDownList;
    }
    return Kind::StaticText;
}

std::unique_ptr<Window> CreateDialogWindow(const res::DialogTemplate& tmpl, const std::string& captionSuffix)
{
    auto top = std::make_unique<Window>();
    top->kind = Kind::Dialog;
    top->id = tmpl.id;
    top->style = tmpl.style;
    top->rect = tmpl.rect;
    top->text = std::string(tmpl.caption) + captionSuffix;
    top->tmpl = &tmpl;
    if (tmpl.style & WS_SYSMENU) {
        // The standard entries that apply to a dialog frame without size, minimize or maximize box.
        Frontend* f = CurrentFrontend();
        top->sysMenu.Append({MF_STRING | (f && f->MovesWindows() ? 0u : MF_GRAYED), SC_MOVE, "&Move"});
        top->sysMenu.Append({MF_STRING, SC_CLOSE, "&Close\tAlt+F4"});
    }
    for (const res::ControlItem& item : tmpl.controls) {
        auto c = std::make_unique<Window>();
        c->kind = KindOf(item.kind);
        c->id = item.id;
        c->style = item.style;
        c->rect = item.rect;
        c->text = std::string(item.text);
        c->parent = top.get();
        if (c->kind == Kind::BitmapStatic && item.imageId) {
            CBitmap bmp;
            bmp.LoadBitmap(static_cast<UINT>(item.imageId));
            c->image = bmp;
        } else if (c->kind == Kind::IconStatic && item.imageId) {
            c->icon = LoadIconResource(static_cast<UINT>(item.imageId));
        }
        top->children.push_back(std::move(c));
    }
    return top;
}

}  // namespace afx
