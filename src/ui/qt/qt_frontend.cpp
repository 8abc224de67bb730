#include "ui/qt/qt_frontend.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

#include "ui/qt/top_view.h"

namespace ui::qt {

QtFrontend::QtFrontend()
{
    m_deadline.setSingleShot(true);
    m_deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_deadline, &QTimer::timeout, [this] {
        if (m_loop)
            m_loop->quit();
    });
}

QtFrontend::~QtFrontend() = default;

bool QtFrontend::Created(afx::Window* top)
{
    if (!top->tmpl)
        return false;
    m_views[top] = std::make_unique<TopView>(top, ViewOf(top->owner));
    return true;
}

void QtFrontend::Changed(afx::Window* w, afx::What what)
{
    if (TopView* view = ViewOf(w->Top()))
        view->Update(w, what);
}

void QtFrontend::Destroyed(afx::Window* top) { m_views.erase(top); }

void QtFrontend::BeginMove(afx::Window* top)
{
    if (TopView* view = ViewOf(top))
        view->BeginMove();
}

void QtFrontend::ShowSystemMenu(afx::Window* top)
{
    if (TopView* view = ViewOf(top))
        view->PopupSystemMenu();
}

void QtFrontend::Posted()
{
    m_woken = true;
    if (m_loop)
        m_loop->quit();
}

void QtFrontend::ShowPendingWindows()
{
    for (auto& [top, view] : m_views)
        view->ShowIfPending();
}

void QtFrontend::Wait(afx::Duration limit)
{
    ShowPendingWindows();
    // Input that arrived while the framework was busy is dispatched first.
    if (m_woken || limit <= afx::Duration::zero()) {
        m_woken = false;
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    m_loop = &loop;
    if (limit != afx::Duration::max())
        m_deadline.start(static_cast<int>(std::min<afx::Duration::rep>(limit.count(), std::numeric_limits<int>::max())));
    loop.exec();
    m_deadline.stop();
    m_loop = nullptr;
    m_woken = false;
}

QWidget* QtFrontend::WidgetOf(const afx::Window* w) const
{
    TopView* view = w ? ViewOf(const_cast<afx::Window*>(w)->Top()) : nullptr;
    return view ? view->WidgetOf(w) : nullptr;
}

TopView* QtFrontend::ViewOf(const afx::Window* top) const
{
    auto it = m_views.find(top);
    return it == m_views.end() ? nullptr : it->second.get();
}

}  // namespace ui::qt
