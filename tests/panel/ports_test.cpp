// Detection of the ports, the remembered choice and the user's pick of another port.
#include <gtest/gtest.h>

#include "afx/pin_help.h"
#include "port/candidate_table.h"
#include "port/direction_notes.h"
#include "support/panel_session.h"

using namespace testsupport;
using io::Access;
using Kind = io::Access::Kind;

namespace {

// The probe of one candidate: its control register kept, then the detection test. A simulated
// port's control latch reads 0xCC at start; where no port is, the bus reads 0xFF.
void ExpectProbe(std::vector<Access>& expected, std::uint16_t base, bool answers)
{
    const auto control = static_cast<std::uint16_t>(base + 2);
    expected.push_back({Kind::Read, control, static_cast<std::uint8_t>(answers ? 0xCC : 0xFF)});
    expected.push_back({Kind::Write, base, 0xAA});
    expected.push_back({Kind::Write, control, 0x00});
    expected.push_back({Kind::Read, base, static_cast<std::uint8_t>(answers ? 0xAA : 0xFF)});
}

struct DetectCase {
    const char* name;
    std::vector<std::uint16_t> answering;
    std::string saved;
    std::vector<std::string> list;
    int sel;
    int baseAddr;
    const char* strBaseAddr;
};

void PrintTo(const DetectCase& c, std::ostream* os) { *os << c.name; }

const DetectCase kDetect[] = {
    {"NoneAnswers", {}, "0x0378", {}, CB_ERR, 0x378, ""},
    {"AllFourWithSaved03BC", {0x278, 0x300, 0x378, 0x3BC}, "0x03BC", {"0x0278", "0x0300", "0x0378", "0x03BC"}, 3, 0x3BC, "0x03BC"},
    {"TwoWithSaved0378", {0x278, 0x378}, "0x0378", {"0x0278", "0x0378"}, 1, 0x378, "0x0378"},
    // Nothing saved and no port at 0x378: the lowest port that answered, selected.
    {"OneWithNothingSaved", {0x278}, "", {"0x0278"}, 0, 0x278, "0x0278"},
    {"SavedSilentAndNo0378", {0x300, 0x3BC}, "0x0278", {"0x0300", "0x03BC"}, 0, 0x300, "0x0300"},
    {"SavedPortDoesNotAnswer", {0x278, 0x378}, "0x0300", {"0x0278", "0x0378"}, CB_ERR, 0x378, ""},
};

class Detection : public testing::TestWithParam<DetectCase> {};

TEST_P(Detection, ListsAnsweringPortsAndSelectsTheSavedOne)
{
    const DetectCase& c = GetParam();
    PanelSession s(c.answering, c.saved);
    // A machine whose kernel reports no port beyond the legacy ones: exactly the four candidates.
    port::InstallCandidates({0x378});
    std::vector<Access> probe;
    s.ui.Then([&] {
        EXPECT_EQ(s.Item(IDC_BASE_ADDR)->items, c.list);
        EXPECT_EQ(s.Item(IDC_BASE_ADDR)->sel, c.sel);
        EXPECT_EQ(s.dlg.m_nPortCount, static_cast<int>(c.list.size()));
        EXPECT_EQ(s.dlg.m_nBaseAddr, c.baseAddr);
        EXPECT_EQ(s.dlg.m_strBaseAddr, c.strBaseAddr);
        const auto& log = s.rec.Log();
        ASSERT_EQ(log.size(), 21u);
        probe.assign(log.begin(), log.begin() + 19);
        EXPECT_EQ(log[19], (Access{Kind::Read, static_cast<std::uint16_t>(c.baseAddr), log[19].value}));
        EXPECT_EQ(log[20], (Access{Kind::Write, static_cast<std::uint16_t>(c.baseAddr + 2), 0x24}));
    });
    s.Run();
    std::vector<Access> expected;
    auto answers = [&](std::uint16_t base) {
        return std::find(c.answering.begin(), c.answering.end(), base) != c.answering.end();
    };
    for (std::uint16_t base : {0x278, 0x300, 0x378, 0x3BC})
        ExpectProbe(expected, base, answers(base));
    // Every port but the one in use gets back the control lines it had before the probe.
    for (std::uint16_t base : {0x278, 0x300, 0x378, 0x3BC})
        if (base != c.baseAddr)
            expected.push_back({Kind::Write, static_cast<std::uint16_t>(base + 2),
                                static_cast<std::uint8_t>(answers(base) ? 0xCC : 0xFF)});
    EXPECT_EQ(probe, expected);
}

INSTANTIATE_TEST_SUITE_P(Panel, Detection, testing::ValuesIn(kDetect),
                         [](const testing::TestParamInfo<DetectCase>& i) { return std::string(i.param.name); });

// What the first line of config.ovm selects, with all four ports answering.
struct ConfigCase {
    const char* name;
    std::optional<std::string> file;  // no value: no file at all
    int sel;
};

void PrintTo(const ConfigCase& c, std::ostream* os) { *os << c.name; }

const ConfigCase kConfig[] = {
    {"NoFile", std::nullopt, CB_ERR},
    {"Empty", std::string(""), CB_ERR},
    {"Label0278", std::string("0x0278"), 0},
    {"Label0300", std::string("0x0300"), 1},
    {"Label0378", std::string("0x0378"), 2},
    {"Label03BC", std::string("0x03BC"), 3},
    {"LabelWithLineFeed", std::string("0x0300\n"), 1},
    {"LabelWithCarriageReturnLineFeed", std::string("0x0300\r\n"), 1},
    {"LabelWithFurtherLines", std::string("0x03BC\nsomething else\n0x0278\n"), 3},
    {"TrailingBlank", std::string("0x0378 "), CB_ERR},
    {"LeadingBlank", std::string(" 0x0378"), CB_ERR},
    {"LowerCase", std::string("0x03bc"), CB_ERR},
    {"ThreeDigits", std::string("0x378"), CB_ERR},
    {"Decimal", std::string("888"), CB_ERR},
    {"LongerThanNine", std::string("0x0378000000"), CB_ERR},
    {"LoneCarriageReturn", std::string("0x0378\r"), CB_ERR},
    {"BinaryGarbage", std::string("\xff\xfe\x01\x80garbage\n", 13), CB_ERR},
    {"LabelThenNul", std::string("0x0278\0junk", 11), 0},
};

class ConfigFile : public testing::TestWithParam<ConfigCase> {};

TEST_P(ConfigFile, FirstLineSelectsTheMatchingLabel)
{
    const ConfigCase& c = GetParam();
    PanelSession s({0x278, 0x300, 0x378, 0x3BC}, c.file);
    s.ui.Then([&] {
        EXPECT_EQ(s.Item(IDC_BASE_ADDR)->sel, c.sel);
        const int kBases[] = {0x278, 0x300, 0x378, 0x3BC};
        EXPECT_EQ(s.dlg.m_nBaseAddr, c.sel == CB_ERR ? 0x378 : kBases[c.sel]);
    });
    s.Run();
}

INSTANTIATE_TEST_SUITE_P(Panel, ConfigFile, testing::ValuesIn(kConfig),
                         [](const testing::TestParamInfo<ConfigCase>& i) { return std::string(i.param.name); });

// Machines whose kernel reports ports beyond the legacy bases: each is a candidate, tested in
// ascending order after them, listed and selectable like them.
struct MachineCase {
    const char* name;
    std::vector<std::uint16_t> kernel;     // the bases the kernel reports
    std::vector<std::uint16_t> answering;  // where a port answers
    std::string saved;
    std::vector<std::uint16_t> probed;
    std::vector<std::string> list;
    int sel;
    int baseAddr;
};

void PrintTo(const MachineCase& c, std::ostream* os) { *os << c.name; }

const MachineCase kMachines[] = {
    {"SavedCardSelected", {0xD010}, {0xD010}, "0xD010", {0x278, 0x300, 0x378, 0x3BC, 0xD010}, {"0xD010"}, 0, 0xD010},
    {"CardBesideOnBoardPort", {0x378, 0xD010}, {0x378, 0xD010}, "0xD010", {0x278, 0x300, 0x378, 0x3BC, 0xD010}, {"0x0378", "0xD010"}, 1, 0xD010},
    {"CardListedNothingSaved", {0xD010}, {0xD010}, "", {0x278, 0x300, 0x378, 0x3BC, 0xD010}, {"0xD010"}, 0, 0xD010},
    {"SeveralCards", {0xE000, 0xCC00, 0xD010}, {0x378, 0xCC00, 0xE000, 0xD010}, "0xE000",
     {0x278, 0x300, 0x378, 0x3BC, 0xCC00, 0xD010, 0xE000}, {"0x0378", "0xCC00", "0xD010", "0xE000"}, 3, 0xE000},
    {"SavedCardGone", {}, {0x378}, "0xD010", {0x278, 0x300, 0x378, 0x3BC}, {"0x0378"}, CB_ERR, 0x378},
    {"ReportedCardDoesNotAnswer", {0xD010}, {0x378}, "0xD010", {0x278, 0x300, 0x378, 0x3BC, 0xD010}, {"0x0378"}, CB_ERR, 0x378},
    {"SavedLowerCaseCard", {0xD010}, {0xD010}, "0xd010", {0x278, 0x300, 0x378, 0x3BC, 0xD010}, {"0xD010"}, 0, 0xD010},
};

class KernelPorts : public testing::TestWithParam<MachineCase> {};

TEST_P(KernelPorts, AreCandidatesAfterTheLegacyBases)
{
    const MachineCase& c = GetParam();
    PanelSession s(c.answering, c.saved);
    port::InstallCandidates(c.kernel);
    s.ui.Then([&] {
        EXPECT_EQ(s.Item(IDC_BASE_ADDR)->items, c.list);
        EXPECT_EQ(s.Item(IDC_BASE_ADDR)->sel, c.sel);
        EXPECT_EQ(s.dlg.m_nPortCount, static_cast<int>(c.list.size()));
        EXPECT_EQ(s.dlg.m_nBaseAddr, c.baseAddr);
        EXPECT_EQ(s.dlg.m_strBaseAddr, c.sel == CB_ERR ? "" : c.list[static_cast<std::size_t>(c.sel)]);
        std::vector<Access> expected;
        for (std::uint16_t base : c.probed)
            ExpectProbe(expected, base, std::find(c.answering.begin(), c.answering.end(), base) != c.answering.end());
        ASSERT_GE(s.rec.Log().size(), expected.size());
        EXPECT_EQ(std::vector<Access>(s.rec.Log().begin(), s.rec.Log().begin() + static_cast<long>(expected.size())), expected);
    });
    s.Run();
}

INSTANTIATE_TEST_SUITE_P(Panel, KernelPorts, testing::ValuesIn(kMachines),
                         [](const testing::TestParamInfo<MachineCase>& i) { return std::string(i.param.name); });

// A card in many slots: the table grows with the machine, nothing overflows.
TEST(KernelPorts, ManyPortsAreAllTested)
{
    std::vector<std::uint16_t> kernel;
    for (std::uint16_t base = 0x1000; base < 0x1000 + 40 * 0x10; base += 0x10)
        kernel.push_back(base);
    PanelSession s(kernel, "0x1270");
    port::InstallCandidates(kernel);
    s.ui.Then([&] {
        EXPECT_EQ(s.dlg.m_nPortCount, 40);
        EXPECT_EQ(s.dlg.m_strPortLabel.size(), 44u);
        EXPECT_EQ(s.Item(IDC_BASE_ADDR)->items.size(), 40u);
        EXPECT_EQ(s.Item(IDC_BASE_ADDR)->sel, 0x27);
        EXPECT_EQ(s.dlg.m_nBaseAddr, 0x1270);
    });
    s.Run();
}

// The caption names how the port in use is reached, from the start and after each pick.
TEST(Caption, FollowsThePortInUse)
{
    PanelSession s({0x378, 0xD010}, "0xD010");
    port::InstallCandidates({0x378, 0xD010});
    s.forced.ways = {{0x378, ""}, {0xD010, "/dev/parport1"}};
    s.ui.Then([&] {
        EXPECT_EQ(s.Top()->text, "Vellix - /dev/parport1");
        afx::input::Pick(s.Item(IDC_BASE_ADDR), 0);
    });
    s.ui.Then([&] {
        EXPECT_EQ(s.dlg.m_nBaseAddr, 0x378);
        EXPECT_EQ(s.Top()->text, "Vellix");
        afx::input::Pick(s.Item(IDC_BASE_ADDR), 1);
    });
    s.ui.Then([&] { EXPECT_EQ(s.Top()->text, "Vellix - /dev/parport1"); });
    s.Run();
}

// The TriState lamp's and button's help say what the bit does on the port in use, and follow a pick.
TEST(TriStateHelp, SaysWhatTheBitDoesOnThePortInUse)
{
    PanelSession s({0x378, 0xD010}, "0xD010");
    port::InstallCandidates({0x378, 0xD010});
    port::InstallDirectionNotes({{0xD010, "on 0xD010 the data lines become inputs (the kernel lists TRISTATE)"}});
    auto help = [&](int id) { return afx::PinHelp(*s.Item(id)); };
    s.ui.Then([&] {
        EXPECT_EQ(help(IDC_CTRL_TRISTATE), "TriState, no pin, the port's data-direction bit: set means the data lines "
                                           "become inputs once written (control bit 5 set); on 0xD010 the data lines "
                                           "become inputs (the kernel lists TRISTATE)");
        EXPECT_NE(help(IDC_LAMP_TRISTATE).find("; on 0xD010 the data lines become inputs"), std::string::npos);
        // A hint line too narrow for the note gets the plain wording.
        EXPECT_EQ(afx::PinHelp(*s.Item(IDC_CTRL_TRISTATE), 80), "TriState, no pin: set means the data lines become "
                                                                "inputs once written");
        afx::input::Pick(s.Item(IDC_BASE_ADDR), 0);
    });
    s.ui.Then([&] {
        EXPECT_EQ(help(IDC_CTRL_TRISTATE).find("; on "), std::string::npos) << "nothing is known of 0x0378";
    });
    s.Run();
    port::InstallDirectionNotes({});
}

TEST(Caption, NamesTheWayToTheDefaultBase)
{
    const struct {
        const char* name;
        std::map<std::uint16_t, std::string> ways;
        const char* caption;
    } cases[] = {
        {"Simulated", {}, "Vellix - simulated port"},
        {"Direct", {{0x378, ""}}, "Vellix"},
        {"Ppdev", {{0x378, "/dev/parport0"}}, "Vellix - /dev/parport0"},
        {"NotReached", {{0x378, "0x0378 not reached"}}, "Vellix - 0x0378 not reached"},
    };
    for (const auto& c : cases) {
        PanelSession s({0x378});
        s.forced.ways = c.ways;
        s.ui.Then([&] { EXPECT_EQ(s.Top()->text, c.caption) << c.name; });
        s.Run();
    }
}

TEST(BaseAddrPick, ChangesTheBaseWithoutTouchingThePortUntilTheNextTick)
{
    PanelSession s({0x278, 0x300, 0x378, 0x3BC});
    s.ui.Then([&] {
        afx::input::Click(s.Item(IDC_CTRL_STROBE));
        afx::input::Click(s.Item(IDC_SET_CTRL));  // 0x25 written to 0x37A
    });
    s.ui.Then([&] {
        s.rec.Clear();
        afx::input::Pick(s.Item(IDC_BASE_ADDR), 1);
    });
    s.ui.Then([&] {
        EXPECT_EQ(s.dlg.m_strBaseAddr, "0x0300");
        EXPECT_EQ(s.dlg.m_nBaseAddr, 0x300);
        EXPECT_TRUE(s.rec.Log().empty());
        afx::input::Pick(s.Item(IDC_BASE_ADDR), 1);  // the same entry again changes nothing
    });
    s.ui.Sleep(afx::Duration(300));
    s.ui.Then([&] {
        const std::vector<Access> tick = {{Kind::Read, 0x300, 0xAA}, {Kind::Read, 0x301, s.rec.Log()[1].value}};
        EXPECT_EQ(s.rec.Log(), tick);
        EXPECT_EQ(s.Images(kCtrlLamps), "11110");  // still the byte written to the old port
        EXPECT_EQ(s.dlg.m_nBaseAddr, 0x300);
    });
    s.Run();
}

}  // namespace
