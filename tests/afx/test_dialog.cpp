#include "test_dialog.h"

namespace afxtest {

const res::DialogTemplate& TestTemplate()
{
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    static const res::ControlItem items[] = {
        {-1, res::ControlKind::StaticText, child, "&Label", {4, 4, 40, 8}, 0},
        {IDC_T_EDIT, res::ControlKind::Edit, child | WS_BORDER | WS_TABSTOP, "", {4, 14, 40, 12}, 0},
        {IDC_T_CHECK, res::ControlKind::AutoCheckBox, child | WS_TABSTOP | 3u, "&Box", {4, 30, 40, 10}, 0},
        {IDC_T_PUSH, res::ControlKind::PushButton, child | WS_TABSTOP, "Push", {4, 44, 40, 14}, 0},
        {IDC_T_LIST, res::ControlKind::DropDownList, child | WS_TABSTOP | 0x103u, "", {4, 60, 40, 40}, 0},
        {IDC_T_BIT0, res::ControlKind::BitmapButton, child | WS_TABSTOP | 0x80u, "B0", {50, 4, 9, 8}, 0},
        {21, res::ControlKind::BitmapButton, child | WS_TABSTOP | 0x80u, "B1", {60, 4, 9, 8}, 0},
        {IDC_T_BIT2, res::ControlKind::BitmapButton, child | WS_TABSTOP | 0x80u, "B2", {70, 4, 9, 8}, 0},
        {IDOK, res::ControlKind::DefPushButton, child | WS_TABSTOP | 1u, "OK", {50, 60, 30, 14}, 0},
        {IDCANCEL, res::ControlKind::PushButton, child | WS_TABSTOP, "Cancel", {84, 60, 30, 14}, 0},
    };
    static const res::DialogTemplate tmpl{
        900, "Test", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 0, {0, 0, 120, 80}, "MS Sans Serif", 8, items};
    return tmpl;
}

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_T_CHECK, OnCheck)
    ON_BN_CLICKED(IDC_T_PUSH, OnPush)
    ON_EN_CHANGE(IDC_T_EDIT, OnEditChange)
    ON_CBN_SELCHANGE(IDC_T_LIST, OnListChange)
    ON_COMMAND_RANGE(IDC_T_BIT0, IDC_T_BIT2, OnBit)
END_MESSAGE_MAP()

void CTestDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_T_LIST, m_cbList);
    DDX_Check(pDX, IDC_T_CHECK, m_bCheck);
    DDX_Text(pDX, IDC_T_EDIT, m_strText);
    DDV_MaxChars(pDX, m_strText, m_nMaxChars);
}

BOOL CTestDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_cbList.AddString("b");
    m_cbList.AddString("c");
    m_cbList.AddString("a");
    return TRUE;
}

void CTestDlg::OnCheck()
{
    m_nCheckSeen = static_cast<int>(afx::SendMessage(GetDlgItem(IDC_T_CHECK), BM_GETCHECK));
    m_events.push_back("check");
}

void CTestDlg::OnPush()
{
    // A handler that sets the edit's text through the exchange, and takes its time doing so.
    m_bInHandler = true;
    m_strText = "xy";
    UpdateData(FALSE);
    m_events.push_back("push");
    m_bInHandler = false;
}

void CTestDlg::OnEditChange() { m_events.push_back("change:" + GetDlgItem(IDC_T_EDIT)->text); }

void CTestDlg::OnListChange() { m_events.push_back("list:" + std::to_string(m_cbList.GetCurSel())); }

void CTestDlg::OnBit(UINT nID) { m_events.push_back("bit:" + std::to_string(nID)); }

void CTestDlg::OnTimer(UINT nIDEvent)
{
    if (m_bInHandler)
        m_bTickInsideHandler = true;
    ++m_nTicks;
    m_events.push_back("tick:" + std::to_string(nIDEvent));
}

}  // namespace afxtest
