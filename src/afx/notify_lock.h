// While a data exchange runs, control notifications to its window are not dispatched.
#pragma once

#include "afx/window.h"

namespace afx {

bool NotificationsLockedFor(Window* hwnd);

class NotifyLock {
public:
    explicit NotifyLock(Window* hwnd);
    ~NotifyLock();
    NotifyLock(const NotifyLock&) = delete;
    NotifyLock& operator=(const NotifyLock&) = delete;

private:
    Window* m_previous;
};

}  // namespace afx
