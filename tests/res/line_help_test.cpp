// The pin help's words against the register map: each tip that names a pin names its own line's
// pin, and a control line's bit says the bit behind it and which of its states drives the pin high.
#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "io/register_map.h"
#include "res/line_help.h"
#include "res/resource.h"

namespace {

TEST(LineHelp, EveryTipSaysItsOwnLinesPinAndBit)
{
    const int ids[] = {IDC_DATA_LAMP0, IDC_DATA_LAMP7, IDC_DATA_BIT0, IDC_DATA_BIT7, IDC_LAMP_ERROR,
                       IDC_LAMP_SELECT, IDC_LAMP_PEND, IDC_LAMP_ACK, IDC_LAMP_BUSY, IDC_LAMP_STROBE,
                       IDC_LAMP_AUTO, IDC_LAMP_INIT, IDC_LAMP_INPUT, IDC_CTRL_STROBE, IDC_CTRL_AUTO,
                       IDC_CTRL_INIT, IDC_CTRL_INPUT};
    for (int id : ids) {
        const res::LineTip* tip = res::FindLineTip(id);
        ASSERT_NE(tip, nullptr) << id;
        const io::lpt::Line& line = io::lpt::LineAtPin(tip->pin);
        EXPECT_EQ(tip->line, line.name) << id;
        EXPECT_EQ(std::string(tip->meaning).find("pin " + std::to_string(line.pin) + " is"), 0u)
            << id << ": " << tip->meaning;
        if (line.reg == io::lpt::kControl) {
            const std::string bit = "control bit " + std::to_string(std::countr_zero(line.bit)) +
                                    (line.inverted ? " clear" : " set");
            EXPECT_EQ(tip->bit, bit) << id;
        }
    }
}

}  // namespace
