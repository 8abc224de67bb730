#include "app/LptApp.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "shell/config.h"
#include "panel/LptPanelDlg.h"

namespace {

// A choice that was not kept must not look kept: say so where the user looks (the window, and
// standard error for scripts and logs) and end with a failure status.
void ReportFailedSave(const std::string& strReason)
{
    std::string strPath = config::ShownPath();
    // Messages on standard error start with the name the program was run by, as a user typed it.
    std::fprintf(stderr, "%s: cannot save the port choice to %s: %s\n", program_invocation_short_name,
                 strPath.c_str(), strReason.c_str());
    std::string strText = "The port choice was not saved to\n" + strPath + "\n" + strReason + ".";
    AfxMessageBox(strText.c_str());
    AfxPostQuitMessage(1);
}

}  // namespace

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
    // With no entry ever selected there is no choice to keep; the file keeps the one it holds,
    // which may name a port that is only absent this time.
    if (nResponse == IDOK && !dlg.m_strBaseAddr.IsEmpty()) {
        std::string strFailure = config::WriteSavedText(dlg.m_strBaseAddr);
        if (!strFailure.empty()) {
            m_pMainWnd = nullptr;  // the panel's window is gone: the box stands on its own
            ReportFailedSave(strFailure);
        }
    }
    // Returning FALSE ends the program without a message loop of its own; the pointer to the
    // panel, which is about to go, must not outlive it.
    m_pMainWnd = nullptr;
    return FALSE;
}
