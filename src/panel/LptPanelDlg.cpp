// The panel's construction, data exchange and message map.
#include "panel/LptPanelDlg.h"

CLptPanelDlg::CLptPanelDlg(CWnd* pParent) : CDialog(CLptPanelDlg::IDD, pParent)
{
    m_bContinuousData = 0;
    m_strDataValue = "";
    m_bContinuousCtrl = 0;
    m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDI_APP) : LoadIconResource(IDI_APP);
}

// The members release their own images and wrappers; the port keeps what was last written.
CLptPanelDlg::~CLptPanelDlg() = default;

void CLptPanelDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BASE_ADDR, m_cbBaseAddr);
    DDX_Control(pDX, IDC_CTRL_TRISTATE, m_btnCtrlTriState);
    DDX_Control(pDX, IDC_CTRL_INPUT, m_btnCtrlInput);
    DDX_Control(pDX, IDC_CTRL_INIT, m_btnCtrlInit);
    DDX_Control(pDX, IDC_CTRL_AUTO, m_btnCtrlAuto);
    DDX_Control(pDX, IDC_CTRL_STROBE, m_btnCtrlStrobe);
    DDX_Control(pDX, IDC_LAMP_INIT, m_lampInit);
    DDX_Control(pDX, IDC_LAMP_INPUT, m_lampInput);
    DDX_Control(pDX, IDC_LAMP_TRISTATE, m_lampTriState);
    DDX_Control(pDX, IDC_LAMP_STROBE, m_lampStrobe);
    DDX_Control(pDX, IDC_LAMP_SELECT, m_lampSelect);
    DDX_Control(pDX, IDC_LAMP_PEND, m_lampPEnd);
    DDX_Control(pDX, IDC_LAMP_ERROR, m_lampError);
    DDX_Control(pDX, IDC_LAMP_BUSY, m_lampBusy);
    DDX_Control(pDX, IDC_LAMP_AUTO, m_lampAuto);
    DDX_Control(pDX, IDC_LAMP_ACK, m_lampAck);
    DDX_Control(pDX, IDC_DATA_BIT7, m_btnData7);
    DDX_Control(pDX, IDC_DATA_BIT6, m_btnData6);
    DDX_Control(pDX, IDC_DATA_BIT5, m_btnData5);
    DDX_Control(pDX, IDC_DATA_BIT4, m_btnData4);
    DDX_Control(pDX, IDC_DATA_BIT3, m_btnData3);
    DDX_Control(pDX, IDC_DATA_BIT2, m_btnData2);
    DDX_Control(pDX, IDC_DATA_BIT1, m_btnData1);
    DDX_Control(pDX, IDC_DATA_BIT0, m_btnData0);
    DDX_Control(pDX, IDC_DATA_LAMP7, m_lampData7);
    DDX_Control(pDX, IDC_DATA_LAMP6, m_lampData6);
    DDX_Control(pDX, IDC_DATA_LAMP5, m_lampData5);
    DDX_Control(pDX, IDC_DATA_LAMP4, m_lampData4);
    DDX_Control(pDX, IDC_DATA_LAMP3, m_lampData3);
    DDX_Control(pDX, IDC_DATA_LAMP2, m_lampData2);
    DDX_Control(pDX, IDC_DATA_LAMP1, m_lampData1);
    DDX_Control(pDX, IDC_DATA_LAMP0, m_lampData0);
    DDX_Check(pDX, IDC_CONT_DATA, m_bContinuousData);
    DDX_Text(pDX, IDC_DATA_VALUE, m_strDataValue);
    DDV_MaxChars(pDX, m_strDataValue, 2);
    DDX_Check(pDX, IDC_CONT_CTRL, m_bContinuousCtrl);
}

BEGIN_MESSAGE_MAP(CLptPanelDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_CONT_DATA, OnContinuousData)
    ON_BN_CLICKED(IDC_SET_DATA, OnSetData)
    ON_EN_CHANGE(IDC_DATA_VALUE, OnChangeDataValue)
    ON_BN_CLICKED(IDC_CONT_CTRL, OnContinuousCtrl)
    ON_BN_CLICKED(IDC_SET_CTRL, OnSetCtrl)
    ON_CBN_SELCHANGE(IDC_BASE_ADDR, OnSelChangeBaseAddr)
    ON_COMMAND_RANGE(IDC_CTRL_STROBE, IDC_CTRL_TRISTATE, OnCtrlBit)
    ON_COMMAND_RANGE(IDC_DATA_BIT0, IDC_DATA_BIT7, OnDataBit)
END_MESSAGE_MAP()
