// What each sink writes for one short recording with every case in it: changes on each
// register, two changes within one microsecond, a gap that goes on over two samples, a lent one.
#include "record/csv_sink.h"
#include "record/vcd_sink.h"
#include "record/watch_sink.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "support/file_contents.h"

namespace {

using namespace std::chrono_literals;
using record::Event;
using record::Gap;
using record::Registers;

using testsupport::Contents;

// D0 high, nAck high, Busy low (its bit set), Select high; Init high, SelectIn asserted.
constexpr Registers kFirst{0x01, 0xD8, 0x0C};
constexpr Registers kD1{0x03, 0xD8, 0x0C};
constexpr Registers kAckLow{0x01, 0x98, 0x0C};
constexpr Registers kStrobed{0x01, 0x98, 0x0D};

void Play(record::Sink& sink)
{
    sink.Begin(kFirst);
    sink.Record(Event{1500ns, kFirst, kD1, std::nullopt});
    sink.Record(Event{1900ns, kD1, kFirst, std::nullopt});  // the same microsecond
    sink.Record(Event{10us, kFirst, kAckLow, Gap{3us, false}});
    sink.Record(Event{20us, kAckLow, kAckLow, Gap{10us, false}});  // the gap goes on
    sink.Record(Event{30us, kAckLow, kStrobed, std::nullopt});
    sink.Record(Event{45us, kStrobed, kStrobed, Gap{41us, true}});
    sink.End(50us);
}

class Sinks : public testing::Test {
protected:
    ~Sinks() override { std::fclose(m_file); }
    std::FILE* m_file = std::tmpfile();
};

TEST_F(Sinks, VcdNamesAWirePerPinAndKeepsEveryEdgeAndGap)
{
    record::VcdSink sink(m_file, {"Fri Dec 11 00:35:17 2026", "Vellix 1.0.0", "0x0378 through direct I/O"});
    Play(sink);
    EXPECT_EQ(sink.Error(), 0);
    EXPECT_EQ(Contents(m_file),
              "$date\n\tFri Dec 11 00:35:17 2026\n$end\n"
              "$version\n\tVellix 1.0.0\n$end\n"
              "$comment\n\t0x0378 through direct I/O\n$end\n"
              "$timescale 1 us $end\n"
              "$scope module lpt $end\n"
              "$var wire 1 A nStrobe_pin1 $end\n"
              "$var wire 1 B D0_pin2 $end\n"
              "$var wire 1 C D1_pin3 $end\n"
              "$var wire 1 D D2_pin4 $end\n"
              "$var wire 1 E D3_pin5 $end\n"
              "$var wire 1 F D4_pin6 $end\n"
              "$var wire 1 G D5_pin7 $end\n"
              "$var wire 1 H D6_pin8 $end\n"
              "$var wire 1 I D7_pin9 $end\n"
              "$var wire 1 J nAck_pin10 $end\n"
              "$var wire 1 K Busy_pin11 $end\n"
              "$var wire 1 L PaperEnd_pin12 $end\n"
              "$var wire 1 M Select_pin13 $end\n"
              "$var wire 1 N nAutoFeed_pin14 $end\n"
              "$var wire 1 O nError_pin15 $end\n"
              "$var wire 1 P nInit_pin16 $end\n"
              "$var wire 1 Q nSelectIn_pin17 $end\n"
              "$var wire 1 Z gap $end\n"
              "$upscope $end\n"
              "$enddefinitions $end\n"
              "#0\n$dumpvars\n"
              "1A\n1B\n0C\n0D\n0E\n0F\n0G\n0H\n0I\n1J\n0K\n0L\n1M\n1N\n1O\n1P\n0Q\n0Z\n"
              "$end\n"
              "#1\n1C\n"
              "#2\n0C\n"   // 1.9 us: one microsecond after the change before
              "#3\n1Z\n"
              "#10\n0J\n"
              "#20\n0Z\n"  // one gap from 3 to 20 us
              "#30\n0A\n"
              "#41\n1Z\n"
              "#45\n0Z\n"
              "#50\n");
}

// A recording cut just after a gap: the last sample closes the gap and is the end, and the
// file still ends with a time after the last values, which viewers need to give them a length.
TEST_F(Sinks, VcdEndsWithATimeWhenTheLastSampleClosesAGap)
{
    record::VcdSink sink(m_file, {"-", "-", "-"});
    sink.Begin(kFirst);
    sink.Record(Event{10us, kFirst, kAckLow, Gap{2us, false}});
    sink.End(10us);
    const std::string text = Contents(m_file);
    EXPECT_TRUE(text.ends_with("$end\n#2\n1Z\n#10\n0J\n0Z\n#11\n")) << text;
}

TEST_F(Sinks, CsvHasARowForTheStartAndEachEventWithPinLevels)
{
    record::CsvSink sink(m_file);
    Play(sink);
    EXPECT_EQ(Contents(m_file),
              "time_us,data,status,control,unseen_us,lent,nStrobe_pin1,D0_pin2,D1_pin3,D2_pin4,D3_pin5,D4_pin6,"
              "D5_pin7,D6_pin8,D7_pin9,nAck_pin10,Busy_pin11,PaperEnd_pin12,Select_pin13,nAutoFeed_pin14,"
              "nError_pin15,nInit_pin16,nSelectIn_pin17\n"
              "0.000,0x01,0xD8,0x0C,0.000,0,1,1,0,0,0,0,0,0,0,1,0,0,1,1,1,1,0\n"
              "1.500,0x03,0xD8,0x0C,0.000,0,1,1,1,0,0,0,0,0,0,1,0,0,1,1,1,1,0\n"
              "1.900,0x01,0xD8,0x0C,0.000,0,1,1,0,0,0,0,0,0,0,1,0,0,1,1,1,1,0\n"
              "10.000,0x01,0x98,0x0C,7.000,0,1,1,0,0,0,0,0,0,0,0,0,0,1,1,1,1,0\n"
              "20.000,0x01,0x98,0x0C,10.000,0,1,1,0,0,0,0,0,0,0,0,0,0,1,1,1,1,0\n"
              "30.000,0x01,0x98,0x0D,0.000,0,0,1,0,0,0,0,0,0,0,0,0,0,1,1,1,1,0\n"
              "45.000,0x01,0x98,0x0D,4.000,1,0,1,0,0,0,0,0,0,0,0,0,0,1,1,1,1,0\n");
}

TEST_F(Sinks, WatchSaysEachChangedRegisterAndPinInALine)
{
    record::WatchSink sink(m_file, 0ns);
    Play(sink);
    EXPECT_EQ(Contents(m_file),
              "        0 us  data 0x01  status 0xD8  control 0x0C\n"
              "        1 us  data 0x01 -> 0x03  D1_pin3 rose\n"
              "        1 us  data 0x03 -> 0x01  D1_pin3 fell\n"
              "       10 us  unseen for 7.0 us since 3 us\n"
              "       10 us  status 0xD8 -> 0x98  nAck_pin10 fell\n"
              "       20 us  unseen for 10.0 us since 10 us\n"
              "       30 us  control 0x0C -> 0x0D  nStrobe_pin1 fell\n"
              "       45 us  unseen for 4.0 us since 41 us: lent to another driver\n");
}

TEST_F(Sinks, WatchLeavesOutGapsShorterThanAsked)
{
    record::WatchSink sink(m_file, 8us);
    Play(sink);
    const std::string text = Contents(m_file);
    EXPECT_EQ(text.find("unseen for 7.0 us"), std::string::npos);
    EXPECT_NE(text.find("unseen for 10.0 us"), std::string::npos);
    EXPECT_NE(text.find("unseen for 4.0 us since 41 us: lent to another driver"), std::string::npos)
        << "a lent port is told however short";
}

TEST_F(Sinks, AFailedWriteIsKeptAndNothingMoreIsTried)
{
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    record::VcdSink vcd(full, {"d", "v", ""});
    Play(vcd);
    EXPECT_EQ(vcd.Error(), ENOSPC);
    record::WatchSink watch(full);
    watch.Begin(kFirst);
    EXPECT_EQ(watch.Error(), ENOSPC);
    std::fclose(full);
}

}  // namespace
