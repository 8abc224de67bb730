// The connector lines behind the panel's lamps and bit buttons, and the states their images show.
#include "res/line_help.h"

#include <algorithm>
#include <span>

#include "res/resource.h"

namespace res {
namespace {

// Lamps read the register back, so a lit data or status lamp follows the pin through the
// port's inversion. Control lamps and buttons show the slot state, which the panel already
// corrects for the inversion: lit or set always means the pin is high.
constexpr LineTip kTips[] = {
    {IDC_DATA_LAMP0, "D0", 2, false, "pin 2 is high", ""},
    {IDC_DATA_LAMP1, "D1", 3, false, "pin 3 is high", ""},
    {IDC_DATA_LAMP2, "D2", 4, false, "pin 4 is high", ""},
    {IDC_DATA_LAMP3, "D3", 5, false, "pin 5 is high", ""},
    {IDC_DATA_LAMP4, "D4", 6, false, "pin 6 is high", ""},
    {IDC_DATA_LAMP5, "D5", 7, false, "pin 7 is high", ""},
    {IDC_DATA_LAMP6, "D6", 8, false, "pin 8 is high", ""},
    {IDC_DATA_LAMP7, "D7", 9, false, "pin 9 is high", ""},
    {IDC_DATA_BIT0, "D0", 2, false, "pin 2 is driven high once written", ""},
    {IDC_DATA_BIT1, "D1", 3, false, "pin 3 is driven high once written", ""},
    {IDC_DATA_BIT2, "D2", 4, false, "pin 4 is driven high once written", ""},
    {IDC_DATA_BIT3, "D3", 5, false, "pin 5 is driven high once written", ""},
    {IDC_DATA_BIT4, "D4", 6, false, "pin 6 is driven high once written", ""},
    {IDC_DATA_BIT5, "D5", 7, false, "pin 7 is driven high once written", ""},
    {IDC_DATA_BIT6, "D6", 8, false, "pin 8 is driven high once written", ""},
    {IDC_DATA_BIT7, "D7", 9, false, "pin 9 is driven high once written", ""},
    {IDC_LAMP_ERROR, "Error", 15, false, "pin 15 is high", ""},
    {IDC_LAMP_SELECT, "Select", 13, false, "pin 13 is high", ""},
    {IDC_LAMP_PEND, "PEnd", 12, false, "pin 12 is high", ""},
    {IDC_LAMP_ACK, "Ack", 10, false, "pin 10 is high", ""},
    {IDC_LAMP_BUSY, "Busy", 11, true, "pin 11 is low", ""},
    {IDC_LAMP_STROBE, "Strobe", 1, true, "pin 1 is high", "control bit 0 clear"},
    {IDC_LAMP_AUTO, "Auto", 14, true, "pin 14 is high", "control bit 1 clear"},
    {IDC_LAMP_INIT, "Init", 16, false, "pin 16 is high", "control bit 2 set"},
    {IDC_LAMP_INPUT, "Input", 17, true, "pin 17 is high", "control bit 3 clear"},
    {IDC_LAMP_TRISTATE, "TriState", 0, false, "the data lines are inputs", "control bit 5 set"},
    {IDC_CTRL_STROBE, "Strobe", 1, true, "pin 1 is driven high once written", "control bit 0 clear"},
    {IDC_CTRL_AUTO, "Auto", 14, true, "pin 14 is driven high once written", "control bit 1 clear"},
    {IDC_CTRL_INIT, "Init", 16, false, "pin 16 is driven high once written", "control bit 2 set"},
    {IDC_CTRL_INPUT, "Input", 17, true, "pin 17 is driven high once written", "control bit 3 clear"},
    {IDC_CTRL_TRISTATE, "TriState", 0, false, "the data lines become inputs once written", "control bit 5 set"},
};

constexpr ImageState kStates[] = {
    {IDB_LAMP_ON, "lit", true},
    {IDB_LAMP_OFF, "unlit", false},
    {IDB_BUTTON_SET, "set", true},
    {IDB_BUTTON_CLEAR, "clear", false},
};

template <typename T, typename Key>
const T* Find(std::span<const T> table, Key key)
{
    auto it = std::find_if(table.begin(), table.end(), key);
    return it == table.end() ? nullptr : &*it;
}

}  // namespace

const LineTip* FindLineTip(int controlId)
{
    return Find<LineTip>(kTips, [&](const LineTip& t) { return t.id == controlId; });
}

const ImageState* FindImageState(int bitmapId)
{
    return Find<ImageState>(kStates, [&](const ImageState& s) { return s.bitmapId == bitmapId; });
}

}  // namespace res
