// The real vellix-term in a pseudo-terminal: what the user sees at start, what keys, clicks,
// resizes and signals do, and the configuration file after each way of leaving.
#include <signal.h>
#include <sys/wait.h>
#include <term.h>
#include <termios.h>

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "io/simulated_port.h"
#include "panel_screen.h"
#include "pty_process.h"
#include "support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using panelscreen::Bits;
using panelscreen::Look;
using ptytest::PtyProcess;
using testsupport::TempWorkDir;
using testsupport::WriteFile;

const Look kColourUtf8{"ColourUtf8", U'\u25CF', U'\u25CF', 11, 7, U'\u2022', U' '};
const Look kColourAscii{"ColourAscii", U'*', U'.', 11, 7, U'o', U' '};
const Look kMono{"NoColours", U'*', U'.', -1, -1, U'o', U' '};

struct Terminal {
    const char* term;
    const char* lang;
    const Look* look;
};
void PrintTo(const Terminal& t, std::ostream* os) { *os << t.term << " " << t.lang; }

const Terminal kXterm{"xterm-256color", "C.UTF-8", &kColourUtf8};

// A terminfo string of the terminal the tests emulate: the keys it sends, the modes it resets.
std::string Cap(const char* term, const char* name)
{
    int err = 0;
    if (setupterm(const_cast<char*>(term), 1, &err) != 0)
        return {};
    const char* s = tigetstr(const_cast<char*>(name));
    std::string value = s && s != reinterpret_cast<const char*>(-1) ? s : "";
    del_curterm(cur_term);
    return value;
}

std::string Key(const char* name) { return Cap("xterm-256color", name); }

// The simulated port as the panel leaves it: the probe writes 0xAA and 0x00 at each candidate,
// then the panel writes 0x24 to the control register of 0x378.
struct PortModel {
    io::SimulatedPort sim{{0x378}};
    int control = 0x24;

    PortModel()
    {
        for (std::uint16_t base : {0x278, 0x300, 0x378, 0x3BC}) {
            sim.Out(base, 0xAA);
            sim.Out(static_cast<std::uint16_t>(base + 2), 0x00);
        }
        WriteControl(0x24);
    }
    void WriteControl(int byte)
    {
        control = byte;
        sim.Out(0x37A, static_cast<std::uint8_t>(byte));
    }
    std::string DataLamps() { return Bits(sim.In(0x378)); }
    // Busy, Ack, PEnd, Select, Error: status bits 7 down to 3.
    std::string StatusLamps() { return Bits(sim.In(0x379) >> 3, 5); }
    // TriState, Input, Init, Auto, Strobe: lit for a set bit 5 and 2, a clear bit 3, 1 and 0.
    std::string CtrlLamps() const
    {
        auto bit = [&](int b) { return (control >> b) & 1; };
        return std::string{bit(5) ? '1' : '0', bit(3) ? '0' : '1', bit(2) ? '1' : '0', bit(1) ? '0' : '1',
                           bit(0) ? '0' : '1'};
    }
};

std::unique_ptr<PtyProcess> Start(const TempWorkDir& dir, const Terminal& t = kXterm, int rows = 24, int cols = 80,
                                  const PtyProcess::Options& options = {})
{
    std::vector<std::string> env = {std::string("TERM=") + t.term, std::string("LANG=") + t.lang, "PATH=/usr/bin:/bin",
                                    "HOME=" + dir.Path().string()};
    return std::make_unique<PtyProcess>(VELLIX_TERM_PROGRAM, dir.Path(), env, rows, cols, options);
}

// Not the program's controlling terminal: no resize or hang-up signal reaches it.
const PtyProcess::Options kNotControlling{false, {}};

// Waits for the whole panel, with the lamps of the first refresh (the Busy lamp goes out).
panelscreen::Panel WaitForPanel(PtyProcess& p, const Look& look, const std::string& status)
{
    panelscreen::Panel panel;
    p.WaitFor([&](const vt::Screen& s) {
        panel = panelscreen::Locate(s);
        return panel.complete && panelscreen::Lamps(s, panel.statusLamps, look) == status;
    });
    return panel;
}

bool Simulated(const vt::Screen& s) { return s.Row(0).find("Vellix - simulated port") != std::string::npos; }

std::string Click(vt::Screen::Pos at, bool press)
{
    return "\x1b[<0;" + std::to_string(at.col + 1) + ";" + std::to_string(at.row + 1) + (press ? "M" : "m");
}

void ClickAt(PtyProcess& p, vt::Screen::Pos at) { p.Send(Click(at, true) + Click(at, false)); }

// The terminal is as the shell left it: main screen, cursor shown, keypad and mouse modes off.
void ExpectRestored(const PtyProcess& p, const char* term = "xterm-256color")
{
    const vt::Screen& s = p.Screen();
    EXPECT_FALSE(s.AlternateScreen());
    EXPECT_TRUE(s.CursorVisible());
    EXPECT_FALSE(s.Mode(1)) << "cursor keys left in application mode";
    EXPECT_FALSE(s.Mode(1000)) << "mouse reporting left on";
    std::string rmcup = Cap(term, "rmcup");
    ASSERT_FALSE(rmcup.empty());
    std::size_t last = p.Output().rfind(rmcup);
    ASSERT_NE(last, std::string::npos) << "the alternate screen was never left";
    EXPECT_EQ(p.Output().find(Cap(term, "smcup"), last), std::string::npos) << "entered it again afterwards";
    termios now = p.Modes(), was = p.InitialModes();
    EXPECT_EQ(now.c_lflag, was.c_lflag) << "echo, line editing or signal keys left off";
    EXPECT_EQ(now.c_iflag, was.c_iflag);
    EXPECT_EQ(now.c_oflag, was.c_oflag);
}

// A working directory, the port as the program will find it, and the program once started.
struct RunningPanel {
    TempWorkDir dir;
    PortModel port;
    std::unique_ptr<PtyProcess> p;
    panelscreen::Panel panel;

    // Starts the program in an 80 x 24 xterm and waits for the whole panel and its first refresh.
    void StartPanel()
    {
        p = Start(dir);
        panel = WaitForPanel(*p, kColourUtf8, port.StatusLamps());
        ASSERT_TRUE(panel.complete) << p->Screen().Text();
    }
};

class TermPanel : public ::testing::Test, protected RunningPanel {
protected:
    std::filesystem::path Config() const { return dir.File("config.ovm"); }
};

TEST_F(TermPanel, KeysDriveTheDataRowAndEnterWithNothingSelectedSavesNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartPanel());
    if (!Simulated(p->Screen()))
        GTEST_SKIP() << "a real port is in use: " << p->Screen().Row(0);
    const vt::Screen& s = p->Screen();
    EXPECT_EQ(panelscreen::Lamps(s, panel.dataLamps, kColourUtf8), port.DataLamps());
    EXPECT_EQ(panelscreen::Lamps(s, panel.statusLamps, kColourUtf8), port.StatusLamps());
    EXPECT_EQ(panelscreen::Lamps(s, panel.ctrlLamps, kColourUtf8), port.CtrlLamps());
    EXPECT_EQ(panelscreen::Faces(s, panel.dataFaces, kColourUtf8), Bits(0xAA));
    EXPECT_EQ(panelscreen::Faces(s, panel.ctrlFaces, kColourUtf8), "11111");
    EXPECT_EQ(panelscreen::FieldText(s, panel.edit), "AA");
    EXPECT_TRUE(panelscreen::Reversed(s, panel.edit, 4)) << "the Data Value field starts with the focus";
    EXPECT_TRUE(s.CursorVisible());

    // Seven tab stops on, after the Cancel button, comes the bit button of D0.
    for (int i = 0; i < 7; ++i)
        p->Send("\t");
    vt::Screen::Pos d0 = panel.dataFaces.back();
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::Reversed(sc, {d0.row, d0.col - 1}, 1); }))
        << s.Text();
    EXPECT_FALSE(panelscreen::Reversed(s, panel.edit, 4));
    p->Send(" ");
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::FieldText(sc, panel.edit) == "AB"; }));
    EXPECT_EQ(panelscreen::Faces(s, panel.dataFaces, kColourUtf8), Bits(0xAB));
    EXPECT_FALSE(std::filesystem::exists(Config()));

    std::string back = Key("kcbt");
    for (int i = 0; i < 7; ++i)
        p->Send(back);
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::Reversed(sc, panel.edit, 4); }));
    p->Send("3c");
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::FieldText(sc, panel.edit) == "3C"; }))
        << s.Text();
    EXPECT_EQ(panelscreen::Faces(s, panel.dataFaces, kColourUtf8), Bits(0x3C));
    EXPECT_EQ(panelscreen::Lamps(s, panel.dataLamps, kColourUtf8), port.DataLamps()) << "nothing was written";
    EXPECT_FALSE(std::filesystem::exists(Config()));

    p->Send("\r");
    auto status = p->WaitExit();
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    ExpectRestored(*p);
    EXPECT_FALSE(std::filesystem::exists(Config())) << "no port was ever chosen: there is nothing to remember";
}

TEST_F(TermPanel, APortPickedInTheListIsSavedOnOkAndPreselectedNextTime)
{
    {
        auto p = Start(dir);
        auto panel = WaitForPanel(*p, kColourUtf8, port.StatusLamps());
        ASSERT_TRUE(panel.complete) << p->Screen().Text();
        if (!Simulated(p->Screen()))
            GTEST_SKIP() << "a real port is in use";
        EXPECT_EQ(panelscreen::FieldText(p->Screen(), panel.list), "");
        // Back from the first tab stop is the last: the list, closed; the arrows choose in it.
        p->Send(Key("kcbt"));
        ASSERT_TRUE(p->WaitFor([&](const vt::Screen& s) { return panelscreen::Reversed(s, panel.list, 6); }))
            << p->Screen().Text();
        p->Send(Key("kcud1"));
        ASSERT_TRUE(p->WaitFor([&](const vt::Screen& s) { return panelscreen::FieldText(s, panel.list) == "0x0378"; }));
        p->Send("\r");
        auto status = p->WaitExit();
        ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
        EXPECT_EQ(testsupport::ReadFile(Config()), "0x0378");
    }
    auto p = Start(dir);
    auto panel = WaitForPanel(*p, kColourUtf8, port.StatusLamps());
    ASSERT_TRUE(panel.complete);
    EXPECT_EQ(panelscreen::FieldText(p->Screen(), panel.list), "0x0378");
    p->Send("\x1b");
    auto status = p->WaitExit();
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_EQ(testsupport::ReadFile(Config()), "0x0378") << "Cancel leaves the file alone";
}

// The focused Base Addr list stays closed until the user opens it; open, Enter and Escape close
// it first (picking or not) and never reach the dialog's OK and Cancel.
TEST_F(TermPanel, TheFocusedListOpensOnlyWhenAskedAndEnterOrEscapeCloseItFirst)
{
    ASSERT_NO_FATAL_FAILURE(StartPanel());
    if (!Simulated(p->Screen()))
        GTEST_SKIP() << "a real port is in use";
    const vt::Screen& s = p->Screen();
    vt::Screen::Pos below{panel.list.row + 1, panel.list.col + 1};
    auto open = [&](const vt::Screen& sc) { return sc.Find("0x0378", below.row).row == below.row; };

    p->Send(Key("kcbt"));
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::Reversed(sc, panel.list, 6); })) << s.Text();
    p->Drain(200ms);
    EXPECT_FALSE(open(s)) << "focused, yet closed\n" << s.Text();
    // The hint line names what Enter does where the focus is.
    EXPECT_TRUE(s.Contains("Enter: OK")) << s.Text();

    struct Opener {
        const char* name;
        std::string keys;
    };
    const Opener openers[] = {
        {"F4", Key("kf4")},
        {"Alt+Down as Escape and Down", "\x1b" + Key("kcud1")},
        {"Alt+Down as xterm sends it", "\x1b[1;3B"},
        {"Space", " "},
    };
    for (const Opener& o : openers) {
        SCOPED_TRACE(o.name);
        ASSERT_FALSE(o.keys.empty());
        p->Send(o.keys);
        ASSERT_TRUE(p->WaitFor(open)) << s.Text();
        EXPECT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return sc.Contains("Enter: pick"); }))
            << s.Text();
        p->Send("\x1b");
        ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return !open(sc); })) << s.Text();
        EXPECT_EQ(panelscreen::FieldText(s, panel.list), "") << "Escape picks nothing";
        EXPECT_FALSE(p->WaitExit(100ms)) << "Escape closed the list, not the panel";
    }

    // Open, mark the entry, Enter: picked and closed, and the panel still runs.
    p->Send(Key("kf4"));
    ASSERT_TRUE(p->WaitFor(open)) << s.Text();
    p->Send(Key("kcud1"));
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::Reversed(sc, below, 6); })) << s.Text();
    EXPECT_EQ(panelscreen::FieldText(s, panel.list), "") << "marking is not picking";
    p->Send("\r");
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::FieldText(sc, panel.list) == "0x0378" && !open(sc); }))
        << s.Text();
    EXPECT_FALSE(p->WaitExit(100ms)) << "Enter picked, it did not press OK";

    // On a push button (past the Data Value field and the row's Continous: Set Data), Enter
    // presses that button.
    p->Send("\t\t\t");
    EXPECT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return sc.Contains("Space, Enter: press"); }))
        << s.Text();
    // On a check box Enter presses OK; on OK itself, the default button, it presses the focused
    // button as on any other, and the hint says so.
    p->Send("\t");
    EXPECT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return sc.Contains("Enter: OK"); })) << s.Text();
    p->Send("\t\t");
    EXPECT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return sc.Contains("Space, Enter: press"); }))
        << s.Text();

    // Closed, Escape is the dialog's again: Cancel, and nothing saved.
    p->Send("\x1b");
    auto status = p->WaitExit();
    ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_FALSE(std::filesystem::exists(Config()));
}

TEST_F(TermPanel, MouseClicksSetTheOutputRowPickAPortAndPressOk)
{
    ASSERT_NO_FATAL_FAILURE(StartPanel());
    if (!Simulated(p->Screen()))
        GTEST_SKIP() << "a real port is in use";
    const vt::Screen& s = p->Screen();
    ASSERT_TRUE(s.Mode(1000)) << "the program asks for mouse reports";

    ClickAt(*p, panel.ctrlFaces[0]);  // TriState: slot 5 to state 0, pending until Set Data
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::Faces(sc, panel.ctrlFaces, kColourUtf8) == "01111"; }));
    EXPECT_EQ(panelscreen::Lamps(s, panel.ctrlLamps, kColourUtf8), port.CtrlLamps());

    vt::Screen::Pos setCtrl = s.Find("< Set Data >", s.Find("TriState").row);
    ASSERT_TRUE(setCtrl.Found());
    ClickAt(*p, {setCtrl.row, setCtrl.col + 3});
    port.WriteControl(0x04);  // the data lines drive again: the lamps read the latched 0xAA
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) {
        return panelscreen::Lamps(sc, panel.dataLamps, kColourUtf8) == port.DataLamps();
    })) << s.Text();
    EXPECT_EQ(panelscreen::Lamps(s, panel.statusLamps, kColourUtf8), port.StatusLamps());
    EXPECT_EQ(panelscreen::Lamps(s, panel.ctrlLamps, kColourUtf8), port.CtrlLamps());

    vt::Screen::Pos box = s.Find("[ ] Continous", setCtrl.row - 1);
    ASSERT_TRUE(box.Found());
    ClickAt(*p, {box.row, box.col + 5});
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return sc.At(box.row, box.col + 1).ch == U'x'; }));

    // The list opens when clicked; a click on an entry picks it.
    ClickAt(*p, {panel.list.row, panel.list.col + 2});
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return sc.Find("0x0378", panel.list.row + 1).row == panel.list.row + 1; }));
    ClickAt(*p, {panel.list.row + 1, panel.list.col + 2});
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::FieldText(sc, panel.list) == "0x0378"; }));

    // The system-menu box opens the menu; a click elsewhere closes it again.
    vt::Screen::Pos menuBox = s.Find("[\u2261]");
    ASSERT_TRUE(menuBox.Found());
    ClickAt(*p, {menuBox.row, menuBox.col + 1});
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return sc.Contains("About Vellix..."); }));
    ClickAt(*p, {s.Rows() - 3, s.Cols() / 2});
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return !sc.Contains("About Vellix..."); }));

    ClickAt(*p, s.Find("< OK >"));
    auto status = p->WaitExit();
    ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    ExpectRestored(*p);
    EXPECT_EQ(testsupport::ReadFile(Config()), "0x0378");
}

TEST_F(TermPanel, SystemMenuOpensTheAboutBoxAndF1TheHelp)
{
    ASSERT_NO_FATAL_FAILURE(StartPanel());
    const vt::Screen& s = p->Screen();

    p->Send(Key("kf10"));
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return sc.Contains("About Vellix..."); })) << s.Text();
    EXPECT_TRUE(s.Contains(" Move ") && s.Contains(" Close "));
    vt::Screen::Pos move = s.Find("Move");
    EXPECT_TRUE(s.At(move.row, move.col).dim) << "a terminal cannot move the window: Move is grayed";
    EXPECT_FALSE(s.At(s.Find("Close").row, s.Find("Close").col).dim);
    EXPECT_FALSE(s.Contains("&")) << "access keys show without their '&'";
    vt::Screen::Pos about = s.Find("About Vellix...");
    EXPECT_EQ(s.At(about.row - 1, about.col - 2).ch, U'\u251C') << "a separator comes before the about entry";
    p->Send("\x1b");
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return !sc.Contains("About Vellix..."); }));
    EXPECT_TRUE(panelscreen::Locate(s).complete) << "the panel shows again where the menu was";

    p->Send("\x1b ");  // Alt+Space
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return sc.Contains("About Vellix..."); }));
    p->Send("a");
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return sc.Contains("Vellix Version 1.0"); })) << s.Text();
    // The box is centred over the panel, which spans the terminal.
    vt::Screen::Pos title = s.Find("About Vellix");
    int left = title.col - 5;  // "┌[≡] About Vellix"
    ASSERT_EQ(s.At(title.row, left).ch, U'\u250C') << s.Text();
    int right = left;
    while (right + 1 < s.Cols() && s.At(title.row, right).ch != U'\u2510')
        ++right;
    EXPECT_LE(std::abs(left - (s.Cols() - 1 - right)), 1) << s.Text();
    p->Send("\r");
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return !sc.Contains("Vellix Version 1.0"); }));

    p->Send(Key("kf1"));
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) {
        return sc.Contains("Vellix shows the three registers of a parallel port.") &&
               sc.Contains("OK remembers that port for the next start.");
    })) << s.Text();
    p->Send("\r");
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return !sc.Contains("Vellix shows the three"); }));
    EXPECT_TRUE(panelscreen::Locate(s).complete);

    p->Send("\x1b");
    auto status = p->WaitExit();
    ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_FALSE(std::filesystem::exists(Config()));
}

TEST_F(TermPanel, ResizingRedrawsAndATooSmallTerminalGetsOneLine)
{
    ASSERT_NO_FATAL_FAILURE(StartPanel());
    const vt::Screen& s = p->Screen();

    p->Resize(30, 100);
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) {
        auto moved = panelscreen::Locate(sc);
        return moved.complete && moved.edit.col != panel.edit.col;
    })) << s.Text();
    auto wide = panelscreen::Locate(s);
    EXPECT_EQ(panelscreen::Lamps(s, wide.statusLamps, kColourUtf8), port.StatusLamps());
    EXPECT_EQ(panelscreen::FieldText(s, wide.edit), "AA");

    p->Resize(16, 60);
    auto inkRows = [](const vt::Screen& sc) {
        int rows = 0;
        for (int r = 0; r < sc.Rows(); ++r)
            rows += sc.Row(r).find_first_not_of(' ') != std::string::npos;
        return rows;
    };
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return sc.Contains("needs a terminal of at least"); })) << s.Text();
    EXPECT_EQ(inkRows(s), 1) << s.Text();
    int cols = 0, rows = 0;
    ASSERT_EQ(std::sscanf(s.Row(0).c_str() + s.Find("at least").col, "at least %d x %d", &cols, &rows), 2) << s.Row(0);
    EXPECT_GT(cols, 60);
    EXPECT_LE(cols, 80);
    EXPECT_LE(rows, 24) << "the whole panel fits an 80 x 24 terminal";
    std::string line = s.Row(0).substr(0, s.Row(0).find_last_not_of(' ') + 1);
    EXPECT_TRUE(line.ends_with(" x " + std::to_string(rows))) << "the message is not cut off: " << line;

    // Tall but narrow: the size asked for is still the least that works, and it does.
    p->Resize(40, 60);
    p->Drain(500ms);  // the redraw at the new size
    EXPECT_TRUE(s.Contains("at least " + std::to_string(cols) + " x " + std::to_string(rows))) << s.Row(0);
    p->Resize(rows, cols);
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return panelscreen::Locate(sc).complete; })) << s.Text();

    p->Resize(24, 80);
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return panelscreen::Locate(sc).complete; })) << s.Text();
    EXPECT_FALSE(s.Contains("needs a terminal"));
    p->Send("\x1b");
    auto status = p->WaitExit();
    ASSERT_TRUE(status && WIFEXITED(*status));
}

TEST_F(TermPanel, AQuietTickSendsNothingToTheTerminal)
{
    ASSERT_NO_FATAL_FAILURE(StartPanel());
    p->Drain(400ms);  // the first refresh has come and gone
    EXPECT_EQ(p->Drain(1200ms), 0u) << "four refreshes that change no lamp must not redraw";
    p->Send("\x1b");
    EXPECT_TRUE(p->WaitExit().has_value());
}

// The terminal kinds: the glyphs and colours that lamps and faces take in each.
class TermLooks : public ::testing::TestWithParam<Terminal> {
protected:
    TempWorkDir dir;
    PortModel port;
};

TEST_P(TermLooks, LampsAndFacesShowThePortState)
{
    const Terminal& t = GetParam();
    auto p = Start(dir, t);
    auto panel = WaitForPanel(*p, *t.look, port.StatusLamps());
    ASSERT_TRUE(panel.complete) << p->Screen().Text();
    if (!Simulated(p->Screen()))
        GTEST_SKIP() << "a real port is in use";
    const vt::Screen& s = p->Screen();
    EXPECT_EQ(panelscreen::Lamps(s, panel.dataLamps, *t.look), port.DataLamps());
    EXPECT_EQ(panelscreen::Lamps(s, panel.statusLamps, *t.look), port.StatusLamps());
    EXPECT_EQ(panelscreen::Lamps(s, panel.ctrlLamps, *t.look), port.CtrlLamps());
    EXPECT_EQ(panelscreen::Faces(s, panel.dataFaces, *t.look), Bits(0xAA));
    EXPECT_EQ(panelscreen::Faces(s, panel.ctrlFaces, *t.look), "11111");
    EXPECT_EQ(panelscreen::FieldText(s, panel.edit), "AA");
    // Group boxes keep their frames in every kind of terminal.
    vt::Screen::Pos data = s.Find("Data ");
    ASSERT_TRUE(data.Found());
    EXPECT_EQ(s.At(data.row, data.col - 3).ch, U'\u250C') << s.Text();
    // Shift+Tab as xterm sends it, whether or not the terminal's description lists it: back
    // from the Data Value field to the list, which takes the focus.
    p->Send("\x1b[Z");
    EXPECT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::Reversed(sc, panel.list, 6); })) << s.Text();
    EXPECT_EQ(panelscreen::FieldText(s, panel.edit), "AA") << "no stray characters reached the field";

    p->Send("\x1b");
    auto status = p->WaitExit();
    ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    ExpectRestored(*p, t.term);
}

INSTANTIATE_TEST_SUITE_P(Terminals, TermLooks,
                         ::testing::Values(kXterm, Terminal{"xterm-256color", "C", &kColourAscii},
                                           Terminal{"xterm-mono", "C.UTF-8", &kMono}),
                         [](const auto& info) { return std::string(info.param.look->name); });

// Every way a signal ends the program gives the terminal back and skips the OK path.
struct Ending {
    const char* name;
    int signal;
    bool byKeyboard;  // Ctrl+C at the terminal rather than kill()
};

void PrintTo(const Ending& e, std::ostream* os) { *os << e.name; }

class TermSignals : public ::testing::TestWithParam<Ending>, protected RunningPanel {};

TEST_P(TermSignals, RestoreTheTerminalAndWriteNoConfiguration)
{
    const Ending& e = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartPanel());
    p->Send("3c");
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& s) { return panelscreen::FieldText(s, panel.edit) == "3C"; }));
    if (e.byKeyboard)
        p->Send("\x03");
    else
        p->Kill(e.signal);
    auto status = p->WaitExit();
    ASSERT_TRUE(status.has_value()) << "the program did not end";
    EXPECT_TRUE(WIFSIGNALED(*status)) << *status;
    EXPECT_EQ(WTERMSIG(*status), e.signal);
    ExpectRestored(*p);
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.ovm")));
}

// Every signal whose default action ends the program. The asynchronous ones go through the
// program's loop; the crash kind (SIGSEGV and below) only meet a handler that writes the reset
// it made ready.
INSTANTIATE_TEST_SUITE_P(
    Signals, TermSignals,
    ::testing::Values(Ending{"SIGTERM", SIGTERM, false}, Ending{"SIGINT", SIGINT, false}, Ending{"SIGHUP", SIGHUP, false},
                      Ending{"CtrlC", SIGINT, true}, Ending{"SIGQUIT", SIGQUIT, false}, Ending{"SIGUSR1", SIGUSR1, false},
                      Ending{"SIGUSR2", SIGUSR2, false}, Ending{"SIGALRM", SIGALRM, false}, Ending{"SIGPIPE", SIGPIPE, false},
                      Ending{"SIGVTALRM", SIGVTALRM, false}, Ending{"SIGPROF", SIGPROF, false},
                      Ending{"SIGXCPU", SIGXCPU, false}, Ending{"SIGXFSZ", SIGXFSZ, false}, Ending{"SIGIO", SIGIO, false},
                      Ending{"SIGPWR", SIGPWR, false}, Ending{"SIGSTKFLT", SIGSTKFLT, false},
                      Ending{"SIGRTMIN", SIGRTMIN, false}, Ending{"SIGRTMAX", SIGRTMAX, false},
                      Ending{"SIGSEGV", SIGSEGV, false}, Ending{"SIGBUS", SIGBUS, false}, Ending{"SIGFPE", SIGFPE, false},
                      Ending{"SIGILL", SIGILL, false}, Ending{"SIGABRT", SIGABRT, false}, Ending{"SIGTRAP", SIGTRAP, false},
                      Ending{"SIGSYS", SIGSYS, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The terminal goes away and no SIGHUP comes (ignored, as under nohup): the run ends as Cancel
// would, and does not spin on a terminal that is forever readable with nothing to read.
TEST_F(TermPanel, AHangUpWithoutSigHupEndsAsCancelWithoutSpinning)
{
    WriteFile(Config(), "0x0300");
    auto p = Start(dir, kXterm, 24, 80, {true, {SIGHUP}});
    auto panel = WaitForPanel(*p, kColourUtf8, port.StatusLamps());
    ASSERT_TRUE(panel.complete) << p->Screen().Text();
    p->Send(Key("kcbt"));  // the list opens with the focus
    p->Send(Key("kcud1")); // and an entry is chosen, so OK would have something to save
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& s) { return panelscreen::FieldText(s, panel.list) == "0x0378"; }));
    p->HangUp();
    auto status = p->WaitExit(5s);
    ASSERT_TRUE(status.has_value()) << "the program is still running after its terminal went away";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    // The whole run, start-up included, takes a fraction of this; a spin takes it all.
    EXPECT_LT(p->CpuTime(), 2s);
    EXPECT_EQ(testsupport::ReadFile(Config()), "0x0300") << "a hang-up is not OK";
}

// While the panel does not fit, it is not on the screen, and nothing may act on it: not Enter
// (OK), Escape (Cancel), typed digits (a write with Continous on) or a click.
TEST_F(TermPanel, KeysAndClicksDoNothingWhileThePanelDoesNotFit)
{
    ASSERT_NO_FATAL_FAILURE(StartPanel());
    if (!Simulated(p->Screen()))
        GTEST_SKIP() << "a real port is in use";
    const vt::Screen& s = p->Screen();
    vt::Screen::Pos box = s.Find("[ ] Continous");  // the data row's, the first on the screen
    ASSERT_TRUE(box.Found());
    ClickAt(*p, {box.row, box.col + 5});
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return sc.At(box.row, box.col + 1).ch == U'x'; }));
    ClickAt(*p, {panel.edit.row, panel.edit.col + 1});  // the typed digits go to the Data Value
    ASSERT_TRUE(p->WaitFor([&](const vt::Screen& sc) { return panelscreen::Reversed(sc, panel.edit, 4); }));
    vt::Screen::Pos ok = s.Find("< OK >");

    p->Resize(16, 60);
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return sc.Contains("needs a terminal of at least"); }));
    p->Send("55");
    p->Send("\r");
    p->Send("\x1b");
    p->Drain(100ms);  // Escape alone, not the start of an Alt chord
    p->Send(" \t");
    p->Send(Key("kf10"));
    p->Send("\x1b ");  // Alt+Space, the system menu
    ClickAt(*p, ok);
    ClickAt(*p, {0, 0});
    p->Drain(500ms);
    EXPECT_FALSE(p->WaitExit(0ms).has_value()) << "a key ended the hidden panel";

    p->Resize(24, 80);
    ASSERT_TRUE(p->WaitFor([](const vt::Screen& sc) { return panelscreen::Locate(sc).complete; })) << s.Text();
    p->Drain(400ms);  // a refresh: the lamps show what the port holds now
    auto again = panelscreen::Locate(s);
    EXPECT_EQ(panelscreen::FieldText(s, again.edit), "AA") << "the digits reached the field";
    EXPECT_EQ(panelscreen::Lamps(s, again.dataLamps, kColourUtf8), port.DataLamps()) << "the port was written";
    EXPECT_FALSE(s.Contains("About Vellix")) << "the system menu opened unseen";
    p->Send("\x1b");
    auto status = p->WaitExit();
    ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_FALSE(std::filesystem::exists(Config()));
}

// Ctrl+Z, a resize while stopped, fg: the size is read again on resume, without a key. In a
// terminal that is not its controlling one the program gets no SIGWINCH, as a stopped job in
// a shell does not: the shell in the foreground gets it.
TEST_F(TermPanel, AResizeWhileStoppedIsSeenOnResume)
{
    auto p = Start(dir, kXterm, 24, 80, kNotControlling);
    auto panel = WaitForPanel(*p, kColourUtf8, port.StatusLamps());
    ASSERT_TRUE(panel.complete) << p->Screen().Text();
    p->Kill(SIGTSTP);
    ASSERT_TRUE(p->WaitStopped());
    ASSERT_FALSE(p->Screen().AlternateScreen()) << "the shell gets its screen while the program is stopped";
    p->Resize(30, 100);
    p->Kill(SIGCONT);
    EXPECT_TRUE(p->WaitFor([&](const vt::Screen& sc) {
        auto moved = panelscreen::Locate(sc);
        return sc.AlternateScreen() && moved.complete && moved.edit.col != panel.edit.col;
    })) << p->Screen().Text();
    p->Send("\x1b");
    auto status = p->WaitExit();
    ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    ExpectRestored(*p);
}

// A terminal the panel cannot be drawn on is refused before anything is drawn.
class TermRefused : public ::testing::TestWithParam<const char*> {
protected:
    TempWorkDir dir;
};

TEST_P(TermRefused, WithAMessageAndStatusOne)
{
    auto p = Start(dir, Terminal{GetParam(), "C.UTF-8", &kColourUtf8});
    auto status = p->WaitExit();
    ASSERT_TRUE(status.has_value()) << p->Screen().Text();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1) << *status;
    EXPECT_TRUE(p->Screen().Contains("vellix-term: cannot start the terminal")) << p->Screen().Text();
    EXPECT_FALSE(p->Screen().Contains("Vellix")) << "the panel was drawn";
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.ovm")));
}

INSTANTIATE_TEST_SUITE_P(Terminals, TermRefused, ::testing::Values("dumb", "no-such-terminal"),
                         [](const auto& info) { return std::string(info.param[0] == 'd' ? "Dumb" : "Unknown"); });

}  // namespace
