#include "cli/signal_commands.h"

#include <cstdlib>
#include <string>

#include "cli/record_command.h"
#include "cli/signal_target.h"
#include "io/simulated_port.h"
#include "record/clock.h"
#include "record/quantities.h"
#include "record/registers.h"
#include "shell/config.h"

namespace cli {
namespace {

using namespace std::chrono_literals;

constexpr int kUnreachable = 2;
// Above every ordinary program, below the kernel's interrupt threads (50), which must still run.
constexpr int kRealtimePriority = 10;
constexpr std::uint16_t kSimulatedBase = 0x378;

struct Wording {
    const char* verb;  // "there is none to <verb>"
    const char* hint;  // what --port simulated does instead
};

Wording WordingOf(Action action)
{
    switch (action) {
    case Action::Record:
        return {"record", "--port simulated records the built-in simulated port"};
    case Action::Watch:
        return {"watch", "--port simulated watches the built-in simulated port"};
    case Action::Read:
        return {"read", "--port simulated reads the built-in simulated port"};
    case Action::Write:
        return {"write to", "--port simulated writes to the built-in simulated port"};
    default:
        return {"pulse", "--port simulated pulses the built-in simulated port"};
    }
}

// How much of each period the kernel lets a real-time thread run that never sleeps: none when it
// sets no limit; the default words when the limit cannot be read.
std::optional<std::string> RealtimeLimit(io::SystemCalls& sys)
{
    const auto runtime = sys.ReadTextFile("/proc/sys/kernel/sched_rt_runtime_us");
    const auto period = sys.ReadTextFile("/proc/sys/kernel/sched_rt_period_us");
    if (runtime && std::atol(runtime->c_str()) < 0)
        return std::nullopt;
    if (!runtime || !period || std::atol(period->c_str()) <= std::atol(runtime->c_str()))
        return std::string("part of every second");
    const long stopped = (std::atol(period->c_str()) - std::atol(runtime->c_str())) / 1000;
    return std::to_string(stopped) + " ms of every " + std::to_string(std::atol(period->c_str()) / 1000) + " ms";
}

// A loop that sleeps between samples, or ends before the kernel's limit is reached, runs as a
// real-time thread without ever being stopped; one that samples without a pause would be stopped
// for a long gap each period, worse than the short ones ordinary scheduling brings.
bool SleepsOrEndsSoon(const CommandLine& command)
{
    if (command.action == Action::Pulse)
        return true;
    const SignalOptions& options = command.signals;
    if (options.rate && record::PeriodOf(*options.rate) >= 1ms)
        return true;
    return options.duration && *options.duration <= 900ms;
}

void AskForPriority(io::SystemCalls& sys, const CommandLine& command, Priority& priority)
{
    const std::optional<std::string> limit = RealtimeLimit(sys);
    if (!limit || SleepsOrEndsSoon(command)) {
        priority.realtimeAsked = true;
        priority.realtimeError = -sys.SetRealtimeScheduling(kRealtimePriority);
    } else {
        priority.realtimeNotAsked = "a sampler that never pauses would be stopped by the kernel for " + *limit +
                                    " (with --rate 1000 or slower it pauses)";
    }
    if (command.action != Action::Pulse) {
        priority.lockAsked = true;
        priority.lockError = -sys.LockMemory();
    }
}

int Read(io::Bus& bus, std::uint16_t base, std::FILE* out)
{
    const record::Registers regs = record::ReadRegisters(bus, base);
    std::fprintf(out, "data=0x%02X status=0x%02X control=0x%02X\n", regs.data, regs.status, regs.control);
    return 0;
}

int Write(const SignalOptions& options, io::Bus& bus, std::uint16_t base)
{
    for (const RegisterValue& write : options.writes)
        bus.Out(static_cast<std::uint16_t>(base + write.reg), write.value);
    return 0;
}

// The pulse begins during the first write and ends during the second: its width lies between
// the time from the end of the one to the start of the other and the time from the start of
// the one to the end of the other. The second write is aimed so that the middle of that range
// is the width asked for.
int Pulse(const SignalOptions& options, io::Bus& bus, std::uint16_t base, std::FILE* out)
{
    // Most of the pulse asleep, so that a recorder on the same processor sees it; the end awake.
    record::SteadyClock clock;
    const auto port = static_cast<std::uint16_t>(base + options.pulse->reg);
    const std::uint8_t before = bus.In(port);
    const std::chrono::nanoseconds t0 = clock.Now();
    bus.Out(port, options.pulse->value);
    const std::chrono::nanoseconds t1 = clock.Now();
    clock.SleepUntil(t1 + *options.width - (t1 - t0));
    const std::chrono::nanoseconds t2 = clock.Now();
    bus.Out(port, before);
    const std::chrono::nanoseconds t3 = clock.Now();
    const std::chrono::nanoseconds width = (t2 + t3) / 2 - (t0 + t1) / 2;
    const auto micros = [](std::chrono::nanoseconds t) { return static_cast<double>(t.count()) / 1e3; };
    std::fprintf(out, "%s 0x%02X -> 0x%02X -> 0x%02X: %.1f us (between %.1f and %.1f us)\n",
                 std::string(RegisterName(options.pulse->reg)).c_str(), before, options.pulse->value, before,
                 micros(width), micros(t2 - t1), micros(t3 - t0));
    return 0;
}

}  // namespace

int RunSignalCommand(const Program& program, const CommandLine& command, std::FILE* out, std::FILE* err)
{
    const SignalOptions& options = command.signals;
    Priority priority;
    io::SimulatedPort simulated({kSimulatedBase});
    io::BusChoice choice;
    io::Bus* bus = &simulated;
    std::uint16_t base = kSimulatedBase;
    std::string target = "the built-in simulated port at 0x0378";
    if (options.simulated) {
        priority.realtimeNotAsked = "the simulated port needs none";
    } else {
        io::ChooseOptions choose;
        choose.use = io::Use::Signals;
        if (command.action == Action::Record || command.action == Action::Watch || command.action == Action::Pulse)
            choose.whilePrivileged = [&](io::SystemCalls& sys) { AskForPriority(sys, command, priority); };
        choice = program.chooseBus(choose);
        const Wording wording = WordingOf(command.action);
        const auto readsFloating = [&](std::uint16_t candidate) {
            return record::ReadRegisters(*choice.bus, candidate) == record::Registers{0xFF, 0xFF, 0xFF};
        };
        const TargetChoice chosen = ChooseSignalTarget(choice.survey, options, config::ReadSavedText().Str(),
                                                       wording.verb, wording.hint, readsFloating);
        if (!chosen.target) {
            std::fprintf(err, "%s: %s\n", program.name, chosen.problem.c_str());
            return kUnreachable;
        }
        bus = choice.bus.get();
        base = chosen.target->base;
        target = chosen.target->description;
    }
    switch (command.action) {
    case Action::Read:
        return Read(*bus, base, out);
    case Action::Write:
        return Write(options, *bus, base);
    case Action::Pulse:
        return Pulse(options, *bus, base, out);
    default:
        return RunRecording(program.name, command, *bus, base, target, priority, out, err);
    }
}

}  // namespace cli
