// vellix-term in an 80 x 24 pseudo-terminal that looks like an xterm with UTF-8, started in a
// scratch directory, with the places of its panel read off the screen as a user's eye finds them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "panel_screen.h"
#include "pty_process.h"
#include "support/temp_dir.h"

namespace bench {

class TermProgram {
public:
    explicit TermProgram(const std::string& program);
    ~TermProgram();
    TermProgram(const TermProgram&) = delete;
    TermProgram& operator=(const TermProgram&) = delete;

    // Waits for the first complete panel on a simulated port; false (said on stderr) if none came.
    bool WaitForPanel();
    ptytest::PtyProcess& Pty() { return *m_pty; }
    const vt::Screen& Screen() const { return m_pty->Screen(); }
    const panelscreen::Panel& Panel() const { return m_panel; }
    // Bytes the program has written to the terminal so far.
    std::size_t BytesSoFar() const { return m_pty->Output().size(); }

    // A press and release of the left button on that cell (xterm's SGR mouse reports).
    void Click(vt::Screen::Pos at);
    // Every lamp of the panel, '1' lit, '0' unlit, '?' unreadable: data, status, then control.
    std::string AllLamps() const;
    // Face of the Strobe bit button: '1' set, '0' clear.
    char StrobeFace() const;
    // The check box of the output row's Continous option, its opening '['.
    vt::Screen::Pos CtrlContinuous() const;

private:
    testsupport::TempWorkDir m_dir;  // the program reads and writes config.ovm there
    std::unique_ptr<ptytest::PtyProcess> m_pty;
    panelscreen::Panel m_panel;
};

}  // namespace bench
