#include "afx/cwnd.h"

#include "afx/ddx.h"
#include "afx/gdi.h"
#include "afx/msgloop.h"
#include "afx/notify_lock.h"

CWnd::CWnd() = default;
CWnd::~CWnd() = default;

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return afx::SendMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    afx::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CurrentMsg saved = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    m_current = saved;
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        *pResult = 0;
        return OnCommand(wParam, lParam);
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(message, 0, 0);
    if (!e)
        return FALSE;
    *pResult = e->pfn(this, 0, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Notifications that controls send while a data exchange runs never reach the handlers.
    if (lParam != 0 && afx::NotificationsLockedFor(m_hWnd))
        return TRUE;
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)message;
    (void)wParam;
    (void)lParam;
    return 0;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    afx::NotifyLock lock(m_hWnd);
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.Failed() ? FALSE : TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

HWND CWnd::GetDlgItem(int nID) const
{
    return m_hWnd ? m_hWnd->Child(nID) : nullptr;
}

UINT CWnd::SetTimer(UINT nIDEvent, UINT nElapse, void (*lpfnTimer)(HWND, UINT, UINT, DWORD))
{
    (void)lpfnTimer;  // every tick arrives as WM_TIMER
    afx::SetTimer(m_hWnd, nIDEvent, nElapse);
    return nIDEvent;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert)
{
    (void)bRevert;
    if (!m_hWnd || !(m_hWnd->style & WS_SYSMENU))
        return nullptr;
    if (!m_pSysMenu)
        m_pSysMenu = std::make_unique<CMenu>();
    m_pSysMenu->Attach(m_hWnd);
    return m_pSysMenu.get();
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

BOOL CWnd::IsIconic() const { return m_hWnd && m_hWnd->minimized ? TRUE : FALSE; }

// Every front-end shows a minimized window's icon itself, so the panel's painting of it has
// nothing to measure: an empty client area.
void CWnd::GetClientRect(RECT* lpRect) const { *lpRect = {0, 0, 0, 0}; }

void CWnd::SetHelpNote(const std::string& strNote)
{
    if (m_hWnd && m_hWnd->helpNote != strNote) {
        m_hWnd->helpNote = strNote;
        afx::Changed(m_hWnd, afx::What::HelpNote);
    }
}

void CWnd::EnableWindow(BOOL bEnable)
{
    if (m_hWnd && m_hWnd->enabled != (bEnable != FALSE)) {
        m_hWnd->enabled = bEnable != FALSE;
        afx::Changed(m_hWnd, afx::What::Enabled);
    }
}
