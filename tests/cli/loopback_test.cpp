// The loopback self-test's verdicts against the simulated port, whose plug is wired right, and
// against ports with faulty wiring or registers, made by bending what the simulated port reads.
#include "cli/loopback.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "io/recording_bus.h"
#include "io/register_map.h"
#include "io/simulated_port.h"
#include "port/portio.h"

namespace {

constexpr std::uint16_t kBase = 0x378;

// The simulated port seen through a fault: reads of the data, status or control register are
// passed through a function; spp makes the data register ignore the direction bit.
class FaultyPort : public io::Bus {
public:
    explicit FaultyPort(io::Bus& inner) : m_inner(inner) {}
    std::function<std::uint8_t(std::uint8_t)> data = [](std::uint8_t b) { return b; };
    std::function<std::uint8_t(std::uint8_t)> status = [](std::uint8_t b) { return b; };
    std::function<std::uint8_t(std::uint8_t)> control = [](std::uint8_t b) { return b; };
    bool spp = false;

    std::uint8_t In(std::uint16_t port) override
    {
        const std::uint8_t raw = m_inner.In(port);
        switch (port - kBase) {
        case 0: return data(spp ? m_latch : raw);
        case 1: return status(raw);
        case 2: return control(raw);
        default: return raw;
        }
    }
    void Out(std::uint16_t port, std::uint8_t value) override
    {
        if (port == kBase)
            m_latch = value;
        m_inner.Out(port, value);
    }
    std::string Name() const override { return "faulty"; }

private:
    io::Bus& m_inner;
    std::uint8_t m_latch = 0;
};

class Loopback : public testing::Test {
protected:
    void SetUp() override { port::InstallBus(&rec); }
    void TearDown() override { port::InstallBus(nullptr); }

    io::SimulatedPort sim;
    FaultyPort faulty{sim};
    io::RecordingBus rec{faulty};
};

std::string Name(const cli::LoopbackCheck& check)
{
    return check.lines + " " + check.step;
}

std::set<std::string> Failed(const cli::LoopbackResult& result)
{
    std::set<std::string> failed;
    for (const cli::LoopbackCheck& check : result.checks)
        if (!check.passed)
            failed.insert(Name(check));
    return failed;
}

const std::string kStrobe = "Strobe (pin 1) -> Select (pin 13) ";
const std::string kD0 = "D0 (pin 2) -> Error (pin 15) ";
const std::string kInit = "Init (pin 16) -> Ack (pin 10) ";
const std::string kInput = "Input (pin 17) -> Busy (pin 11) ";
const std::string kAuto = "Auto (pin 14) -> PEnd (pin 12) ";
const std::string kData = "D7..D0 (pins 9..2) ";

TEST_F(Loopback, OnTheSimulatedPortEveryCheckPassesInTheOrderGiven)
{
    const cli::LoopbackResult result = cli::RunLoopbackTest(kBase);
    const std::vector<std::string> expected = {
        kStrobe + "high", kStrobe + "low", kD0 + "high", kD0 + "low", kInit + "high", kInit + "low",
        kInput + "high", kInput + "low", kAuto + "high", kAuto + "low",
        kData + "0x00", kData + "0xFF", kData + "0x55", kData + "0xAA",
        kData + "walking one D0", kData + "walking one D1", kData + "walking one D2", kData + "walking one D3",
        kData + "walking one D4", kData + "walking one D5", kData + "walking one D6", kData + "walking one D7",
        "TriState (control bit 5) ",
    };
    ASSERT_EQ(result.checks.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(Name(result.checks[i]), expected[i]);
        EXPECT_TRUE(result.checks[i].passed) << expected[i];
    }
    EXPECT_TRUE(result.AllPassed());
    EXPECT_TRUE(result.checks.back().bidirectional);
    EXPECT_TRUE(result.controlReadsBack);
}

TEST_F(Loopback, LineChecksSeeTheJoinedInputWithItsPolarity)
{
    const cli::LoopbackResult result = cli::RunLoopbackTest(kBase);
    // At rest every output pin is low: only Busy, which the port inverts, reads 1.
    const struct {
        std::size_t index;
        std::uint8_t status;
    } cases[] = {{0, 0x90}, {1, 0x80}, {2, 0x88}, {3, 0x80}, {4, 0xC0}, {5, 0x80},
                 {6, 0x00}, {7, 0x80}, {8, 0xA0}, {9, 0x80}};
    for (const auto& c : cases) {
        EXPECT_EQ(result.checks[c.index].expected, c.status) << Name(result.checks[c.index]);
        EXPECT_EQ(result.checks[c.index].seen, c.status) << Name(result.checks[c.index]);
    }
}

TEST_F(Loopback, FaultyWiringFailsExactlyTheChecksItTouches)
{
    using Fn = std::function<std::uint8_t(std::uint8_t)>;
    const auto swapBits = [](std::uint8_t a, std::uint8_t b) {
        return [a, b](std::uint8_t v) {
            const bool hasA = (v & a) != 0, hasB = (v & b) != 0;
            v = static_cast<std::uint8_t>(v & ~(a | b));
            return static_cast<std::uint8_t>(v | (hasA ? b : 0) | (hasB ? a : 0));
        };
    };
    const struct {
        const char* fault;
        Fn status;
        Fn data;
        std::set<std::string> failed;
    } cases[] = {
        {"Select stuck high", [](std::uint8_t v) { return std::uint8_t(v | 0x10); }, nullptr, {kStrobe + "low"}},
        {"Error stuck low", [](std::uint8_t v) { return std::uint8_t(v & ~0x08); }, nullptr, {kD0 + "high"}},
        {"Select and PEnd wires swapped", swapBits(0x10, 0x20), nullptr, {kStrobe + "high", kAuto + "high"}},
        {"Ack and Busy wires swapped", swapBits(0x40, 0x80), nullptr,
         {kInit + "high", kInit + "low", kInput + "high", kInput + "low"}},
        {"Ack inverted", [](std::uint8_t v) { return std::uint8_t(v ^ 0x40); }, nullptr, {kInit + "high", kInit + "low"}},
        {"Busy not inverted by the port", [](std::uint8_t v) { return std::uint8_t(v ^ 0x80); }, nullptr,
         {kInput + "high", kInput + "low"}},
        // No plug: the inputs float high, and only the checks that want a low input fail.
        {"no plug", [](std::uint8_t v) { return std::uint8_t((v & 0x07) | 0x78); }, nullptr,
         {kStrobe + "low", kD0 + "low", kInit + "low", kInput + "low", kAuto + "low"}},
        {"data bit 3 stuck low", nullptr, [](std::uint8_t v) { return std::uint8_t(v & ~0x08); },
         {kData + "0xFF", kData + "0xAA", kData + "walking one D3"}},
        {"data bit 0 stuck high", nullptr, [](std::uint8_t v) { return std::uint8_t(v | 0x01); },
         {kData + "0x00", kData + "0xAA", kData + "walking one D1", kData + "walking one D2", kData + "walking one D3",
          kData + "walking one D4", kData + "walking one D5", kData + "walking one D6", kData + "walking one D7"}},
    };
    for (const auto& c : cases) {
        faulty.status = c.status ? c.status : [](std::uint8_t v) { return v; };
        faulty.data = c.data ? c.data : [](std::uint8_t v) { return v; };
        const cli::LoopbackResult result = cli::RunLoopbackTest(kBase);
        EXPECT_EQ(Failed(result), c.failed) << c.fault;
        EXPECT_FALSE(result.AllPassed()) << c.fault;
    }
}

TEST_F(Loopback, APortWhoseDataLinesStayOutputsIsNotBidirectionalAndNotAFailure)
{
    faulty.spp = true;
    const cli::LoopbackResult result = cli::RunLoopbackTest(kBase);
    EXPECT_TRUE(result.AllPassed());
    EXPECT_FALSE(result.checks.back().bidirectional);
    EXPECT_EQ(result.checks.back().seen, 0xAA);
}

TEST_F(Loopback, LeavesTheRegistersAsItFoundThem)
{
    const struct {
        std::uint8_t data;
        std::uint8_t control;
        std::uint8_t dataRead;  // what the data register reads before and after
    } cases[] = {
        {0x00, 0x0C, 0x00},  // as the BIOS leaves a port
        {0x5A, 0x15, 0x5A},  // interrupt enabled, Strobe and Init
        {0xA5, 0x2C, 0xFF},  // data lines inputs: the register reads the lines
    };
    for (const auto& c : cases) {
        sim.Out(kBase, c.data);
        sim.Out(kBase + 2, c.control);
        rec.Clear();
        const cli::LoopbackResult result = cli::RunLoopbackTest(kBase);
        EXPECT_EQ(result.foundData, c.dataRead);
        EXPECT_EQ(result.foundControl, c.control);
        EXPECT_EQ(sim.In(kBase), c.dataRead);
        EXPECT_EQ(sim.In(kBase + 2), c.control | 0xC0);  // bits 6 and 7 are not implemented
        const auto& log = rec.Log();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], (io::Access{io::Access::Kind::Write, kBase, c.dataRead}));
        EXPECT_EQ(log.back(), (io::Access{io::Access::Kind::Write, kBase + 2, c.control}));
        for (const io::Access& access : log)
            EXPECT_TRUE(access.port >= kBase && access.port <= kBase + 2) << access;
        EXPECT_EQ(log.front(), (io::Access{io::Access::Kind::Read, kBase, c.dataRead})) << "read before any write";
    }
}

TEST_F(Loopback, AControlRegisterThatDoesNotReadBackIsLeftIdle)
{
    faulty.control = [](std::uint8_t) { return std::uint8_t(0xFF); };
    sim.Out(kBase + 2, 0x04);
    const cli::LoopbackResult result = cli::RunLoopbackTest(kBase);
    EXPECT_FALSE(result.controlReadsBack);
    EXPECT_EQ(result.restoredControl, io::lpt::kIdleControl);
    EXPECT_EQ(rec.Log().back(), (io::Access{io::Access::Kind::Write, kBase + 2, io::lpt::kIdleControl}));
    EXPECT_TRUE(result.AllPassed()) << "reading the control register is no check of the port";
}

TEST_F(Loopback, DetectionTestKeepsTheRegisters)
{
    sim.Out(kBase, 0x12);
    sim.Out(kBase + 2, 0x05);
    EXPECT_TRUE(cli::AnswersDetectionTestKeepingRegisters(kBase));
    EXPECT_EQ(sim.In(kBase), 0x12);
    EXPECT_EQ(sim.In(kBase + 2), 0x05 | 0xC0);
    EXPECT_FALSE(cli::AnswersDetectionTestKeepingRegisters(0x278)) << "nothing at 0x278";
}

TEST(LoopbackElsewhere, TestsThePortAtTheBaseGiven)
{
    io::SimulatedPort sim({0x278, 0x378});
    io::RecordingBus rec(sim);
    port::InstallBus(&rec);
    EXPECT_TRUE(cli::RunLoopbackTest(0x278).AllPassed());
    for (const io::Access& access : rec.Log())
        EXPECT_TRUE(access.port >= 0x278 && access.port <= 0x27A) << access;
    port::InstallBus(nullptr);
}

}  // namespace
