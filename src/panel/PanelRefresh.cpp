// The lamps: polled every tick and repainted after every change the panel makes.
#include "panel/LptPanelDlg.h"
#include "panel/control_lines.h"
#include "port/portio.h"

void CLptPanelDlg::OnTimer(UINT nIDEvent)
{
    UpdateData(TRUE);
    RefreshLamps();
    UpdateData(FALSE);
    (void)nIDEvent;  // timer 1 is the panel's only timer
    Default();
}

void CLptPanelDlg::RefreshLamps()
{
    int d = ReadPortByte(static_cast<std::uint16_t>(m_nBaseAddr));
    for (int i = 0; i < 8; i++) {
        m_pDataLamp[i]->SetBitmap((d & m_nSetMask[i]) ? m_bmpLampOn : m_bmpLampOff);
    }

    int t = ReadPortByte(static_cast<std::uint16_t>(m_nBaseAddr + 1));
    for (int k = 0; k < 5; k++) {
        m_pStatusLamp[k]->SetBitmap((t & m_nSetMask[k + 3]) ? m_bmpLampOn : m_bmpLampOff);
    }

    // The control register is never read: its lamps show the byte last written. A lit lamp
    // means the slot's state 1, as written.
    for (int s = 0; s < 6; s++) {
        bool bSet = (m_nCtrlWritten & m_nSetMask[s]) != 0;
        bool bLit = bSet == SetsBitWhenOn(s);
        m_pCtrlLamp[s]->SetBitmap(bLit ? m_bmpLampOn : m_bmpLampOff);
    }
}
