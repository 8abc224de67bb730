// Windows of a fixed size (the dialogs, message boxes) are never maximized or made full screen,
// whatever a title bar or window manager asks: the request is refused and the window keeps its
// size. Qt's own title bar on Wayland offers a maximize button even to a fixed-size window, and a
// compositor that grants it sends a size the client must obey to the pixel or be disconnected.
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
