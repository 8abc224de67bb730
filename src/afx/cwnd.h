// CWnd: the framework object behind a top-level window or attached to a control.
#pragma once

#include <memory>

#include "afx/cmdtarget.h"
#include "afx/cstring.h"
#include "afx/window.h"

class CDataExchange;
class CMenu;

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    void Attach(HWND hWnd) { m_hWnd = hWnd; }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Dispatches through the message map; what the map does not take goes to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    HWND GetDlgItem(int nID) const;
    UINT SetTimer(UINT nIDEvent, UINT nElapse, void (*lpfnTimer)(HWND, UINT, UINT, DWORD));
    CMenu* GetSystemMenu(BOOL bRevert);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    BOOL IsIconic() const;
    // Empty: front-ends show a minimized window's icon themselves (see CPaintDC::DrawIcon).
    void GetClientRect(RECT* lpRect) const;
    void EnableWindow(BOOL bEnable);
    // What this control does on the port in use, added to its pin help (tooltip, hint line,
    // screen-reader description); empty for none.
    void SetHelpNote(const std::string& strNote);

protected:
    // Passes the message being handled, unchanged, to the default handling.
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

private:
    struct CurrentMsg { UINT message; WPARAM wParam; LPARAM lParam; };
    CurrentMsg m_current{WM_NULL, 0, 0};
    std::unique_ptr<CMenu> m_pSysMenu;
};
