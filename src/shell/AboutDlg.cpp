#include "shell/AboutDlg.h"

// No parent: the framework makes the main window, the panel, its owner.
CAboutDlg::CAboutDlg() : CDialog(CAboutDlg::IDD) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()
