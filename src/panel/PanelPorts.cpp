// Which ports answer, which one is in use, and the user's choice of another.
#include <cstdlib>

#include "shell/config.h"
#include "panel/LptPanelDlg.h"
#include "port/portio.h"

void CLptPanelDlg::LoadPorts()
{
    // Labels in ascending text order: each answering port lands at the end of the sorted list,
    // at index m_nPortCount, which the selection below relies on.
    static const char* const kLabels[4] = {"0x0278", "0x0300", "0x0378", "0x03BC"};
    static const int kAddrs[4] = {0x278, 0x300, 0x378, 0x3BC};
    for (int i = 0; i < 4; i++) {
        m_strPortLabel[i] = kLabels[i];
        m_nPortAddr[i] = kAddrs[i];
    }

    // The saved choice is read before any port is touched.
    CString strSaved = config::ReadSavedText();

    m_nPortCount = 0;
    for (int i = 0; i < 4; i++) {
        auto p = static_cast<std::uint16_t>(m_nPortAddr[i]);
        WritePortByte(p, 0xAA);
        WritePortByte(static_cast<std::uint16_t>(p + 2), 0x00);
        if (ReadPortByte(p) != 0xAA) {
            continue;
        }
        m_cbBaseAddr.AddString(m_strPortLabel[i]);
        if (m_strPortLabel[i] == strSaved) {
            m_cbBaseAddr.SetCurSel(m_nPortCount);
            m_strBaseAddr = strSaved;
            m_nBaseAddr = static_cast<int>(std::strtol(m_strBaseAddr, nullptr, 16));
        }
        m_nPortCount++;
    }
}

void CLptPanelDlg::OnSelChangeBaseAddr()
{
    int nIndex = m_cbBaseAddr.GetCurSel();
    if (nIndex == CB_ERR) {
        return;
    }
    m_cbBaseAddr.GetLBText(nIndex, m_strBaseAddr);
    // No port access here: the next tick reads the lamps from the new base.
    m_nBaseAddr = static_cast<int>(std::strtol(m_strBaseAddr, nullptr, 16));
}
