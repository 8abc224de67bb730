// Dialog data exchange: moves values between a window's controls and its members.
#pragma once

#include "afx/cstring.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;

    HWND PrepareCtrl(int nIDC);
    // A validation failed: the exchange stops and UpdateData reports FALSE.
    void Fail() { m_bFailed = true; }
    bool Failed() const { return m_bFailed; }

private:
    bool m_bFailed = false;
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
