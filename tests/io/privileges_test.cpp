#include "io/privileges.h"

#include "fake_system_calls.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>

namespace {

using iotest::FakeSystemCalls;

// Who the process runs as -> which calls give its privileges up.
struct IdentityCase {
    const char* name;
    io::Identity identity;
    std::vector<std::string> calls;
};

void PrintTo(const IdentityCase& c, std::ostream* os) { *os << c.name; }

class DropPrivilegesFor : public testing::TestWithParam<IdentityCase> {};

TEST_P(DropPrivilegesFor, GivesUpRaisedIdsThenCapabilities)
{
    const IdentityCase& c = GetParam();
    FakeSystemCalls sys;
    sys.identity = c.identity;
    EXPECT_EQ(io::DropPrivileges(sys), 0);
    EXPECT_EQ(sys.calls, c.calls);
    EXPECT_EQ(sys.identity.effectiveUid, c.identity.realUid);
    EXPECT_EQ(sys.identity.savedUid, c.identity.realUid);
    EXPECT_EQ(sys.identity.effectiveGid, c.identity.realGid);
    EXPECT_EQ(sys.identity.savedGid, c.identity.realGid);
}

INSTANTIATE_TEST_SUITE_P(
    Identities, DropPrivilegesFor,
    testing::Values(
        // A plain user, or one whose file capability raised only capabilities.
        IdentityCase{"PlainUser", {1000, 1000, 1000, 100, 100, 100}, {"clearcaps"}},
        IdentityCase{"RootStaysRoot", {0, 0, 0, 0, 0, 0}, {"clearcaps"}},
        IdentityCase{"SetUserIdRoot",
                     {1000, 0, 0, 100, 100, 100},
                     {"setidentity 1000 100", "clearcaps"}},
        IdentityCase{"SavedIdOnly",
                     {1000, 1000, 0, 100, 100, 100},
                     {"setidentity 1000 100", "clearcaps"}},
        IdentityCase{"SetGroupId",
                     {1000, 1000, 1000, 100, 7, 7},
                     {"setidentity 1000 100", "clearcaps"}}),
    [](const auto& info) { return info.param.name; });

TEST(DropPrivileges, ReportsEachFailure)
{
    const struct {
        const char* name;
        int setIdentityError;
        bool sticks;
        int capsError;
        int result;
    } cases[] = {{"SetIdentityRefused", EPERM, true, 0, -EPERM},
                 {"SetIdentityIneffective", 0, false, 0, -EPERM},
                 {"CapabilitiesRefused", 0, true, EINVAL, -EINVAL}};
    for (const auto& c : cases) {
        FakeSystemCalls sys;
        sys.identity = {1000, 0, 0, 100, 100, 100};
        sys.setIdentityError = c.setIdentityError;
        sys.setIdentitySticks = c.sticks;
        sys.clearCapabilitiesError = c.capsError;
        EXPECT_EQ(io::DropPrivileges(sys), c.result) << c.name;
    }
}

}  // namespace
