// Windows of a fixed size (the dialogs, message boxes) are never maximized or made full screen,
// whatever a title bar, window manager or compositor asks: the request is refused and the window
// keeps its size. Qt's own title bar on Wayland offers a maximize button even to a fixed-size
// window, a compositor may maximize any window by its own key binding, and a maximized window must
// obey the compositor's size to the pixel or be disconnected.
#pragma once

#include <QObject>

namespace ui::qt {

// Watches every top-level widget the application shows. Install on the application object.
class FixedSizeWindows : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace ui::qt
