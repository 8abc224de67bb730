#include "afx/ddx.h"

#include "afx/cwnd.h"
#include "afx/msgloop.h"

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(nIDC);
    return m_hWndLastControl;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (pDX->Failed() || rControl.m_hWnd)
        return;
    rControl.Attach(pDX->PrepareCtrl(nIDC));
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    if (pDX->Failed())
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(afx::SendMessage(h, BM_GETCHECK));
    else
        afx::SendMessage(h, BM_SETCHECK, static_cast<WPARAM>(value));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    if (pDX->Failed())
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = CString(h->text);
    else if (h->text != value.Str())  // replaced only where it differs, so typing is not disturbed
        afx::SendMessage(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)));
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->Failed())
        return;
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars)
            pDX->Fail();
    } else if (pDX->m_hWndLastControl) {
        afx::SendMessage(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars));
    }
}
