#include "term_program.h"

#include <cstdio>
#include <vector>

namespace bench {
namespace {

using namespace std::chrono_literals;

// How lamps and faces look in an xterm with colours and UTF-8.
const panelscreen::Look kXtermUtf8{"ColourUtf8", U'\u25CF', U'\u25CF', 11, 7, U'\u2022', U' '};

std::string MouseReport(vt::Screen::Pos at, bool press)
{
    return "\x1b[<0;" + std::to_string(at.col + 1) + ";" + std::to_string(at.row + 1) + (press ? "M" : "m");
}

}  // namespace

TermProgram::TermProgram(const std::string& program)
{
    std::vector<std::string> env = {"TERM=xterm-256color", "LANG=C.UTF-8", "PATH=/usr/bin:/bin",
                                    "HOME=" + m_dir.Path().string()};
    m_pty = std::make_unique<ptytest::PtyProcess>(program, m_dir.Path(), env, 24, 80);
}

TermProgram::~TermProgram()
{
    m_pty->Send("\x1b");  // Cancel: leaves without saving anything
    m_pty->WaitExit(5s);
}

bool TermProgram::WaitForPanel()
{
    // Output comes in pieces: a screen may show the lamps before the bit buttons under them.
    auto whole = [&](const vt::Screen& s) {
        m_panel = panelscreen::Locate(s);
        return m_panel.complete && AllLamps().find('?') == std::string::npos &&
               panelscreen::Faces(s, m_panel.dataFaces, kXtermUtf8).find('?') == std::string::npos &&
               panelscreen::Faces(s, m_panel.ctrlFaces, kXtermUtf8).find('?') == std::string::npos;
    };
    bool shown = m_pty->WaitFor(whole) && whole(Screen());
    if (!shown) {
        std::fprintf(stderr, "term_bytes: no complete panel on the screen:\n%s\n", Screen().Text().c_str());
        return false;
    }
    // A real port would make the lamps follow hardware that nobody here changes.
    if (Screen().Row(0).find("simulated port") == std::string::npos) {
        std::fprintf(stderr, "term_bytes: not on the simulated port: %s\n", Screen().Row(0).c_str());
        return false;
    }
    return true;
}

void TermProgram::Click(vt::Screen::Pos at)
{
    if (at.Found())  // a report for a cell off the screen would land on the menu box
        m_pty->Send(MouseReport(at, true) + MouseReport(at, false));
}

std::string TermProgram::AllLamps() const
{
    const vt::Screen& s = Screen();
    return panelscreen::Lamps(s, m_panel.dataLamps, kXtermUtf8) + panelscreen::Lamps(s, m_panel.statusLamps, kXtermUtf8) +
           panelscreen::Lamps(s, m_panel.ctrlLamps, kXtermUtf8);
}

char TermProgram::StrobeFace() const { return panelscreen::Face(Screen(), m_panel.ctrlFaces.back(), kXtermUtf8); }

vt::Screen::Pos TermProgram::CtrlContinuous() const
{
    // The output row's option stands on the row of the control lamps, right of them.
    return Screen().Find("[ ] Continous", m_panel.ctrlLamps.front().row);
}

}  // namespace bench
