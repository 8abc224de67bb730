// Port values that make every lamp of the panel flip from one refresh to the next, shared by the
// refresh benchmarks of each front-end so that they time the same work.
#pragma once

#include "io/simulated_port.h"
#include "panel/LptPanelDlg.h"

namespace bench {

// Sets the port and the panel's last written control byte to one of two states that differ in
// every lamp: the data latch (8 lamps), the status lines that the loopback plug feeds from the
// control outputs and data bit 0 (5 lamps), and the control byte the panel shows (6 slots).
inline void SetLampState(io::SimulatedPort& sim, CLptPanelDlg& dlg, bool odd)
{
    sim.Out(0x37A, odd ? 0x00 : 0x0F);
    sim.Out(0x378, odd ? 0x00 : 0xFF);
    dlg.m_nCtrlWritten = odd ? 0x24 : 0x0B;
}

}  // namespace bench
