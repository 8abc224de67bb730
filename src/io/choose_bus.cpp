#include "io/choose_bus.h"

#include "io/candidate_ports.h"
#include "io/direct_bus.h"
#include "io/kernel_ports.h"
#include "io/port_facts.h"
#include "io/register_map.h"
#include "io/ppdev_bus.h"
#include "io/privileges.h"
#include "io/routing_bus.h"
#include "io/simulated_port.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <system_error>

namespace io {
namespace {

#if defined(__x86_64__) || defined(__i386__)
constexpr bool kPortInstructions = true;
#else
constexpr bool kPortInstructions = false;
#endif

// Per legacy base: 0 if ioperm granted its range, else the errno. Only the legacy bases are
// asked for: a card the kernel knows is left to its driver, through ppdev, which mediates every
// access. Each range is asked for on its own, so that a refusal of one leaves the others usable.
// The range of the extended control register is asked for beside each granted one, to read the
// chip's mode (it is never written): ecp holds the bases where that was granted too.
std::map<std::uint16_t, int> RequestLegacyRanges(SystemCalls& sys, std::vector<std::uint16_t>& ecp)
{
    std::map<std::uint16_t, int> errors;
    for (std::uint16_t base : kLegacyBases) {
        errors[base] = kPortInstructions ? -sys.IoPerm(base, kRegistersPerPort, true) : ENOSYS;
        if (errors[base] == 0 && sys.IoPerm(base + lpt::kEcpRange, kRegistersPerPort, true) == 0)
            ecp.push_back(base);
    }
    return errors;
}

std::string SystemReason(const std::string& step, int error)
{
    return step + ": " + std::strerror(error);
}

std::string DirectReason(int error, const std::string& lockdown)
{
    if (!kPortInstructions)
        return "no port instructions on this processor";
    if (error == EPERM && !lockdown.empty())
        return SystemReason("ioperm", error) + ", the kernel is locked down (" + lockdown + ")";
    return SystemReason("ioperm", error);
}

// The step for a legacy base that only direct I/O could reach. Root is refused only by a
// locked-down kernel or a sandbox, which no advice of ours can fix; the kernel's driver can.
std::string DirectFix(int error, bool wasRoot, const std::string& lockdown)
{
    if (kPortInstructions && error == EPERM && !lockdown.empty())
        return "use ppdev, which lockdown allows: load it with `modprobe parport_pc ppdev` and join group lp";
    if (kPortInstructions && error == EPERM && !wasRoot)
        return "run as root or grant cap_sys_rawio";
    return "load the port drivers with `modprobe parport_pc ppdev`";
}

// Why ppdev did not reach the port. A claim that waited out its deadline was interrupted, which
// the system would call "Interrupted system call": the user needs to hear who is in the way.
std::string PpdevReason(const PpdevClaim& claim, const std::string& holder)
{
    if (claim.Busy() && !holder.empty()) {
        // The kernel names the holder by its driver and number: lp0 is the printer driver.
        const std::string who = holder.rfind("lp", 0) == 0      ? " (the printer driver: a print job)"
                                : holder.rfind("ppdev", 0) == 0 ? " (another program, through ppdev)"
                                                                : "";
        return claim.step + ": busy: " + holder + who + " held the port for " + std::to_string(kClaimDeadline.count()) +
               " s";
    }
    if (claim.Busy())
        return claim.step + ": busy: another program or a print job held the port for " +
               std::to_string(kClaimDeadline.count()) + " s";
    return SystemReason(claim.step, claim.error);
}

// The gentlest step that lets ppdev reach a port the kernel knows.
std::string PpdevFix(const PpdevClaim& claim)
{
    if (claim.Busy())
        return "end the program that holds the port or wait for the print to finish, then start "
               "Vellix again";
    if (claim.step == "open") {
        if (claim.error == EACCES || claim.error == EPERM)
            return "join group lp";
        if (claim.error == ENOENT || claim.error == ENODEV || claim.error == ENXIO)
            return "load ppdev with `modprobe ppdev`";
    }
    // Refused even beside the printer driver: a program holds it exclusively, or lp cannot share.
    if (claim.step == "shared claim")
        return "free the port: end the program that holds it or unload lp with `modprobe -r lp`";
    return "see the kernel's messages with `dmesg`";
}

struct Reaching {
    Use use = Use::Panel;
    std::map<std::uint16_t, int> direct;  // the legacy bases' ioperm outcomes
    bool wasRoot = false;
    std::string lockdown;
};

void Reach(SurveyedPort& port, const Reaching& r, SystemCalls& sys, std::vector<PpdevBus::Port>& claimed)
{
    const auto granted = r.direct.find(port.base);
    if (granted != r.direct.end() && granted->second == 0) {
        port.way = Way::Direct;
        // The kernel's claim, held while we run, makes a print job wait for us as it does for
        // ppdev; without it, direct I/O would write into the middle of one.
        if (!port.device.empty() && r.use == Use::Panel) {
            const PpdevClaim claim = ClaimPpdevPort(sys, port.device);
            if (claim.fd >= 0) {
                port.claimHeld = true;
                claimed.push_back({port.base, claim.fd, port.device, claim.shared});
            }
        }
        return;
    }
    const int directError = granted != r.direct.end() ? granted->second : 0;
    const std::string directReason = directError != 0 ? DirectReason(directError, r.lockdown) + "; " : "";
    if (port.device.empty()) {
        // Only a legacy base comes without a device, so direct I/O was asked for and refused.
        port.reason = directReason + "the kernel knows no port here";
        port.fix = DirectFix(directError, r.wasRoot, r.lockdown);
        return;
    }
    const PpdevClaim claim = ClaimPpdevPort(sys, port.device);
    if (claim.fd >= 0) {
        port.way = claim.shared ? Way::SharedPpdev : Way::Ppdev;
        claimed.push_back({port.base, claim.fd, port.device, claim.shared});
        return;
    }
    if (claim.Busy())
        port.holder = PortHolder(sys, port.device);
    port.reason = directReason + PpdevReason(claim, port.holder);
    port.fix = PpdevFix(claim);
}

std::unique_ptr<Bus> MakeBus(const PortSurvey& survey, SystemCalls& sys, Use use,
                             std::vector<PpdevBus::Port> claimed)
{
    if (!survey.AnyReached())
        return std::make_unique<SimulatedPort>();
    std::vector<std::unique_ptr<Bus>> ways;
    Bus* direct = nullptr;
#if defined(__x86_64__) || defined(__i386__)
    for (const SurveyedPort& port : survey.ports) {
        if (port.way == Way::Direct && direct == nullptr) {
            ways.push_back(std::make_unique<DirectBus>());
            direct = ways.back().get();
        }
    }
#endif
    Bus* ppdev = nullptr;
    if (!claimed.empty()) {
        ways.push_back(std::make_unique<PpdevBus>(sys, std::move(claimed),
                                                  use == Use::Signals ? PpdevBus::ControlReads::Asked
                                                                      : PpdevBus::ControlReads::Remembered));
        ppdev = ways.back().get();
    }
    std::vector<RoutingBus::Route> routes;
    for (const SurveyedPort& port : survey.ports) {
        if (port.way == Way::Direct)
            routes.push_back({port.base, direct});
        else if (port.way != Way::None)
            routes.push_back({port.base, ppdev});
    }
    return std::make_unique<RoutingBus>(std::move(ways), std::move(routes));
}

}  // namespace

BusChoice ChooseBus(SystemCalls& sys, const ChooseOptions& options)
{
    Reaching reaching;
    reaching.use = options.use;
    reaching.wasRoot = sys.GetIdentity().effectiveUid == 0;
    std::vector<std::uint16_t> ecp;
    reaching.direct = RequestLegacyRanges(sys, ecp);
    if (options.whilePrivileged)
        options.whilePrivileged(sys);

    // The port permission outlives this; the right to open any file as someone else must not.
    if (const int rc = DropPrivileges(sys); rc < 0)
        throw std::system_error(-rc, std::generic_category(), "cannot give up privileges");

    BusChoice choice;
    reaching.lockdown = choice.survey.lockdown = ReadLockdown(sys);
    const std::vector<KernelPort> kernel = FindKernelPorts(sys, &choice.survey.unusable);
    std::vector<std::uint16_t> kernelBases;
    for (const KernelPort& port : kernel)
        kernelBases.push_back(port.base);

    choice.survey.kernelKnowsPorts = !kernel.empty();
    std::vector<PpdevBus::Port> claimed;
    for (std::uint16_t base : CandidateBases(kernelBases)) {
        SurveyedPort port;
        port.base = base;
        port.label = PortLabel(base);
        port.legacy = IsLegacyBase(base);
        for (const KernelPort& known : kernel)
            if (known.base == base)
                port.device = known.device;
        Reach(port, reaching, sys, claimed);
        port.modes = ReadKernelModes(sys, port.device);
        if (port.way == Way::Direct && std::find(ecp.begin(), ecp.end(), base) != ecp.end())
            port.ecr = ReadEcr(sys, base);
        choice.survey.ports.push_back(std::move(port));
    }
    choice.survey.cards = FindPciCards(sys);
    if (kernel.empty())
        choice.survey.usbPrinters = FindUsbPrinters(sys);

    choice.bus = MakeBus(choice.survey, sys, options.use, std::move(claimed));
    choice.messages = DescribeSurvey(choice.survey);
    return choice;
}

}  // namespace io
