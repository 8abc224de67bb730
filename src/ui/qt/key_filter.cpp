#include "ui/qt/key_filter.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "afx/input.h"

namespace ui::qt {

RoutedKey RouteKey(const QKeyEvent& key, afx::Kind receiver)
{
    bool alt = key.modifiers() & Qt::AltModifier;
    bool ctrl = key.modifiers() & Qt::ControlModifier;
    if (ctrl)
        return {};
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return {alt ? 0u : VK_TAB};
    case Qt::Key_Return:
    case Qt::Key_Enter: return {VK_RETURN};
    case Qt::Key_Escape: return {VK_ESCAPE};
    case Qt::Key_F1: return {VK_F1};
    case Qt::Key_F10: return {VK_F10};
    // F4 alone opens a drop-down list; that stays the list's own.
    case Qt::Key_F4: return {alt ? VK_F4 : 0u};
    case Qt::Key_Space:
        if (alt)
            return {VK_SPACE};
        // The edit types it and the list drops its own popup down, as F4 does.
        return {0, receiver != afx::Kind::Edit && receiver != afx::Kind::DropDownList};
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        // Alt+Down opens a drop-down list, as F4 does.
        if (receiver != afx::Kind::DropDownList || alt)
            return {};
        switch (key.key()) {
        case Qt::Key_Up: return {VK_UP};
        case Qt::Key_Down: return {VK_DOWN};
        case Qt::Key_Home: return {VK_HOME};
        default: return {VK_END};
        }
    default: break;
    }
    // Alt with a letter or digit is the framework's: an access key or nothing. Qt would type
    // it into a line edit (Alt+D gave "D"), so no Alt chord that carries a character reaches
    // the widget.
    if (alt && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return {static_cast<UINT>('A' + (key.key() - Qt::Key_A))};
    if (alt && key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9)
        return {static_cast<UINT>('0' + (key.key() - Qt::Key_0))};
    if (alt && !key.text().isEmpty() && key.text().at(0).isPrint())
        return {0, false, true};
    return {};
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    afx::Window* w = m_modelOf(watched);
    if (!w)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        RoutedKey r = RouteKey(*key, w->kind);
        if (r.vk) {
            bool shift = (key->modifiers() & Qt::ShiftModifier) || key->key() == Qt::Key_Backtab;
            afx::input::Key(w->Top(), r.vk, shift, key->modifiers() & Qt::AltModifier);
        } else if (r.blank && !key->isAutoRepeat()) {  // one press of the bar, one click
            afx::input::Char(w->Top(), ' ');
        }
        return r.Taken();
    }
    case QEvent::KeyRelease: {
        // The release of a routed key must not finish a press the widget never saw.
        return RouteKey(*static_cast<QKeyEvent*>(event), w->kind).Taken();
    }
    case QEvent::ShortcutOverride: {
        // Access keys are the framework's: a mnemonic Qt made of a '&' must not take Alt+letter
        // first. Accepting the override makes Qt deliver the chord as a key press.
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::AltModifier) && RouteKey(*key, w->kind).Taken() && key->key() != Qt::Key_F4 &&
            key->key() != Qt::Key_Space) {
            key->accept();
            return true;
        }
        return false;
    }
    case QEvent::FocusIn: {
        Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        if ((why == Qt::MouseFocusReason || why == Qt::ShortcutFocusReason) && !w->IsTopLevel() && w->Top()->focus != w)
            afx::input::Focus(w);
        return false;
    }
    default:
        return false;
    }
}

}  // namespace ui::qt
