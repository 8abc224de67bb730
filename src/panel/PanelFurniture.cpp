// Window furniture: the about entry of the system menu, and the icon of the minimized panel.
#include "shell/AboutDlg.h"
#include "panel/LptPanelDlg.h"

void CLptPanelDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    (void)lParam;
    if ((nID & 0xFFF0) == IDM_ABOUT) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CLptPanelDlg::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

        int cxIcon = GetSystemMetrics(SM_CXICON);
        int cyIcon = GetSystemMetrics(SM_CYICON);
        RECT rect;
        GetClientRect(&rect);
        int x = (rect.right - rect.left - cxIcon + 1) / 2;
        int y = (rect.bottom - rect.top - cyIcon + 1) / 2;

        dc.DrawIcon(x, y, m_hIcon);
    } else {
        Default();
    }
}

HCURSOR CLptPanelDlg::OnQueryDragIcon()
{
    return m_hIcon;
}
