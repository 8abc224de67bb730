// The desktop front-end: one Qt window per top-level window of the model, kept equal to it,
// and a wait that sleeps in Qt's event loop until input arrives or the next timer is due.
#pragma once

#include <QEventLoop>
#include <QTimer>
#include <map>
#include <memory>

#include "afx/frontend.h"

class QWidget;

namespace ui::qt {

class TopView;

class QtFrontend : public afx::Frontend {
public:
    QtFrontend();
    ~QtFrontend() override;

    bool Created(afx::Window* top) override;
    void Changed(afx::Window* w, afx::What what) override;
    void Destroyed(afx::Window* top) override;
    void Wait(afx::Duration limit) override;
    // Input was handed to the framework: the current wait ends so the loop can dispatch it.
    void Posted() override;
    void ShowSystemMenu(afx::Window* top) override;
    bool MovesWindows() const override { return true; }
    void BeginMove(afx::Window* top) override;

    // Windows created since the last wait appear, now that their dialogs have initialised.
    void ShowPendingWindows();

    // The widget that shows a window or control of the model; null when there is none.
    QWidget* WidgetOf(const afx::Window* w) const;
    TopView* ViewOf(const afx::Window* top) const;

private:
    std::map<const afx::Window*, std::unique_ptr<TopView>> m_views;
    QTimer m_deadline;
    QEventLoop* m_loop = nullptr;
    bool m_woken = false;
};

}  // namespace ui::qt
