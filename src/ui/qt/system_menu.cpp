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
        // "&" marks the access key and "\t" starts the shortcut text. The shortcut goes to the
        // action as a key sequence, which the menu shows as before, so that screen readers hear
        // it as the entry's shortcut and not as part of its name.
        QString text = FromModel(item.text);
        qsizetype tab = text.indexOf(QLatin1Char('\t'));
        QAction* action = menu.addAction(tab < 0 ? text : text.left(tab));
        if (tab >= 0) {
            action->setShortcut(QKeySequence(text.mid(tab + 1), QKeySequence::PortableText));
            action->setShortcutContext(Qt::WidgetShortcut);  // a key only while the menu is open
            action->setShortcutVisibleInContextMenu(true);
        }
        action->setEnabled(!(item.flags & MF_GRAYED));
        UINT id = item.id;
        QObject::connect(action, &QAction::triggered, &menu, [top, id] { afx::input::SysCommand(top, id); });
    }
    menu.popup(at);
    // Opened from the keyboard or the mouse alike, the menu starts on its first entry, so that a
    // screen reader announces the menu with it.
    for (QAction* action : menu.actions())
        if (action->isEnabled() && !action->isSeparator()) {
            menu.setActiveAction(action);
            break;
        }
}

}  // namespace ui::qt
