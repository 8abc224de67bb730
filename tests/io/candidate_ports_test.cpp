#include "io/candidate_ports.h"

#include <gtest/gtest.h>

namespace {

TEST(PortLabel, FourUpperCaseHexDigits)
{
    const struct {
        std::uint16_t base;
        const char* label;
    } cases[] = {{0x278, "0x0278"}, {0x3BC, "0x03BC"}, {0xD010, "0xD010"},
                 {0xcc00, "0xCC00"}, {0x0, "0x0000"},   {0xFFFD, "0xFFFD"}};
    for (const auto& c : cases)
        EXPECT_EQ(io::PortLabel(c.base), c.label);
}

TEST(CandidateBases, LegacyBasesThenTheKernelsAscendingEachOnce)
{
    const struct {
        const char* name;
        std::vector<std::uint16_t> kernel;
        std::vector<std::uint16_t> candidates;
    } cases[] = {
        {"NoKernelPort", {}, {0x278, 0x300, 0x378, 0x3BC}},
        {"CardAt0xD010", {0xD010}, {0x278, 0x300, 0x378, 0x3BC, 0xD010}},
        {"LegacyAlsoReported", {0x378}, {0x278, 0x300, 0x378, 0x3BC}},
        {"SeveralUnsorted", {0xE000, 0x378, 0xCC00, 0x100}, {0x100, 0x278, 0x300, 0x378, 0x3BC, 0xCC00, 0xE000}},
        {"Repeated", {0xD010, 0xD010}, {0x278, 0x300, 0x378, 0x3BC, 0xD010}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(io::CandidateBases(c.kernel), c.candidates) << c.name;
}

// The list sorts its entries as text; detection relies on that order being the address order.
TEST(CandidateBases, LabelsSortLikeAddresses)
{
    const std::vector<std::uint16_t> bases = io::CandidateBases({0xD010, 0x9C00, 0xE000, 0x1000, 0xABCD});
    for (std::size_t i = 1; i < bases.size(); ++i)
        EXPECT_LT(io::PortLabel(bases[i - 1]), io::PortLabel(bases[i]));
}

}  // namespace
