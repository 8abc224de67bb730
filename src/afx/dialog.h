// CDialog: a window made from a dialog template and run modally.
#pragma once

#include "afx/cwnd.h"
#include "res/types.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // A dialog from a template built at run time (message boxes).
    explicit CDialog(const res::DialogTemplate& rTemplate, CWnd* pParentWnd = nullptr);

    // Creates the window, runs it until it ends and destroys it. Returns the end code, or -1
    // when the window cannot be created.
    virtual int DoModal();
    virtual BOOL OnInitDialog();
    void EndDialog(int nResult);

protected:
    virtual void OnOK();
    virtual void OnCancel();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    UINT m_nIDTemplate;
    const res::DialogTemplate* m_pTemplate;
    CWnd* m_pParentWnd;
    int m_nModalResult = -1;
    bool m_bEnded = false;
};

namespace afx {
// Text appended to the caption of every window without an owner (the main window), so the
// user sees how the port in use is reached; an open main window takes it at once.
void SetMainCaptionSuffix(std::string suffix);
}
