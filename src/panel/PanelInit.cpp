// Start-up of the panel: from the created window to a panel that follows the port.
#include "panel/LptPanelDlg.h"
#include "panel/hex_text.h"
#include "port/portio.h"

BOOL CLptPanelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The about entry goes at the end of the system menu, after a separator.
    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUT);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUT, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    SetTimer(1, 300, nullptr);

    m_bmpLampOn.LoadBitmap(IDB_LAMP_ON);
    m_bmpLampOff.LoadBitmap(IDB_LAMP_OFF);
    m_bmpButtonSet.LoadBitmap(IDB_BUTTON_SET);
    m_bmpButtonClear.LoadBitmap(IDB_BUTTON_CLEAR);

    m_nBaseAddr = 0x378;

    for (int i = 0; i < 8; i++) {
        m_nSetMask[i] = 1 << i;
    }
    for (int i = 0; i < 8; i++) {
        m_nClearMask[i] = 0xFF & ~(1 << i);
    }

    LoadPorts();
    InitDataPanel();
    InitStatusPanel();
    InitCtrlPanel();

    UpdateData(FALSE);
    return TRUE;  // the focus goes to the first tab stop, the Data Value field
}

void CLptPanelDlg::InitDataPanel()
{
    CStatic* lamps[8] = {&m_lampData0, &m_lampData1, &m_lampData2, &m_lampData3,
                         &m_lampData4, &m_lampData5, &m_lampData6, &m_lampData7};
    CButton* buttons[8] = {&m_btnData0, &m_btnData1, &m_btnData2, &m_btnData3,
                           &m_btnData4, &m_btnData5, &m_btnData6, &m_btnData7};
    for (int i = 0; i < 8; i++) {
        m_pDataLamp[i] = lamps[i];
    }
    for (int i = 0; i < 8; i++) {
        m_pDataButton[i] = buttons[i];
    }

    m_bContinuousData = 0;
    m_nDataByte = ReadPortByte(static_cast<std::uint16_t>(m_nBaseAddr));
    ShowDataByte();
    m_strDataValue = HexText(m_nDataByte);
    m_strDataValue.MakeUpper();
}

void CLptPanelDlg::InitStatusPanel()
{
    // Entry k shows status bit k + 3.
    m_pStatusLamp[0] = &m_lampError;
    m_pStatusLamp[1] = &m_lampSelect;
    m_pStatusLamp[2] = &m_lampPEnd;
    m_pStatusLamp[3] = &m_lampAck;
    m_pStatusLamp[4] = &m_lampBusy;
}

void CLptPanelDlg::InitCtrlPanel()
{
    // Slots 4 and 5 share the TriState lamp and button; bit 4 has none of its own.
    CStatic* lamps[6] = {&m_lampStrobe, &m_lampAuto, &m_lampInit, &m_lampInput, &m_lampTriState, &m_lampTriState};
    CButton* buttons[6] = {&m_btnCtrlStrobe, &m_btnCtrlAuto, &m_btnCtrlInit,
                           &m_btnCtrlInput, &m_btnCtrlTriState, &m_btnCtrlTriState};
    for (int s = 0; s < 6; s++) {
        m_pCtrlLamp[s] = lamps[s];
    }
    for (int s = 0; s < 6; s++) {
        m_pCtrlButton[s] = buttons[s];
    }

    m_bContinuousCtrl = 0;
    m_nCtrlByte = 0x24;
    m_nCtrlWritten = 0x24;
    for (int s = 0; s < 6; s++) {
        m_nCtrlBitState[s] = 1;
    }
    for (int s = 0; s < 6; s++) {
        m_pCtrlButton[s]->SetBitmap(m_bmpButtonSet);
    }
    WritePortByte(static_cast<std::uint16_t>(m_nBaseAddr + 2), m_nCtrlByte & 0xFF);
}

void CLptPanelDlg::ShowDataByte()
{
    for (int i = 0; i < 8; i++) {
        if (m_nDataByte & m_nSetMask[i]) {
            m_nDataBitState[i] = 1;
            m_pDataButton[i]->SetBitmap(m_bmpButtonSet);
        } else {
            m_nDataBitState[i] = 0;
            m_pDataButton[i]->SetBitmap(m_bmpButtonClear);
        }
    }
}
