// What each command line does, in-process, with the bus choice replaced by a recorded simulated
// port: help, version and mistakes touch no port and choose no bus; the port actions do.
#include "cli/run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "io/candidate_ports.h"
#include "io/recording_bus.h"
#include "io/simulated_port.h"
#include "port/portio.h"
#include "res/version.h"
#include "cli/startup.h"
#include "support/temp_dir.h"
#include "support/file_contents.h"

namespace {

using testsupport::Contents;

int Lines(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n' ? 1 : 0;
    return lines;
}

class Run : public testing::Test {
protected:
    void TearDown() override
    {
        port::InstallBus(nullptr);
        std::fclose(m_out);
        std::fclose(m_err);
    }

    // With no real bases, the machine has no port and the simulated one at 0x378 serves; else
    // simulated ports stand for real ones at those bases, reached by direct I/O. Every access is
    // recorded, also before the bus is chosen (it is installed from the start, so that an early
    // access could not go unseen).
    int Start(std::vector<const char*> args, std::vector<std::uint16_t> realBases = {})
    {
        m_sim = io::SimulatedPort(realBases.empty() ? std::vector<std::uint16_t>{0x378} : realBases);
        std::fclose(m_out);
        std::fclose(m_err);
        m_out = m_outFull ? std::fopen("/dev/full", "w") : std::tmpfile();
        m_err = std::tmpfile();
        port::InstallBus(&m_rec);
        args.insert(args.begin(), "vellix");
        const auto choose = [&] {
            ++m_busChosen;
            io::BusChoice choice;
            for (std::uint16_t base : io::CandidateBases(realBases)) {
                const bool real = std::count(realBases.begin(), realBases.end(), base) != 0;
                io::SurveyedPort port;
                port.base = base;
                port.label = io::PortLabel(base);
                port.legacy = io::IsLegacyBase(base);
                port.way = real ? io::Way::Direct : io::Way::None;
                port.modes = real ? m_modes : "";
                if (!real) {
                    port.reason = "ioperm: Operation not permitted";
                    port.fix = "run as root or grant cap_sys_rawio";
                }
                choice.survey.ports.push_back(port);
            }
            choice.bus = std::make_unique<io::RecordingBus>(m_rec);
            return choice;
        };
        const cli::Program program{"vellix", [&] { return cli::InstallChosenBus(choose()); },
                                   [&] {
                                       ++m_panelRuns;
                                       return 0;
                                   },
                                   [&](const io::ChooseOptions&) { return choose(); }};
        const int status = cli::Run(program, static_cast<int>(args.size()), args.data(), m_out, m_err);
        out = Contents(m_out);
        err = Contents(m_err);
        return status;
    }

    testsupport::TempWorkDir dir;
    io::SimulatedPort m_sim;
    io::RecordingBus m_rec{m_sim};
    std::FILE* m_out = std::tmpfile();
    std::FILE* m_err = std::tmpfile();
    std::string m_modes;      // the kernel's modes of each real port
    bool m_outFull = false;  // standard output is /dev/full: every write fails with ENOSPC
    int m_busChosen = 0;
    int m_panelRuns = 0;
    std::string out;
    std::string err;
};

TEST_F(Run, AWrongCommandLineSaysWhatInOneLineAndTouchesNothing)
{
    const std::vector<std::vector<const char*>> cases = {
        {"--bogus"}, {"-x"}, {"stray"}, {"--loopback", "0x37G"}, {"--loopback=378"}, {"--help=1"},
        {"--ports", "--loopback"}, {"--loopback", "0x0378", "extra"}, {"--help", "--bogus"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(Start(args), 2) << args[0];
        EXPECT_EQ(out, "") << args[0];
        EXPECT_EQ(Lines(err), 1) << err;
        EXPECT_EQ(err.rfind("vellix: ", 0), 0u) << err;
        EXPECT_NE(err.find("see 'vellix --help'"), std::string::npos) << err;
        EXPECT_EQ(m_busChosen, 0) << args[0];
        EXPECT_EQ(m_panelRuns, 0) << args[0];
        EXPECT_TRUE(m_rec.Log().empty()) << args[0];
    }
    Start({"--bogus"});
    EXPECT_EQ(err, "vellix: unknown option '--bogus'; see 'vellix --help'\n");
}

TEST_F(Run, HelpAndVersionGoToStandardOutputAndTouchNothing)
{
    for (const char* option : {"--help", "-h"}) {
        EXPECT_EQ(Start({option}), 0);
        EXPECT_EQ(out.rfind("Usage: vellix [OPTION]\n", 0), 0u) << out;
        for (const char* named : {"--version", "--ports", "--loopback [PORT]", "0x0378", "writes to every candidate"})
            EXPECT_NE(out.find(named), std::string::npos) << named;
        EXPECT_EQ(err, "");
        std::size_t start = 0;
        for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
            EXPECT_LE(end - start, 79u) << "fits a terminal: " << out.substr(start, end - start);
    }
    for (const char* option : {"--version", "-V"}) {
        EXPECT_EQ(Start({option}), 0);
        EXPECT_EQ(out, std::string("vellix ") + res::kVersion + "\n");
        EXPECT_EQ(err, "");
    }
    EXPECT_EQ(m_busChosen, 0);
    EXPECT_EQ(m_panelRuns, 0);
    EXPECT_TRUE(m_rec.Log().empty());
}

TEST_F(Run, AnAnswerThatCannotBeWrittenIsAFailureSaidOnStandardError)
{
    m_outFull = true;
    for (const char* option : {"--help", "--version", "--ports", "--loopback"}) {
        EXPECT_EQ(Start({option}, {0x378}), 1) << option;
        EXPECT_EQ(err.substr(err.find("vellix: write error")), "vellix: write error: No space left on device\n")
            << option << ": " << err;
    }
    // A wrong command line keeps its own status.
    EXPECT_EQ(Start({"--bogus"}), 2);
}

TEST_F(Run, NoArgumentRunsThePanelOnTheChosenBus)
{
    EXPECT_EQ(Start({}), 0);
    EXPECT_EQ(m_busChosen, 1);
    EXPECT_EQ(m_panelRuns, 1);
    EXPECT_EQ(out, "");
}

// The simulated port is no verdict on a real port and cable: with no real port reached the
// self-test refuses, named or not, and runs on the simulated port only when asked for by name.
TEST_F(Run, LoopbackRunsOnTheSimulatedPortOnlyWhenItIsNamed)
{
    for (std::vector<const char*> args : {std::vector<const char*>{"--loopback"}, {"--loopback", "0x0378"}}) {
        m_rec.Clear();
        EXPECT_EQ(Start(args), 2) << args.size();
        EXPECT_EQ(out, "");
        EXPECT_EQ(err, "vellix: no real port is reached, so there is none to self-test (the lines above say why and "
                       "what to do); 'vellix --loopback simulated' tests the built-in simulated port\n");
        EXPECT_TRUE(m_rec.Log().empty());
    }

    EXPECT_EQ(Start({"--loopback", "simulated"}), 0);
    EXPECT_EQ(m_busChosen, 3);
    EXPECT_EQ(m_panelRuns, 0);
    EXPECT_EQ(out.rfind("Loopback self-test of the built-in simulated port at 0x0378: it says nothing of real "
                        "hardware.\n", 0),
              0u)
        << out;
    EXPECT_EQ(Lines(out), 1 + 23 + 2) << out;
    EXPECT_EQ(out.find("FAIL"), std::string::npos) << out;
    EXPECT_NE(out.find("All 22 checks passed.\n"), std::string::npos) << out;
    EXPECT_TRUE(m_rec.Log().empty()) << "the installed bus is not the simulated port that was tested";
}

TEST_F(Run, LoopbackWithoutAPortTestsTheSavedOneIfItAnswers)
{
    testsupport::WriteFile(dir.File("config.ovm"), "0x0278");
    EXPECT_EQ(Start({"--loopback"}, {0x278, 0x378}), 0);
    EXPECT_NE(out.find("self-test of 0x0278"), std::string::npos) << out;
    EXPECT_NE(out.find("saved in config.ovm"), std::string::npos) << out;
    for (const io::Access& access : m_rec.Log())
        EXPECT_TRUE(access.port >= 0x278 && access.port <= 0x27A) << access;

    // Saved but silent: the panel falls back to 0x378, and so does the test.
    EXPECT_EQ(Start({"--loopback"}, {0x378}), 0);
    EXPECT_NE(out.find("self-test of 0x0378"), std::string::npos) << out;
    EXPECT_NE(out.find("names 0x0278, which did not answer"), std::string::npos) << out;

    // Saved but silent, and no port at 0x378 either: the lowest port that answered, as the panel.
    EXPECT_EQ(Start({"--loopback"}, {0x300, 0x3BC}), 0);
    EXPECT_EQ(out.rfind("Loopback self-test of 0x0300 through direct I/O, the port the panel would use (the "
                        "lowest port that answered, as 0x0378 did not: config.ovm names 0x0278, which did not "
                        "answer the test).\n", 0),
              0u)
        << out;
}

TEST_F(Run, AConfigFileThatCannotBeReadIsSaidSoNotTakenForMissing)
{
    std::filesystem::create_directory(dir.File("config.ovm"));
    for (const char* option : {"--ports", "--loopback"}) {
        Start({option}, {0x378});
        EXPECT_NE(out.find("config.ovm cannot be read (Is a directory)"), std::string::npos) << out;
    }
}

// The direction check says what the port's modes say of TriState, beside what it saw.
TEST_F(Run, LoopbackTriStateLineSaysWhatThePortsModesSay)
{
    m_modes = "PCSPP,COMPAT";
    EXPECT_EQ(Start({"--loopback", "0x0378"}, {0x378}), 0);
    const std::size_t info = out.find("INFO  TriState");
    ASSERT_NE(info, std::string::npos) << out;
    const std::string line = out.substr(info, out.find('\n', info) - info);
    EXPECT_NE(line.find("; on 0x0378 the data lines stay outputs (the kernel lists no TRISTATE): choose PS/2, "
                        "bidirectional or EPP/ECP for the port in the firmware setup"),
              std::string::npos)
        << line;
}

TEST_F(Run, LoopbackOfAGivenPort)
{
    EXPECT_EQ(Start({"--loopback=0x0278"}, {0x278}), 0);
    EXPECT_EQ(out.rfind("Loopback self-test of 0x0278 through direct I/O.\n", 0), 0u) << out;
    EXPECT_EQ(Start({"--loopback", "0x278"}, {0x278}), 0);
}

TEST_F(Run, LoopbackOfAPortTheBusDoesNotReachTouchesNoPort)
{
    // With direct I/O an access outside the granted ports would kill the process.
    const struct {
        std::vector<const char*> args;
        std::vector<std::uint16_t> realBases;
        const char* error;
    } cases[] = {
        {{"--loopback", "0xD010"}, {0x378}, "vellix: cannot reach a port at 0xD010: only 0x0378 can be reached\n"},
        {{"--loopback", "0x0300"}, {0x278, 0x378}, "vellix: cannot self-test 0x0300: not reached (ioperm: Operation not "
                                                   "permitted); fix: run as root or grant cap_sys_rawio\n"},
    };
    for (const auto& c : cases) {
        m_rec.Clear();
        EXPECT_EQ(Start(c.args, c.realBases), 2);
        EXPECT_EQ(err, c.error);
        EXPECT_EQ(out, "");
        EXPECT_TRUE(m_rec.Log().empty());
    }
}

TEST_F(Run, PortsListsTheCandidatesAndFailsWithoutARealPort)
{
    EXPECT_EQ(Start({"--ports"}), 1) << "the simulated port is no real port";
    EXPECT_EQ(m_busChosen, 1);
    EXPECT_EQ(m_panelRuns, 0);
    for (const char* label : {"0x0278", "0x0300", "0x0378", "0x03BC"})
        EXPECT_NE(out.find(label), std::string::npos) << label;
    EXPECT_NE(out.find("the panel would use the simulated port at 0x0378"), std::string::npos) << out;

    EXPECT_EQ(Start({"--ports"}, {0x378}), 0) << "a real port answered";
    EXPECT_NE(out.find("the panel would use 0x0378 (direct I/O), the default"), std::string::npos) << out;
}

}  // namespace
