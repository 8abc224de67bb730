#include "app/LptApp.h"

#include "shell/config.h"
#include "panel/LptPanelDlg.h"

BEGIN_MESSAGE_MAP(CLptApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CLptApp::CLptApp() : CWinApp(nullptr) {}

CLptApp::~CLptApp() = default;

BOOL CLptApp::InitInstance()
{
    Enable3dControls();

    CLptPanelDlg dlg;
    m_pMainWnd = &dlg;
    int nResponse = dlg.DoModal();
    if (nResponse == IDOK) {
        config::WriteSavedText(dlg.m_strBaseAddr);
    }
    // Returning FALSE ends the program without a message loop of its own; the pointer to the
    // panel, which is about to go, must not outlive it.
    m_pMainWnd = nullptr;
    return FALSE;
}
