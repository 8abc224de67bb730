#include "ui/qt/fixed_size_windows.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>

namespace ui::qt {
namespace {

constexpr Qt::WindowStates kLarge = Qt::WindowMaximized | Qt::WindowFullScreen;

bool OnWayland() { return QGuiApplication::platformName().startsWith("wayland"); }

// One top-level window: refuses maximized and full-screen states while the widget is of a fixed
// size, whoever asks for them, and keeps the window at the widget's size.
//
// On Wayland the compositor may start such a state itself (weston's Super+Shift+M, GNOME's
// Super+Up), and the size it sends with a maximized state must be obeyed to the pixel by the very
// next frame, or the client is disconnected. Qt bounds every size the compositor sends by the
// native window's limits before anything of ours runs, so those limits must never be the widget's
// fixed size there: the native window keeps the widget's size as its minimum and has no maximum.
// A granted large state is taken for the moment it lasts, then given back; any other size the
// compositor imposes is undone.
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

    // The widget is about to be shown: its native window is there, not yet on the screen.
    void Shown() { OpenNativeLimits(); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Setting the widget's size again also fixes the native window's limits; the widget is
        // resized by it, and its new limits are complete once the call that set them returns.
        if (watched == m_top && event->type() == QEvent::Resize && OnWayland())
            QMetaObject::invokeMethod(this, &Guard::KeepSize, Qt::QueuedConnection);
        // Qt's own title bar, made anew when a full-screen state ends, centres the title by a
        // measure taken before its first drawing: one more drawing puts it back in its place.
        if (watched == m_top && event->type() == QEvent::WindowStateChange && OnWayland() &&
            (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowFullScreen) &&
            !(m_top->windowState() & Qt::WindowFullScreen))
            QMetaObject::invokeMethod(this, &Guard::RedrawTitleBar, Qt::QueuedConnection);
        return false;
    }

private:
    bool Fixed() const { return m_top->minimumSize() == m_top->maximumSize(); }

    void OpenNativeLimits()
    {
        QWindow* window = m_top->windowHandle();
        if (!OnWayland() || !window || !Fixed())
            return;
        const QSize open(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (window->maximumSize() != open)
            window->setMaximumSize(open);
    }

    // Asked for by a title bar, a window manager or the program, or reported by the platform.
    void StateChanged(Qt::WindowState state)
    {
        if (!(state & kLarge) || !Fixed())
            return;
        if (OnWayland())
            m_settle.start();
        // Elsewhere the window manager is simply told no; on Wayland the compositor is asked to
        // take the state back, and the window keeps what it granted until it has.
        QMetaObject::invokeMethod(this, &Guard::Refuse, Qt::QueuedConnection);
    }

    // Large as asked for, or as the platform last reported it: on Wayland the report lags behind.
    bool Large() const
    {
        QWindow* window = m_top->windowHandle();
        return (m_top->windowState() & kLarge) || (window && (window->windowStates() & kLarge));
    }

    void Refuse()
    {
        // Asked again even when the native window already says no: a compositor that has not
        // answered yet still holds the window in the large state.
        if (QWindow* window = m_top->windowHandle(); window && Large())
            window->setWindowStates(window->windowStates() & ~kLarge);
    }

    void Settle()
    {
        if (Large()) {
            Refuse();
            m_settle.start();
        }
    }

    void KeepSize()
    {
        OpenNativeLimits();
        // While a large state lasts the compositor's size stays: a maximized window must match it
        // to the pixel. Qt gives the widget's size back itself when the state ends.
        if (!m_top->windowHandle() || !Fixed() || Large() || m_top->size() == m_top->minimumSize())
            return;
        m_top->resize(m_top->minimumSize());
    }

    void RedrawTitleBar()
    {
        if (QWindow* window = m_top->windowHandle())
            window->setTitle(window->title());
    }

    QWidget* m_top;
    QTimer m_settle;
};

}  // namespace

bool FixedSizeWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && widget->windowHandle()) {
            auto* guard = widget->findChild<Guard*>("vellix-fixed-size-guard", Qt::FindDirectChildrenOnly);
            if (!guard)
                guard = new Guard(widget);
            guard->Shown();
        }
    }
    return false;
}

}  // namespace ui::qt
