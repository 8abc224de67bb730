// CAboutDlg: the small modal about box opened from the panel's system menu.
#pragma once

#include "afx/afxwin.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    enum { IDD = IDD_ABOUT };

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
