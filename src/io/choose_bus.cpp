#include "io/choose_bus.h"

#include "io/candidate_ports.h"
#include "io/direct_bus.h"
#include "io/ppdev_bus.h"
#include "io/privileges.h"
#include "io/simulated_port.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace io {
namespace {

constexpr std::uint16_t kSimulatedBase = 0x378;

struct DirectAttempt {
    bool supported = true;
    int error = 0;           // errno of the first refused range, 0 if all were granted
    std::uint16_t base = 0;  // that range
};

DirectAttempt RequestPortAccess(SystemCalls& sys)
{
    DirectAttempt attempt;
#if defined(__x86_64__) || defined(__i386__)
    for (std::size_t i = 0; i < kCandidateBases.size(); ++i) {
        const int rc = sys.IoPerm(kCandidateBases[i], kRegistersPerPort, true);
        if (rc < 0) {
            // Half a grant is of no use: the bus is never used without all four ranges.
            for (std::size_t j = 0; j < i; ++j)
                sys.IoPerm(kCandidateBases[j], kRegistersPerPort, false);
            attempt.error = -rc;
            attempt.base = kCandidateBases[i];
            break;
        }
    }
#else
    (void)sys;
    attempt.supported = false;
#endif
    return attempt;
}

std::unique_ptr<Bus> MakeDirectBus()
{
#if defined(__x86_64__) || defined(__i386__)
    return std::make_unique<DirectBus>();
#else
    return nullptr;
#endif
}

std::string Hex(std::uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

std::string DirectReason(const DirectAttempt& attempt)
{
    if (!attempt.supported)
        return "direct I/O not available on this processor";
    return "direct I/O refused (ioperm " + Hex(attempt.base) + ": " + std::strerror(attempt.error) +
           ")";
}

bool HeldByOtherDriver(const PpdevRefusal& refusal)
{
    return refusal.step == "claim" && (refusal.error == EBUSY || refusal.error == ENXIO);
}

std::string PpdevReasons(const PpdevClaim& claim)
{
    if (!claim.portFound)
        return "ppdev refused (no Linux parallel port at 0x278, 0x300, 0x378 or 0x3BC)";
    std::string reasons;
    for (const PpdevRefusal& refusal : claim.refusals) {
        if (!reasons.empty())
            reasons += ", ";
        reasons += refusal.device + " refused (" + refusal.step + ": " +
                   std::strerror(refusal.error);
        if (HeldByOtherDriver(refusal))
            reasons += ": another driver, usually lp, holds the port";
        reasons += ")";
    }
    return reasons;
}

bool AnyRefusal(const PpdevClaim& claim, bool (*test)(const PpdevRefusal&))
{
    for (const PpdevRefusal& refusal : claim.refusals)
        if (test(refusal))
            return true;
    return false;
}

// Root is refused only by a locked-down kernel or a sandbox, which no advice of ours can fix.
bool RootWouldHelp(const DirectAttempt& attempt, bool wasRoot)
{
    return attempt.supported && attempt.error == EPERM && !wasRoot;
}

// The one step most likely to give the program a real port, the gentlest first.
std::string RealAccessStep(const DirectAttempt& attempt, const PpdevClaim& claim, bool wasRoot)
{
    if (AnyRefusal(claim, HeldByOtherDriver))
        return "unload lp with `modprobe -r lp`";
    if (AnyRefusal(claim, [](const PpdevRefusal& r) {
            return r.step == "open" && (r.error == EACCES || r.error == EPERM);
        }))
        return "join group lp";
    if (AnyRefusal(claim, [](const PpdevRefusal& r) {
            return r.step == "open" && (r.error == ENOENT || r.error == ENODEV);
        }))
        return "load ppdev with `modprobe ppdev`";
    if (RootWouldHelp(attempt, wasRoot))
        return "run as root or grant cap_sys_rawio";
    return "load the port drivers with `modprobe parport_pc ppdev`";
}

}  // namespace

BusChoice ChooseBus(SystemCalls& sys)
{
    const bool wasRoot = sys.GetIdentity().effectiveUid == 0;
    const DirectAttempt direct = RequestPortAccess(sys);

    // The port permission outlives this; the right to open any file as someone else must not.
    if (const int rc = DropPrivileges(sys); rc < 0)
        throw std::system_error(-rc, std::generic_category(), "cannot give up privileges");

    BusChoice choice;
    if (direct.supported && direct.error == 0) {
        choice.bus = MakeDirectBus();
        choice.way = BusChoice::Way::Direct;
        choice.bases.assign(kCandidateBases.begin(), kCandidateBases.end());
        return choice;
    }

    PpdevClaim claim = ClaimPpdevPorts(sys);
    if (claim.bus) {
        choice.caption = claim.bus->Name();
        choice.message = "using " + choice.caption + " through ppdev: " +
                         DirectReason(direct);
        if (!claim.refusals.empty())
            choice.message += ", " + PpdevReasons(claim);
        if (RootWouldHelp(direct, wasRoot))
            choice.message += "; for direct I/O run as root or grant cap_sys_rawio";
        choice.bus = std::move(claim.bus);
        choice.way = BusChoice::Way::Ppdev;
        choice.bases = claim.bases;
        return choice;
    }

    choice.bus = std::make_unique<SimulatedPort>(std::vector<std::uint16_t>{kSimulatedBase});
    choice.bases = {kSimulatedBase};
    choice.caption = choice.bus->Name();
    choice.message = "using the simulated port: " + DirectReason(direct) + ", " +
                     PpdevReasons(claim) + "; for real access " +
                     RealAccessStep(direct, claim, wasRoot);
    return choice;
}

}  // namespace io
