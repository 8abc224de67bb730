#include "ui/qt/system_menu.h"

#include "afx/input.h"
#include "ui/qt/latin1.h"

namespace ui::qt {

void PopupSystemMenu(QMenu& menu, afx::Window* top, QPoint at)
{
    menu.clear();
    for (const afx::MenuItem& item : top->sysMenu.Items()) {
        if (item.flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        // "&" marks the access key and "\t" starts the shortcut text, as in Qt's own menus.
        QAction* action = menu.addAction(FromModel(item.text));
        action->setEnabled(!(item.flags & MF_GRAYED));
        UINT id = item.id;
        QObject::connect(action, &QAction::triggered, &menu, [top, id] { afx::input::SysCommand(top, id); });
    }
    menu.popup(at);
}

}  // namespace ui::qt
