// The output row: five control bit buttons, Continous and Set Data.
#include "panel/LptPanelDlg.h"
#include "panel/control_lines.h"
#include "port/portio.h"

namespace {

// The control byte with slot s in the given state.
int WithSlotState(int nByte, int s, int nState, const int* pSetMask, const int* pClearMask)
{
    bool bSet = SetsBitWhenOn(s) == (nState != 0);
    return bSet ? (nByte | pSetMask[s]) : (nByte & pClearMask[s]);
}

}  // namespace

void CLptPanelDlg::OnCtrlBit(UINT nID)
{
    int s = static_cast<int>(nID) - IDC_CTRL_STROBE;
    if (s == 4) {
        s = 5;  // the TriState button drives bit 5; bit 4 has no button
    }
    m_nCtrlBitState[s] = m_nCtrlBitState[s] == 0 ? 1 : 0;
    m_pCtrlButton[s]->SetBitmap(m_nCtrlBitState[s] == 1 ? m_bmpButtonSet : m_bmpButtonClear);
    m_nCtrlByte = WithSlotState(m_nCtrlByte, s, m_nCtrlBitState[s], m_nSetMask, m_nClearMask);
    if (m_bContinuousCtrl) {
        WritePortByte(static_cast<std::uint16_t>(m_nBaseAddr + 2), m_nCtrlByte & 0xFF);
        m_nCtrlWritten = m_nCtrlByte;
        RefreshLamps();
    }
    UpdateData(FALSE);
}

void CLptPanelDlg::OnSetCtrl()
{
    // Slots 4 and 5 share the TriState button: it is painted twice and keeps slot 5's face.
    for (int s = 0; s < 6; s++) {
        m_pCtrlButton[s]->SetBitmap(m_nCtrlBitState[s] ? m_bmpButtonSet : m_bmpButtonClear);
        m_nCtrlByte = WithSlotState(m_nCtrlByte, s, m_nCtrlBitState[s], m_nSetMask, m_nClearMask);
    }
    WritePortByte(static_cast<std::uint16_t>(m_nBaseAddr + 2), m_nCtrlByte & 0xFF);
    m_nCtrlWritten = m_nCtrlByte;
    RefreshLamps();
    UpdateData(FALSE);
}

void CLptPanelDlg::OnContinuousCtrl()
{
    m_bContinuousCtrl = m_bContinuousCtrl == 0 ? 1 : 0;
    if (m_bContinuousCtrl == 1) {
        OnSetCtrl();
    }
}
