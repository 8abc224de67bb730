// Keys that the framework's dialog manager handles (Tab, Enter, Escape, F1, F10, Alt+Space,
// Alt+F4, Alt with a letter or digit, Space on buttons, arrows on the list) go to it instead of to Qt's own handling;
// a control that takes the focus by mouse tells the framework.
#pragma once

#include <QObject>
#include <functional>

#include "afx/window.h"

class QKeyEvent;

namespace ui::qt {

class KeyFilter : public QObject {
public:
    // `modelOf` names the window record behind a watched widget, or null.
    explicit KeyFilter(std::function<afx::Window*(QObject*)> modelOf) : m_modelOf(std::move(modelOf)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<afx::Window*(QObject*)> m_modelOf;
};

// The key as the framework's virtual key, or 0 when the widget keeps it. Space without Alt is a
// typed blank for every control but the edit, which inserts it itself, and the list, which
// drops down.
struct RoutedKey {
    UINT vk = 0;       // sent with input::Key
    bool blank = false; // sent with input::Char(' ')
    bool dropped = false; // Alt with a character that no access key can be: nothing at all
    bool Taken() const { return vk || blank || dropped; }
};
RoutedKey RouteKey(const QKeyEvent& key, afx::Kind receiver);

}  // namespace ui::qt
