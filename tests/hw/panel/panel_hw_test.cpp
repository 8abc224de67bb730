// The real vellix-term on emulated PCs with the kernel's own port drivers: what the panel shows
// of a real port, and what a byte composed and strobed from the panel does at the printer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "qemu_guest.h"
#include "ui/term/panel_screen.h"

namespace {

using namespace hwpanel;
using panelscreen::Bits;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using Pos = vt::Screen::Pos;

// The guest runs with TERM=xterm-256color and LANG=C.UTF-8: lamps are coloured dots.
const panelscreen::Look kLook{"ColourUtf8", U'\u25CF', U'\u25CF', 11, 7, U'\u2022', U' '};

// Keys as xterm sends them.
constexpr const char* kTab = "\t";
constexpr const char* kSpace = " ";
constexpr const char* kEnter = "\r";
constexpr const char* kEscape = "\x1b";

std::string Repeat(const char* key, int times)
{
    std::string keys;
    for (int i = 0; i < times; ++i)
        keys += key;
    return keys;
}

// The window caption: the top row between the system-menu box and the close box.
std::string Caption(const vt::Screen& s)
{
    std::string row = s.Row(0);
    const std::string menu = "[\u2261] ", close = "[\u00D7]";
    if (row.starts_with(menu))
        row.erase(0, menu.size());
    if (const auto at = row.rfind(close); at != std::string::npos)
        row.erase(at);
    while (!row.empty() && row.back() == ' ')
        row.pop_back();
    return row;
}

// The entries of the opened Base Addr list, one a row under the closed box, inside its frame.
std::vector<std::string> ListEntries(const vt::Screen& s, Pos list)
{
    std::vector<std::string> entries;
    for (int row = list.row + 1; row < s.Rows(); ++row) {
        std::string text;
        for (int col = list.col + 1; col < s.Cols(); ++col) {
            const char32_t ch = s.At(row, col).ch;
            if (ch == U'\u2502' || ch == U'\u2518' || ch == U'\u2500' || ch == U']')
                break;
            text.push_back(ch < 0x80 ? static_cast<char>(ch) : '?');
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        if (!text.starts_with("0x"))
            break;
        entries.push_back(text);
    }
    return entries;
}

// Where the focus is: reverse video on any of `width` cells from `at`.
bool FocusOn(const vt::Screen& s, Pos at, int width) { return panelscreen::Reversed(s, at, width); }
bool FocusOnFace(const vt::Screen& s, Pos face) { return FocusOn(s, {face.row, face.col - 1}, 3); }

bool Checked(const vt::Screen& s, Pos box) { return s.At(box.row, box.col + 1).ch == U'x'; }

std::string Hex2(int byte)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

std::string Printable(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes)
        out += "\\x" + Hex2(c);
    return out;
}

// The emulated port after detection: the probe's control byte 0x00 pulls Init low, which resets
// the emulated printer; its status then reads 0xD8 (Busy, Ack, Select and Error 1, PEnd 0).
constexpr const char* kStatusLampsAtStart = "11011";

// One emulated machine and how the program should reach its port.
struct Scenario {
    const char* name;
    std::uint16_t iobase;
    bool lp;           // the printer driver is loaded as well
    int uid;           // 0: root
    const char* label;    // the only entry of the list, selected at start, and saved by OK
    const char* caption;  // the window caption: the way to the port
    const char* stderrSays;  // text the start-up line on standard error holds, or nullptr
    int byte;             // composed in the panel and strobed to the printer
    bool saved = true;    // config.ovm names the label before the start; else there is none
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

class EmulatedPort : public ::testing::TestWithParam<Scenario> {
protected:
    void SetUp() override
    {
        const GuestImage& image = GuestImage::Get();
        ASSERT_TRUE(image.error.empty()) << image.error;
        GuestSetup setup;
        setup.iobase = GetParam().iobase;
        setup.lp = GetParam().lp;
        setup.uid = GetParam().uid;
        if (GetParam().saved)
            setup.config = GetParam().label;
        guest = std::make_unique<Guest>(image, setup);
    }
    void TearDown() override
    {
        if (!HasFailure() || !guest)
            return;
        std::cout << "--- screen at the failure ---\n" << guest->ScreenText();
        // Escape cancels the panel, so that the guest reports what the program wrote to
        // standard error, which tells how it reached the port or why it did not.
        if (!guest->Run(1).ended) {
            guest->Send(kEscape);
            guest->WaitForRun(1, 20s);
        }
        std::cout << guest->Diagnosis();
    }

    // Sends keys and waits for the screen they should lead to.
    bool Step(const std::string& keys, const std::function<bool(const vt::Screen&)>& done)
    {
        const auto start = std::chrono::steady_clock::now();
        guest->Send(keys);
        const bool reached = guest->WaitFor(done, 30s);
        // VELLIX_SHOW_SCREENS=1 shows the screen after every step, to watch a scenario.
        if (const char* show = std::getenv("VELLIX_SHOW_SCREENS"); show && *show == '1') {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
            std::cout << "after " << ms.count() << " ms:\n" << guest->Screen().Text() << std::endl;
        }
        return reached;
    }

    std::unique_ptr<Guest> guest;
};

TEST_P(EmulatedPort, PanelShowsThePortAndStrobesAComposedByteToThePrinter)
{
    const Scenario& sc = GetParam();
    const vt::Screen& s = guest->Screen();
    panelscreen::Panel panel;
    // Boot and start take long under software emulation.
    ASSERT_TRUE(guest->WaitFor(
        [&](const vt::Screen& screen) {
            panel = panelscreen::Locate(screen);
            return panel.complete;
        },
        150s))
        << "the panel never showed";
    // The lamps of the first refresh tell that the panel reads the port.
    EXPECT_TRUE(guest->WaitFor(
        [&](const vt::Screen& screen) {
            return panelscreen::Lamps(screen, panel.statusLamps, kLook) == kStatusLampsAtStart;
        },
        10s))
        << "the status lamps do not show the emulated port's status " << kStatusLampsAtStart;
    // Found again on the whole screen: the first sight may have come halfway through drawing it.
    panel = panelscreen::Locate(s);
    for (const Pos& face : panel.ctrlFaces)
        ASSERT_TRUE(face.Found()) << "a bit button of the Output row is missing";
    EXPECT_EQ(Caption(s), sc.caption);
    EXPECT_EQ(panelscreen::FieldText(s, panel.list), sc.label) << "the port in use is selected";
    // The probe left 0xAA in the data register; the panel starts with it pending. The lamps read
    // the lines, which the start-up control byte 0x24 leaves undriven: all high.
    EXPECT_EQ(panelscreen::FieldText(s, panel.edit), "AA");
    EXPECT_EQ(panelscreen::Lamps(s, panel.dataLamps, kLook), "11111111");
    EXPECT_EQ(panelscreen::Lamps(s, panel.ctrlLamps, kLook), "11111");

    // The tab order: 0 Data Value, 1 and 2 the data row's Continous and Set Data, 3 and 4 the
    // Output row's, 5 OK, 6 Cancel, 7..14 the data bits D0..D7, 15..19 Strobe(1), Auto(14),
    // Init(16), Input(17), TriState, 20 the list. Only Tab moves the focus here: an escape
    // sequence such as Shift+Tab may reach the program in pieces over the emulated serial line.
    // Space opens the focused list, which shows every port found; Enter closes it again on the
    // entry that was selected.
    ASSERT_TRUE(Step(Repeat(kTab, 20), [&](const vt::Screen& screen) { return FocusOn(screen, panel.list, 10); }))
        << "the list did not take the focus";
    ASSERT_TRUE(Step(kSpace, [&](const vt::Screen& screen) { return !ListEntries(screen, panel.list).empty(); }))
        << "Space did not open the list";
    ASSERT_THAT(ListEntries(s, panel.list), ElementsAre(sc.label));
    ASSERT_TRUE(Step(kEnter, [&](const vt::Screen& screen) { return ListEntries(screen, panel.list).empty(); }))
        << "Enter did not close the list";
    EXPECT_EQ(panelscreen::FieldText(s, panel.list), sc.label) << "the selection stays";
    // A byte written to the simulated port goes nowhere; what follows needs the real one.
    ASSERT_THAT(Caption(s), Not(HasSubstr("simulated port")));
    ASSERT_TRUE(Step(kTab, [&](const vt::Screen& screen) { return FocusOn(screen, panel.edit, 4); }));

    // Compose the byte in the Data Value field; switching the row's Continous on writes it.
    const std::string digits = Hex2(sc.byte);
    ASSERT_TRUE(Step(digits, [&](const vt::Screen& screen) {
        return panelscreen::Faces(screen, panel.dataFaces, kLook) == Bits(sc.byte);
    })) << "typed " << digits;
    EXPECT_EQ(panelscreen::FieldText(s, panel.edit), digits);
    const Pos dataBox = s.Find("[ ] Continous");
    const Pos ctrlBox = s.Find("[ ] Continous", dataBox.row + 1);
    ASSERT_TRUE(dataBox.Found() && ctrlBox.Found());
    ASSERT_TRUE(Step(kTab, [&](const vt::Screen& screen) { return FocusOn(screen, dataBox, 13); }));
    ASSERT_TRUE(Step(kSpace, [&](const vt::Screen& screen) { return Checked(screen, dataBox); }));

    // The Output row's Continous on: from here every press of a control bit is written.
    ASSERT_TRUE(Step(Repeat(kTab, 2), [&](const vt::Screen& screen) { return FocusOn(screen, ctrlBox, 13); }));
    ASSERT_TRUE(Step(kSpace, [&](const vt::Screen& screen) { return Checked(screen, ctrlBox); }));

    // Input(17) off sets SelectIn; Init(16) is on since the start: the printer takes strobes.
    const Pos triState = panel.ctrlFaces[0], input = panel.ctrlFaces[1], strobe = panel.ctrlFaces[4];
    ASSERT_TRUE(Step(Repeat(kTab, 15), [&](const vt::Screen& screen) { return FocusOnFace(screen, input); }));
    ASSERT_TRUE(Step(kSpace, [&](const vt::Screen& screen) {
        return panelscreen::Lamps(screen, panel.ctrlLamps, kLook) == "10111";
    }));
    // TriState off: the port drives the data lines, and the data lamps read the byte back.
    ASSERT_TRUE(Step(kTab, [&](const vt::Screen& screen) { return FocusOnFace(screen, triState); }));
    ASSERT_TRUE(Step(kSpace, [&](const vt::Screen& screen) {
        return panelscreen::Lamps(screen, panel.ctrlLamps, kLook) == "00111" &&
               panelscreen::Lamps(screen, panel.dataLamps, kLook) == Bits(sc.byte);
    })) << "the data lines do not read back " << digits;
    EXPECT_EQ(Printable(guest->PrinterBytes()), "") << "nothing is printed before the strobe";

    // One strobe pulse: Strobe(1) off raises the strobe bit, on again lowers it.
    ASSERT_TRUE(Step(Repeat(kTab, 17), [&](const vt::Screen& screen) { return FocusOnFace(screen, strobe); }));
    ASSERT_TRUE(Step(kSpace, [&](const vt::Screen& screen) {
        return panelscreen::Lamps(screen, panel.ctrlLamps, kLook) == "00110";
    }));
    ASSERT_TRUE(Step(kSpace, [&](const vt::Screen& screen) {
        return panelscreen::Lamps(screen, panel.ctrlLamps, kLook) == "00111";
    }));
    EXPECT_TRUE(guest->WaitForPrinter(1)) << "the printer received nothing";
    EXPECT_EQ(Printable(guest->PrinterBytes()), Printable(std::string(1, static_cast<char>(sc.byte))));

    // OK closes the panel and saves the port in use. Enter goes to OK only once it has the
    // focus: on a bit button, Enter presses that button, as in any dialog.
    const Pos ok = s.Find("< OK >");
    ASSERT_TRUE(Step(Repeat(kTab, 11), [&](const vt::Screen& screen) { return FocusOn(screen, ok, 6); }));
    guest->Send(kEnter);
    ASSERT_TRUE(guest->WaitForRun(1, 60s)) << "the program did not end";
    const RunReport run = guest->Run(1);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.config, sc.label);
    EXPECT_THAT(run.err, Each(Not(HasSubstr("simulated"))));
    if (sc.stderrSays) {
        EXPECT_THAT(run.err, Contains(HasSubstr(sc.stderrSays)));
    }
    EXPECT_TRUE(guest->WaitForPowerOff(60s));
    EXPECT_THAT(guest->Reports("error"), IsEmpty());
}

constexpr int kUser = 1000;

INSTANTIATE_TEST_SUITE_P(
    QemuPanel, EmulatedPort,
    ::testing::Values(
        // A legacy base: root reaches it by direct I/O, anyone else through ppdev.
        Scenario{"Legacy0x378Root", 0x378, false, 0, "0x0378", "Vellix", nullptr, 0x5A},
        Scenario{"Legacy0x378User", 0x378, false, kUser, "0x0378", "Vellix - /dev/parport0", "/dev/parport0", 0xA5},
        // A card's base beyond 0x3FF: ioperm cannot reach it, ppdev can, for root as well.
        Scenario{"Card0xD010Root", 0xD010, false, 0, "0xD010", "Vellix - /dev/parport0", "/dev/parport0", 0x3C},
        Scenario{"Card0xD010User", 0xD010, false, kUser, "0xD010", "Vellix - /dev/parport0", "/dev/parport0", 0xC3},
        // A first start, nothing saved, and no port at 0x378: the panel lands on the card.
        Scenario{"FirstStartOnCard0xD010", 0xD010, false, kUser, "0xD010", "Vellix - /dev/parport0", "/dev/parport0",
                 0x69, false},
        // The printer driver holds the port: the panel shares it and says so.
        Scenario{"SharedWithLpUser", 0x378, true, kUser, "0x0378", "Vellix - /dev/parport0",
                 "shared with the printer driver", 0x81}),
    [](const auto& info) { return std::string(info.param.name); });

// Root drives the port by direct I/O with the printer driver loaded: the kernel's claim, held
// while the panel runs, makes a print job wait for the panel, as it does for ppdev's users.
TEST(QemuPrintJob, WaitsUntilThePanelEnds)
{
    const GuestImage& image = GuestImage::Get();
    ASSERT_TRUE(image.error.empty()) << image.error;
    GuestSetup setup;
    setup.lp = true;
    setup.printJob = "JOB\n";
    Guest guest(image, setup);
    ASSERT_TRUE(guest.WaitFor([](const vt::Screen& screen) { return panelscreen::Locate(screen).complete; }, 150s))
        << guest.Diagnosis();
    ASSERT_TRUE(guest.WaitFor([&](const vt::Screen&) { return !guest.Reports("printjob").empty(); }, 30s))
        << "the print job did not start\n" << guest.Diagnosis();
    // Long enough for the driver to have printed it, had it not waited.
    guest.WaitFor([&](const vt::Screen&) { return guest.Reports("printjob").size() > 1; }, 5s);
    EXPECT_EQ(Printable(guest.PrinterBytes()), "") << "the print job went out while the panel held the port";
    EXPECT_EQ(guest.Reports("printjob"), (std::vector<std::string>{"start"}));

    guest.Send(kEscape);
    ASSERT_TRUE(guest.WaitForRun(1, 60s)) << guest.Diagnosis();
    const RunReport run = guest.Run(1);
    EXPECT_THAT(run.err, Contains(HasSubstr("direct I/O, with the kernel's claim held")));
    EXPECT_TRUE(guest.WaitForPrinter(4, 30s)) << "the print job never went out after the panel ended";
    EXPECT_EQ(Printable(guest.PrinterBytes()), Printable("JOB\n"));
    EXPECT_TRUE(guest.WaitForPowerOff(60s));
    if (HasFailure())
        std::cout << guest.Diagnosis();
}

// Starts of the program without a terminal, each one run of the same boot (root, the port at
// 0x378, no loopback plug on it): what it writes to standard output and standard error, and its
// exit status. A new command is one line here.
struct Command {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::vector<const char*> stdoutSays;  // texts lines of standard output hold
    std::vector<const char*> stderrSays;  // the same for standard error
};

const Command kCommands[] = {
    {"NoTerminal", {}, 1, {}, {"standard input and output must be a terminal"}},
    // The report finds the emulated port, reached directly, and the other legacy bases silent.
    {"Ports", {"--ports"}, 0,
     {"0x0378  yes      legacy base, /dev/parport0  direct I/O", "0x0278  no",
      "the panel would use 0x0378 (direct I/O), the default"},
     {}},
    // No plug: the data register reads back what is written, but no input follows an output.
    {"LoopbackWithoutPlug", {"--loopback", "0x0378"}, 1,
     {"PASS  D7..D0 (pins 9..2)", "FAIL  Strobe (pin 1) -> Select (pin 13)", "Registers left as found"},
     {}},
    {"LoopbackOfAnAbsentPort", {"--loopback=0xD010"}, 2, {}, {"cannot reach a port at 0xD010"}},
    // Standard error closed: the start-up lines must not land on a port device opened in its
    // place (the printer below stays empty).
    {"StandardErrorClosed", {"2>&-", "--ports"}, 0, {"0x0378  yes"}, {}},
};

TEST(QemuCommands, EachStartReportsItsOutputAndExitStatus)
{
    const GuestImage& image = GuestImage::Get();
    ASSERT_TRUE(image.error.empty()) << image.error;
    GuestSetup setup;
    setup.runs.clear();
    for (const Command& c : kCommands)
        setup.runs.push_back(GuestRun::Command(c.args));
    Guest guest(image, setup);
    for (std::size_t i = 0; i < std::size(kCommands); ++i) {
        const Command& c = kCommands[i];
        SCOPED_TRACE(c.name);
        const int number = static_cast<int>(i) + 1;
        ASSERT_TRUE(guest.WaitForRun(number, 150s)) << guest.Diagnosis();
        const RunReport run = guest.Run(number);
        EXPECT_EQ(run.exitCode, c.exitCode);
        for (const char* text : c.stdoutSays)
            EXPECT_THAT(run.out, Contains(HasSubstr(text)));
        for (const char* text : c.stderrSays)
            EXPECT_THAT(run.err, Contains(HasSubstr(text)));
    }
    EXPECT_EQ(Printable(guest.PrinterBytes()), "") << "the program's messages went to the printer";
    EXPECT_TRUE(guest.WaitForPowerOff(60s));
    EXPECT_THAT(guest.Reports("error"), IsEmpty());
    if (HasFailure())
        std::cout << guest.Diagnosis();
}

}  // namespace
