#include "ui/qt/fixed_size_windows.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace ui::qt {
namespace {

constexpr Qt::WindowStates kLarge = Qt::WindowMaximized | Qt::WindowFullScreen;

// One top-level window: refuses maximized and full-screen states while the window is of a fixed
// size, and on Wayland lets the window take the granted size until the compositor has taken the
// state back, then fixes its size again.
class Guard : public QObject {
public:
    explicit Guard(QWidget* top) : QObject(top), m_top(top)
    {
        setObjectName("vellix-fixed-size-guard");
        connect(top->windowHandle(), &QWindow::windowStateChanged, this, &Guard::StateChanged);
        top->installEventFilter(this);
        // A compositor that ignores the request never reports a state back.
        m_settle.setSingleShot(true);
        m_settle.setInterval(1000);
        connect(&m_settle, &QTimer::timeout, this, &Guard::Settle);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A state change event on the widget is the platform reporting what the window is.
        if (watched == m_top && event->type() == QEvent::WindowStateChange && m_lifted) {
            if (m_top->windowState() & kLarge)
                m_granted = true;
            else if (m_granted)
                Restore();
        }
        return false;
    }

private:
    // Asked for by a title bar, a window manager or the program, or reported by the platform.
    void StateChanged(Qt::WindowState state)
    {
        if (!(state & kLarge) || !(m_lifted || m_top->minimumSize() == m_top->maximumSize()))
            return;
        // On Wayland the request has already gone out: whatever size the compositor grants must
        // be taken for a moment. Elsewhere the window manager is simply told no.
        if (!m_lifted && QGuiApplication::platformName().startsWith("wayland")) {
            m_lifted = true;
            m_granted = false;
            m_size = m_top->minimumSize();
            m_top->setMinimumSize(0, 0);
            m_top->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        if (m_lifted)
            m_settle.start();
        QMetaObject::invokeMethod(this, &Guard::Refuse, Qt::QueuedConnection);
    }

    void Refuse()
    {
        if (QWindow* window = m_top->windowHandle(); window && (window->windowStates() & kLarge))
            window->setWindowStates(window->windowStates() & ~kLarge);
    }

    void Settle()
    {
        if (!m_lifted)
            return;
        if (m_top->windowState() & kLarge) {
            Refuse();
            m_settle.start();
        } else if (!m_granted) {
            Restore();
        }
    }

    void Restore()
    {
        m_settle.stop();
        m_lifted = false;
        m_granted = false;
        m_top->setFixedSize(m_size);
    }

    QWidget* m_top;
    QTimer m_settle;
    QSize m_size;
    bool m_lifted = false;   // the size limits are lifted for a granted state
    bool m_granted = false;  // the platform has reported the large state since
};

}  // namespace

bool FixedSizeWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->windowHandle() &&
            !widget->findChild<Guard*>("vellix-fixed-size-guard", Qt::FindDirectChildrenOnly))
            new Guard(widget);
    }
    return false;
}

}  // namespace ui::qt
