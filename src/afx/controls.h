// Control wrappers: members of a dialog class bound to its child windows by DDX_Control.
#pragma once

#include "afx/cwnd.h"

class CButton : public CWnd {
public:
    HBITMAP SetBitmap(HBITMAP hBitmap);
    void SetCheck(int nCheck);
};

class CStatic : public CWnd {
public:
    HBITMAP SetBitmap(HBITMAP hBitmap);
};

class CComboBox : public CWnd {
public:
    int AddString(LPCTSTR lpszString);
    int SetCurSel(int nSelect);
    int GetCurSel() const;
    int GetCount() const;
    void GetLBText(int nIndex, CString& rString) const;
};
