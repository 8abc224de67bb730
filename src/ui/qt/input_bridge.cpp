#include "ui/qt/input_bridge.h"

#include "afx/input.h"
#include "ui/qt/qt_frontend.h"

namespace ui::qt::send {
namespace {

void Wake()
{
    if (auto* f = dynamic_cast<QtFrontend*>(afx::CurrentFrontend()))
        f->Wake();
}

}  // namespace

void Click(afx::Window* ctl) { afx::input::Click(ctl); Wake(); }
void Char(afx::Window* top, unsigned char ch) { afx::input::Char(top, ch); Wake(); }
void Key(afx::Window* top, UINT vk, bool shift, bool alt) { afx::input::Key(top, vk, shift, alt); Wake(); }
void EditText(afx::Window* edit, std::string text) { afx::input::EditText(edit, std::move(text)); Wake(); }
void Pick(afx::Window* list, int index) { afx::input::Pick(list, index); Wake(); }
void Focus(afx::Window* ctl) { afx::input::Focus(ctl); Wake(); }
void Close(afx::Window* top) { afx::input::Close(top); Wake(); }
void SysCommand(afx::Window* top, UINT nID) { afx::input::SysCommand(top, nID); Wake(); }
void OpenSystemMenu(afx::Window* top) { afx::input::OpenSystemMenu(top); Wake(); }
// Nothing is queued: the size is read when the minimized window is painted.
void ClientSize(afx::Window* top, int cx, int cy) { afx::input::ClientSize(top, cx, cy); }

}  // namespace ui::qt::send
