#include "afx/notify_lock.h"

namespace afx {
namespace {
Window* g_locked = nullptr;
}

bool NotificationsLockedFor(Window* hwnd) { return hwnd && hwnd == g_locked; }

NotifyLock::NotifyLock(Window* hwnd) : m_previous(g_locked) { g_locked = hwnd; }
NotifyLock::~NotifyLock() { g_locked = m_previous; }

}  // namespace afx
