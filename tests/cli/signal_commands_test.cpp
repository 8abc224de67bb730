// The signal commands in-process, on a faked machine whose real ports are simulated ones with
// every access logged: which port each works on, what it reads and writes (never anything for
// --read, --record, --watch), what it says, and how it fails.
#include "cli/run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <linux/ppdev.h>
#include <string>
#include <vector>

#include "fake_system_calls.h"
#include "io/candidate_ports.h"
#include "io/recording_bus.h"
#include "io/register_map.h"
#include "io/simulated_port.h"
#include "io/waveform_inputs.h"
#include "support/temp_dir.h"
#include "support/file_contents.h"

namespace {

using namespace std::chrono_literals;
using io::Access;
using Kind = io::Access::Kind;

using testsupport::Contents;

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class SignalCommands : public testing::Test {
protected:
    ~SignalCommands() override
    {
        std::fclose(m_out);
        std::fclose(m_err);
    }

    // The machine's real ports: simulated ones at these bases, reached by direct I/O; the other
    // legacy bases are refused by ioperm.
    void Machine(std::vector<std::uint16_t> realBases)
    {
        m_sim = io::SimulatedPort(realBases.empty() ? std::vector<std::uint16_t>{0x378} : realBases);
        m_realBases = std::move(realBases);
    }

    int Start(std::vector<const char*> args)
    {
        const std::vector<std::uint16_t> realBases = m_realBases;
        m_log.Clear();
        std::fclose(m_out);
        std::fclose(m_err);
        m_out = std::tmpfile();
        m_err = std::tmpfile();
        args.insert(args.begin(), "vellix-term");
        const cli::Program program{"vellix-term",
                                   [&]() -> io::BusChoice {
                                       ADD_FAILURE() << "the panel's bus was chosen";
                                       return {};
                                   },
                                   [&] {
                                       ADD_FAILURE() << "the panel ran";
                                       return 1;
                                   },
                                   [&, realBases](const io::ChooseOptions& options) {
                                       m_chosen.push_back(options.use);
                                       if (options.whilePrivileged)
                                           options.whilePrivileged(m_sys);
                                       io::BusChoice choice;
                                       for (std::uint16_t base : io::CandidateBases(realBases)) {
                                           // Granted by ioperm although nothing is there: it reads 0xFF.
                                           const bool empty = std::count(m_emptyBases.begin(), m_emptyBases.end(), base) != 0;
                                           const bool real = empty || std::count(realBases.begin(), realBases.end(), base) != 0;
                                           io::SurveyedPort port;
                                           port.base = base;
                                           port.label = io::PortLabel(base);
                                           port.legacy = io::IsLegacyBase(base);
                                           port.way = real ? io::Way::Direct : io::Way::None;
                                           if (!real) {
                                               port.reason = "ioperm: Operation not permitted";
                                               port.fix = "run as root or grant cap_sys_rawio";
                                           }
                                           choice.survey.ports.push_back(port);
                                       }
                                       // Through the log, not a copy of it: a RecordingBus given a RecordingBus would copy it.
                                       choice.bus = std::make_unique<io::RecordingBus>(static_cast<io::Bus&>(m_log));
                                       return choice;
                                   }};
        const int status = cli::Run(program, static_cast<int>(args.size()), args.data(), m_out, m_err);
        out = Contents(m_out);
        err = Contents(m_err);
        return status;
    }

    std::vector<Access> Writes() const
    {
        std::vector<Access> writes;
        for (const Access& access : m_log.Log())
            if (access.kind == Kind::Write)
                writes.push_back(access);
        return writes;
    }

    testsupport::TempWorkDir dir;
    io::SimulatedPort m_sim{{0x378}};
    std::vector<std::uint16_t> m_realBases{0x378};
    std::vector<std::uint16_t> m_emptyBases;  // reached by direct I/O, but no port is there
    io::RecordingBus m_log{m_sim};
    iotest::FakeSystemCalls m_sys;
    std::vector<io::Use> m_chosen;
    std::FILE* m_out = std::tmpfile();
    std::FILE* m_err = std::tmpfile();
    std::string out, err;
};

TEST_F(SignalCommands, ReadSaysTheThreeRegistersAndWritesNothing)
{
    m_sim.Out(0x378, 0x41);
    m_log.Clear();
    EXPECT_EQ(Start({"--read", "--port", "0x0378"}), 0);
    // D0 high: the loopback plug raises nError (pin 15).
    EXPECT_EQ(out, "data=0x41 status=0xFF control=0xCC\n");
    EXPECT_EQ(m_chosen, std::vector<io::Use>{io::Use::Signals});
    EXPECT_EQ(m_log.Log(), (std::vector<Access>{{Kind::Read, 0x378, 0x41}, {Kind::Read, 0x379, 0xFF},
                                                 {Kind::Read, 0x37A, 0xCC}}));
    EXPECT_EQ(err, "");
}

TEST_F(SignalCommands, WithoutPortTheSavedOneIfReachedElseTheLowestReached)
{
    struct Case {
        const char* saved;  // config.ovm, nullptr for none
        std::uint16_t used;
    };
    for (const Case& c : {Case{nullptr, 0x278}, Case{"0x0378", 0x378}, Case{"0x0378\n", 0x378}, Case{"0x0300", 0x278},
                          Case{"0x03BC", 0x278}}) {
        std::filesystem::remove(dir.File("config.ovm"));
        if (c.saved != nullptr)
            testsupport::WriteFile(dir.File("config.ovm"), c.saved);
        Machine({0x278, 0x378});
        EXPECT_EQ(Start({"--read"}), 0) << err;
        ASSERT_FALSE(m_log.Log().empty());
        EXPECT_EQ(m_log.Log().front().port, c.used) << (c.saved ? c.saved : "nothing saved");
        EXPECT_TRUE(Writes().empty()) << "no write probe";
    }
}

// Root is granted every legacy base, whether a port is there or not: one with nothing behind it
// reads 0xFF in every register and is passed over, by reading alone.
TEST_F(SignalCommands, WithoutPortABaseThatReadsAsNothingIsPassedOver)
{
    m_emptyBases = {0x278, 0x3BC};
    testsupport::WriteFile(dir.File("config.ovm"), "0x03BC");
    EXPECT_EQ(Start({"--record", "r.vcd", "--for", "1ms"}), 0) << err;
    EXPECT_TRUE(Has(err, "recording 0x0378 through direct I/O, the lowest port that answers (config.ovm names 0x03BC, "
                         "which reads 0xFF in every register), to r.vcd"))
        << err;
    EXPECT_TRUE(Writes().empty());

    Machine({});
    EXPECT_EQ(Start({"--read"}), 2);
    EXPECT_EQ(err, "vellix-term: no port answers: the ports reached (0x0278, 0x03BC) read 0xFF in every register, as "
                   "an address with nothing behind it does; --port names one all the same\n");
    EXPECT_EQ(Start({"--read", "--port", "0x0278"}), 0);
    EXPECT_EQ(out, "data=0xFF status=0xFF control=0xFF\n");
}

TEST_F(SignalCommands, APortThatIsNotReachedIsRefusedWithTheSurveysReasonAndFix)
{
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        {{"--read", "--port", "0x0278"},
         "vellix-term: cannot read 0x0278: not reached (ioperm: Operation not permitted); fix: run as root or grant "
         "cap_sys_rawio\n"},
        {{"--write", "data=1", "--port", "0xD010"},
         "vellix-term: cannot reach a port at 0xD010: only 0x0378 can be reached\n"},
        {{"--record", "r.vcd", "--port", "0x03BC"},
         "vellix-term: cannot record 0x03BC: not reached (ioperm: Operation not permitted); fix: run as root or grant "
         "cap_sys_rawio\n"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(Start(args), 2) << args[0];
        EXPECT_EQ(err, message);
        EXPECT_EQ(out, "");
        EXPECT_TRUE(m_log.Log().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("r.vcd")));
}

TEST_F(SignalCommands, NoRealPortMeansNoneToWorkOnUnlessTheSimulatedOneIsNamed)
{
    Machine({});
    EXPECT_EQ(Start({"--watch"}), 2);
    EXPECT_EQ(err, "vellix-term: no real port is reached, so there is none to watch (the lines above say why and what "
                   "to do); --port simulated watches the built-in simulated port\n");
    EXPECT_TRUE(m_log.Log().empty());

    m_chosen.clear();
    EXPECT_EQ(Start({"--read", "--port", "simulated"}), 0);
    EXPECT_EQ(out, "data=0x00 status=0xF7 control=0xCC\n");
    EXPECT_TRUE(m_chosen.empty()) << "the simulated port needs no survey";
    EXPECT_TRUE(m_log.Log().empty()) << "the real ports are left alone";
}

TEST_F(SignalCommands, WritesGoOutInTheOrderGiven)
{
    EXPECT_EQ(Start({"--write", "control=0x04", "--write", "data=0x41", "--write", "data=0"}), 0);
    EXPECT_EQ(Writes(), (std::vector<Access>{{Kind::Write, 0x37A, 0x04}, {Kind::Write, 0x378, 0x41},
                                             {Kind::Write, 0x378, 0x00}}));
    EXPECT_EQ(out, "");
}

TEST_F(SignalCommands, APulseWritesWaitsAndWritesBackWhatWasThere)
{
    m_sim.Out(0x37A, 0x0C);
    m_log.Clear();
    m_sys.files["/proc/sys/kernel/sched_rt_runtime_us"] = "950000\n";
    m_sys.files["/proc/sys/kernel/sched_rt_period_us"] = "1000000\n";
    EXPECT_EQ(Start({"--pulse", "control=0x0D", "--width", "1ms", "--port", "0x0378"}), 0);
    EXPECT_EQ(m_log.Log(), (std::vector<Access>{{Kind::Read, 0x37A, 0xCC}, {Kind::Write, 0x37A, 0x0D},
                                                 {Kind::Write, 0x37A, 0xCC}}));
    EXPECT_EQ(out.rfind("control 0xCC -> 0x0D -> 0xCC: ", 0), 0u) << out;
    EXPECT_TRUE(Has(out, " us (between ")) << out;
    EXPECT_EQ(m_sys.FirstCall("realtime"), 0u) << "a pulse is short: real-time scheduling is asked for";
}

TEST_F(SignalCommands, ARecordingIsAValueChangeDumpWrittenWithoutAWordToThePort)
{
    m_sys.files["/proc/sys/kernel/sched_rt_runtime_us"] = "950000\n";
    m_sys.files["/proc/sys/kernel/sched_rt_period_us"] = "1000000\n";
    EXPECT_EQ(Start({"--record", "r.vcd", "--for", "20ms"}), 0) << err;
    const std::string vcd = testsupport::ReadFile(dir.File("r.vcd"));
    EXPECT_TRUE(Has(vcd, "$var wire 1 J nAck_pin10 $end")) << vcd;
    EXPECT_TRUE(Has(vcd, "$comment\n\tport 0x0378 through direct I/O, the lowest port that answers, sampled as fast as the "
                         "way to it allows\n$end"))
        << vcd;
    // The last timestamp is the first sample at or after the duration.
    const std::size_t last = vcd.rfind('#');
    ASSERT_NE(last, std::string::npos);
    EXPECT_GE(std::stol(vcd.substr(last + 1)), 20000) << vcd.substr(last);
    EXPECT_TRUE(Writes().empty());
    EXPECT_FALSE(m_log.Log().empty());
    EXPECT_TRUE(Has(err, "vellix-term: recording 0x0378 through direct I/O, the lowest port that answers, to r.vcd (VCD), as "
                         "fast as the way to it allows, for 20.00 ms\n"))
        << err;
    // Short enough to finish before the kernel would stop a real-time loop.
    EXPECT_TRUE(Has(err, "vellix-term: real-time scheduling granted; memory locked\n")) << err;
    EXPECT_TRUE(Has(err, " samples, 0 changes, ")) << err;
}

TEST_F(SignalCommands, ALongRecordingWithoutRateRunsWithoutRealTimeAndSaysWhy)
{
    m_sys.files["/proc/sys/kernel/sched_rt_runtime_us"] = "950000\n";
    m_sys.files["/proc/sys/kernel/sched_rt_period_us"] = "1000000\n";
    m_sys.lockError = EPERM;
    // --for 10s would run as long; the duration is told to the sampler, which is stopped by the
    // file being unwritable at once: the start lines are all this test looks at.
    EXPECT_EQ(Start({"--record", "/dev/full", "--for", "10s"}), 1);
    EXPECT_TRUE(Has(err, "vellix-term: real-time scheduling not asked for: a sampler that never pauses would be "
                         "stopped by the kernel for 50 ms of every 1000 ms (with --rate 1000 or slower it pauses); "
                         "memory not locked (Operation not permitted)\n"))
        << err;
    EXPECT_EQ(m_sys.FirstCall("realtime"), m_sys.calls.size());
    EXPECT_TRUE(Has(err, "vellix-term: cannot write /dev/full: No space left on device\n")) << err;

    m_sys.calls.clear();
    m_sys.realtimeError = EPERM;
    EXPECT_EQ(Start({"--record", "r.csv", "--rate", "1000", "--for", "5ms"}), 0);
    EXPECT_TRUE(Has(err, "vellix-term: real-time scheduling refused (Operation not permitted): other programs may "
                         "take the processor and leave gaps; memory not locked"))
        << err;
}

TEST_F(SignalCommands, ARecordingGoesToStandardOutputAsCsvOrVcd)
{
    EXPECT_EQ(Start({"--record", "-", "--for", "2ms", "--port", "simulated"}), 0);
    EXPECT_EQ(out.rfind("$date\n", 0), 0u);
    EXPECT_TRUE(Has(err, "to standard output (VCD)")) << err;
    EXPECT_EQ(Start({"--record", "r.csv", "--for", "2ms", "--port", "simulated"}), 0);
    EXPECT_EQ(testsupport::ReadFile(dir.File("r.csv")).rfind("time_us,data,status,control,unseen_us,lent,", 0), 0u);
}

TEST_F(SignalCommands, AFileThatCannotBeWrittenIsSaidAndNothingIsRecorded)
{
    std::filesystem::create_directory(dir.File("d"));
    EXPECT_EQ(Start({"--record", "d", "--port", "simulated"}), 1);
    EXPECT_EQ(err, "vellix-term: cannot write d: Is a directory\n");
}

}  // namespace
