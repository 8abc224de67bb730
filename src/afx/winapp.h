// CWinApp: the one application object, and the framework's entry point.
#pragma once

#include "afx/cmdtarget.h"
#include "afx/gdi.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    // The single application object registers itself; a null name takes the title from the string
    // table (AFX_IDS_APP_TITLE), or the program's file name where the table has none.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    LPCTSTR m_pszAppName;
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    BOOL Enable3dControls();
    HICON LoadIcon(UINT nIDResource) const;

    // The framework's help handler: shows the program's help text.
    void OnHelp();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
};

CWinApp* AfxGetApp();
// Runs the application: InitApplication, InitInstance, and the message loop only if that asks.
int AfxWinMain();
// A small modal box with a text and an OK button, owned by the main window.
int AfxMessageBox(LPCTSTR lpszText);
// Sets the code the program ends with: the default ExitInstance returns it.
void AfxPostQuitMessage(int nExitCode);
