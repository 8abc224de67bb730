#include "qt_step_frontend.h"

#include <QCoreApplication>
#include <utility>

#include "afx/input.h"

namespace bench {

QtStepFrontend::QtStepFrontend(std::function<void()> step) : m_step(std::move(step)), m_previous(afx::CurrentFrontend())
{
    afx::InstallFrontend(this);
}

QtStepFrontend::~QtStepFrontend() { afx::InstallFrontend(m_previous); }

bool QtStepFrontend::Created(afx::Window* top)
{
    if (!QtFrontend::Created(top))
        return false;
    if (!m_top)
        m_top = top;
    return true;
}

void QtStepFrontend::Destroyed(afx::Window* top)
{
    if (top == m_top)
        m_top = nullptr;
    QtFrontend::Destroyed(top);
}

void QtStepFrontend::Wait(afx::Duration)
{
    // Never sleeps: the framework's own timer must not tick while the step times its handler.
    ShowPendingWindows();
    QCoreApplication::processEvents();
    if (m_step) {
        auto step = std::move(m_step);
        m_step = nullptr;
        step();
    } else if (m_top) {
        afx::input::Close(m_top);
    }
}

}  // namespace bench
