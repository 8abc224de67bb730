// Which ports answer, which one is in use, and the user's choice of another.
#include <cstdlib>

#include "shell/config.h"
#include "panel/LptPanelDlg.h"
#include "port/candidate_table.h"
#include "port/direction_notes.h"
#include "port/portio.h"

void CLptPanelDlg::LoadPorts()
{
    // Labels in ascending text order: each answering port lands at the end of the sorted list,
    // at index m_nPortCount, which the selection below relies on.
    const std::vector<port::CandidatePort> candidates = port::CandidatePorts();
    m_strPortLabel.assign(candidates.size(), CString());
    m_nPortAddr.assign(candidates.size(), 0);
    for (std::size_t i = 0; i < candidates.size(); i++) {
        m_strPortLabel[i] = candidates[i].strLabel;
        m_nPortAddr[i] = candidates[i].nAddr;
    }

    // The saved choice is read before any port is touched.
    CString strSaved = config::ReadSavedText();

    // The probe drives each port's control lines low (Init holds a printer in reset): what each
    // held before is kept, to be given back to every port the panel does not use.
    std::vector<int> nControlBefore(m_nPortAddr.size(), 0);
    m_nPortCount = 0;
    for (std::size_t i = 0; i < m_nPortAddr.size(); i++) {
        auto p = static_cast<std::uint16_t>(m_nPortAddr[i]);
        nControlBefore[i] = ReadPortByte(static_cast<std::uint16_t>(p + 2));
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
    // Nothing saved answered and neither did the default: a port that is not there would be
    // driven and shown. The lowest port that answered (the list's first entry) is taken instead,
    // selected, so that OK remembers it.
    if (m_strBaseAddr.IsEmpty() && m_nPortCount > 0 && !Answered(m_nBaseAddr)) {
        m_cbBaseAddr.SetCurSel(0);
        m_cbBaseAddr.GetLBText(0, m_strBaseAddr);
        m_nBaseAddr = static_cast<int>(std::strtol(m_strBaseAddr, nullptr, 16));
    }
    for (std::size_t i = 0; i < m_nPortAddr.size(); i++) {
        if (m_nPortAddr[i] != m_nBaseAddr)
            WritePortByte(static_cast<std::uint16_t>(m_nPortAddr[i] + 2), nControlBefore[i]);
    }
    ShowPortInCaption();
}

BOOL CLptPanelDlg::Answered(int nAddr) const
{
    for (int i = 0; i < m_nPortCount; i++) {
        CString strLabel;
        m_cbBaseAddr.GetLBText(i, strLabel);
        if (std::strtol(strLabel, nullptr, 16) == nAddr)
            return TRUE;
    }
    return FALSE;
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
    ShowPortInCaption();  // the caption names how the newly picked port is reached
}

// The caption names how the port in use is reached, and the TriState help what the bit does there: "Vellix" alone for direct I/O,
// "Vellix - /dev/parport1" through ppdev, "Vellix - simulated port".
void CLptPanelDlg::ShowPortInCaption()
{
    const std::string strWay = port::WayTo(m_nBaseAddr);
    afx::SetMainCaptionSuffix(strWay.empty() ? std::string() : " - " + strWay);
    // Whether TriState turns the data lines around depends on the port in use, so its help does.
    const std::string strNote = port::DirectionNote(m_nBaseAddr);
    m_btnCtrlTriState.SetHelpNote(strNote);
    m_lampTriState.SetHelpNote(strNote);
}
