#include "record/wires.h"

#include <array>

namespace record {
namespace {

using namespace io::lpt;

constexpr std::array<Wire, 17> kWires{{
    {"nStrobe_pin1", 1, kControl, kStrobe, true},
    {"D0_pin2", 2, kData, 0x01, false},
    {"D1_pin3", 3, kData, 0x02, false},
    {"D2_pin4", 4, kData, 0x04, false},
    {"D3_pin5", 5, kData, 0x08, false},
    {"D4_pin6", 6, kData, 0x10, false},
    {"D5_pin7", 7, kData, 0x20, false},
    {"D6_pin8", 8, kData, 0x40, false},
    {"D7_pin9", 9, kData, 0x80, false},
    {"nAck_pin10", 10, kStatus, kAck, false},
    {"Busy_pin11", 11, kStatus, kBusy, true},
    {"PaperEnd_pin12", 12, kStatus, kPaperEnd, false},
    {"Select_pin13", 13, kStatus, kSelect, false},
    {"nAutoFeed_pin14", 14, kControl, kAutoFeed, true},
    {"nError_pin15", 15, kStatus, kError, false},
    {"nInit_pin16", 16, kControl, kInit, false},
    {"nSelectIn_pin17", 17, kControl, kSelectIn, true},
}};

}  // namespace

std::span<const Wire> Wires()
{
    return kWires;
}

}  // namespace record
