// A small dialog made for exercising the framework: one control of each kind the program uses,
// with handlers that record what reached them.
#pragma once

#include <string>
#include <vector>

#include "afx/afxwin.h"
#include "afx/headless.h"
#include "afx/msgloop.h"

namespace afxtest {

enum : int {
    IDC_T_EDIT = 10,
    IDC_T_CHECK = 11,
    IDC_T_PUSH = 12,
    IDC_T_LIST = 13,
    IDC_T_BIT0 = 20,
    IDC_T_BIT2 = 22,
};

const res::DialogTemplate& TestTemplate();

class CTestDlg : public CDialog {
public:
    explicit CTestDlg(CWnd* pParent = nullptr) : CDialog(TestTemplate(), pParent) {}

    std::vector<std::string> m_events;  // one entry per handler run, in order
    int m_nCheckSeen = -1;              // the box's state when its click reached the handler
    int m_bCheck = 0;
    CString m_strText;
    CComboBox m_cbList;
    bool m_bInHandler = false;
    bool m_bTickInsideHandler = false;
    int m_nTicks = 0;
    int m_nMaxChars = 3;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCheck();
    void OnPush();
    void OnEditChange();
    void OnListChange();
    void OnBit(UINT nID);
    void OnTimer(UINT nIDEvent);

    DECLARE_MESSAGE_MAP()
};

}  // namespace afxtest
