// The words that carry a scenario to the guest: any text survives the kernel command line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "guest_protocol.h"
#include "qemu_guest.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(GuestProtocol, AnyTextFitsInOneWordAndComesBack)
{
    const std::string texts[] = {"",           "0x0378",         "0xD010\n",    "0x0378 ",
                                 "a b\tc%d=e", std::string("\0\xff", 2), "--ports", "%4", "%zz"};
    for (const std::string& text : texts) {
        const std::string word = guestproto::Encode(text);
        EXPECT_EQ(word.find_first_of(" \t\n\"="), std::string::npos) << word;
        EXPECT_EQ(guestproto::Decode(word), text) << word;
    }
    // A stray or cut-off escape is kept as it stands.
    EXPECT_EQ(guestproto::Decode("50%"), "50%");
    EXPECT_EQ(guestproto::Decode("%4"), "%4");
    EXPECT_EQ(guestproto::Decode("%zz"), "%zz");
}

TEST(GuestProtocol, CommandLineCarriesTheScenario)
{
    hwpanel::GuestSetup setup;
    setup.iobase = 0xD010;
    setup.lp = true;
    setup.uid = 1000;
    setup.config = "0xD010 x";
    setup.runs = {hwpanel::GuestRun::Panel(), hwpanel::GuestRun::Command({"--ports", "a,b"})};
    const std::string line = hwpanel::KernelCommandLine(setup);
    EXPECT_THAT(line, HasSubstr("console=ttyS0"));
    EXPECT_THAT(line, HasSubstr(" vellix.io=0xd010 vellix.lp=1 vellix.uid=1000 vellix.config=0xD010%20x "));
    EXPECT_THAT(line, HasSubstr(" vellix.run=panel vellix.run=command:--ports,a%2Cb"));

    setup.config.reset();
    EXPECT_THAT(hwpanel::KernelCommandLine(setup), Not(HasSubstr("vellix.config")));
}

}  // namespace
