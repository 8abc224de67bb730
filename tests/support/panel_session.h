// A panel run against a simulated port in a fresh working directory, driven by a script of user
// steps through the headless front-end, with every port access recorded.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "afx/headless.h"
#include "afx/input.h"
#include "afx/msgloop.h"
#include "io/recording_bus.h"
#include "io/simulated_port.h"
#include "panel/LptPanelDlg.h"
#include "support/temp_dir.h"

namespace testsupport {

// Passes accesses to the simulated port, but answers reads of chosen ports with chosen bytes.
class ForcedReadsBus : public io::Bus {
public:
    explicit ForcedReadsBus(io::Bus& inner) : m_inner(inner) {}
    std::map<std::uint16_t, std::uint8_t> forced;
    // How each base is said to be reached, as a machine's ports would be; others ask the inner bus.
    std::map<std::uint16_t, std::string> ways;
    std::uint8_t In(std::uint16_t port) override;
    void Out(std::uint16_t port, std::uint8_t value) override { m_inner.Out(port, value); }
    std::string WayTo(std::uint16_t base) const override;

private:
    io::Bus& m_inner;
};

class PanelSession {
public:
    explicit PanelSession(std::vector<std::uint16_t> bases = {0x378}, std::optional<std::string> config = {});
    ~PanelSession();

    CWinApp app{"vellix-test"};  // the panel is its main window, as in the program
    afx::HeadlessFrontend ui;
    io::SimulatedPort sim;
    ForcedReadsBus forced{sim};
    io::RecordingBus rec{forced};
    CLptPanelDlg dlg;
    int result = 0;

    void Run();
    HWND Top() { return dlg.m_hWnd; }
    HWND Item(int id) { return dlg.GetDlgItem(id); }
    // Resource ID of the image a lamp or bit button shows, 0 for none.
    int ImageOf(int id);
    // Images of a group of controls as a string: '1' lit or set, '0' unlit or clear, '-' none.
    std::string Images(const std::vector<int>& ids);
    // The port writes in the log, optionally only those to one port number.
    std::vector<int> Writes(std::optional<std::uint16_t> port = {}) const;
    // Ends the dialog with the default button, as Enter in the Data Value field does.
    void PressEnter() { afx::input::Key(Top(), VK_RETURN); }

private:
    TempWorkDir m_dir;
};

// The values written in a recorded log, optionally only those to one port number, in order.
std::vector<int> WritesIn(const io::RecordingBus& rec, std::optional<std::uint16_t> port = {});

// Lamps and bit buttons in the order the rows read on screen, left to right.
extern const std::vector<int> kDataLamps;      // D7 .. D0
extern const std::vector<int> kDataButtons;    // D7 .. D0
extern const std::vector<int> kStatusLamps;    // Busy, Ack, PEnd, Select, Error
extern const std::vector<int> kCtrlLamps;      // TriState, Input, Init, Auto, Strobe
extern const std::vector<int> kCtrlButtons;    // TriState, Input, Init, Auto, Strobe

}  // namespace testsupport
