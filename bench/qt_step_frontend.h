// The desktop front-end with one job for the benchmarks: once the dialog shows, run one step
// inside its modal loop (where its handlers may be called), then close it as a user would.
#pragma once

#include <functional>

#include "ui/qt/qt_frontend.h"

namespace bench {

class QtStepFrontend : public ui::qt::QtFrontend {
public:
    explicit QtStepFrontend(std::function<void()> step);
    ~QtStepFrontend() override;
    QtStepFrontend(const QtStepFrontend&) = delete;
    QtStepFrontend& operator=(const QtStepFrontend&) = delete;

    bool Created(afx::Window* top) override;
    void Destroyed(afx::Window* top) override;
    void Wait(afx::Duration limit) override;

private:
    std::function<void()> m_step;
    afx::Window* m_top = nullptr;
    afx::Frontend* m_previous;
};

}  // namespace bench
