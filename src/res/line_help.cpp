// The connector lines behind the panel's lamps and bit buttons, and the states their images show.
#include "res/line_help.h"

#include <algorithm>
#include <span>

#include "io/register_map.h"
#include "res/resource.h"

namespace res {
namespace {

// A line's tip: its name, pin and inversion come from the register map.
constexpr LineTip Tip(int id, int pin, std::string_view meaning, std::string_view bit = {})
{
    const io::lpt::Line& line = io::lpt::LineAtPin(pin);
    return {id, line.name, line.pin, line.inverted, meaning, bit};
}

// Lamps read the register back, so a lit data or status lamp follows the pin through the
// port's inversion. Control lamps and buttons show the slot state, which the panel already
// corrects for the inversion: lit or set always means the pin is high.
constexpr LineTip kTips[] = {
    Tip(IDC_DATA_LAMP0, 2, "pin 2 is high"),
    Tip(IDC_DATA_LAMP1, 3, "pin 3 is high"),
    Tip(IDC_DATA_LAMP2, 4, "pin 4 is high"),
    Tip(IDC_DATA_LAMP3, 5, "pin 5 is high"),
    Tip(IDC_DATA_LAMP4, 6, "pin 6 is high"),
    Tip(IDC_DATA_LAMP5, 7, "pin 7 is high"),
    Tip(IDC_DATA_LAMP6, 8, "pin 8 is high"),
    Tip(IDC_DATA_LAMP7, 9, "pin 9 is high"),
    Tip(IDC_DATA_BIT0, 2, "pin 2 is driven high once written"),
    Tip(IDC_DATA_BIT1, 3, "pin 3 is driven high once written"),
    Tip(IDC_DATA_BIT2, 4, "pin 4 is driven high once written"),
    Tip(IDC_DATA_BIT3, 5, "pin 5 is driven high once written"),
    Tip(IDC_DATA_BIT4, 6, "pin 6 is driven high once written"),
    Tip(IDC_DATA_BIT5, 7, "pin 7 is driven high once written"),
    Tip(IDC_DATA_BIT6, 8, "pin 8 is driven high once written"),
    Tip(IDC_DATA_BIT7, 9, "pin 9 is driven high once written"),
    Tip(IDC_LAMP_ERROR, 15, "pin 15 is high"),
    Tip(IDC_LAMP_SELECT, 13, "pin 13 is high"),
    Tip(IDC_LAMP_PEND, 12, "pin 12 is high"),
    Tip(IDC_LAMP_ACK, 10, "pin 10 is high"),
    Tip(IDC_LAMP_BUSY, 11, "pin 11 is low"),
    Tip(IDC_LAMP_STROBE, 1, "pin 1 is high", "control bit 0 clear"),
    Tip(IDC_LAMP_AUTO, 14, "pin 14 is high", "control bit 1 clear"),
    Tip(IDC_LAMP_INIT, 16, "pin 16 is high", "control bit 2 set"),
    Tip(IDC_LAMP_INPUT, 17, "pin 17 is high", "control bit 3 clear"),
    {IDC_LAMP_TRISTATE, "TriState", 0, false, "the data lines are inputs", "control bit 5 set"},
    Tip(IDC_CTRL_STROBE, 1, "pin 1 is driven high once written", "control bit 0 clear"),
    Tip(IDC_CTRL_AUTO, 14, "pin 14 is driven high once written", "control bit 1 clear"),
    Tip(IDC_CTRL_INIT, 16, "pin 16 is driven high once written", "control bit 2 set"),
    Tip(IDC_CTRL_INPUT, 17, "pin 17 is driven high once written", "control bit 3 clear"),
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
