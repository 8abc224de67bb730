// An emulated PC that runs the real vellix-term: a QEMU x86-64 guest with one ISA parallel
// port whose printer output goes to a file, booted with the host's kernel and our initramfs.
// Its serial console feeds a screen model; keys go to the console as a terminal sends them.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/term/vt_screen.h"

namespace hwpanel {

using namespace std::chrono_literals;

// One start of the program in the guest: on the console, driven by keys, or as a command
// whose output is captured, waited for or left running in the background; or a step between
// them: a signal to the last background run, a pause.
struct GuestRun {
    bool panel = true;
    std::vector<std::string> args;
    std::string word;  // the kernel command-line word of a run that is not the panel's
    std::optional<int> uid;  // the user it runs as, when not the scenario's

    static GuestRun Panel() { return {}; }
    static GuestRun Command(std::vector<std::string> args) { return {false, std::move(args), "command", std::nullopt}; }
    static GuestRun CommandAs(int uid, std::vector<std::string> args)
    {
        return {false, std::move(args), "command", uid};
    }
    // Goes on once the program has written to standard error.
    static GuestRun Background(std::vector<std::string> args, std::optional<int> uid = std::nullopt)
    {
        return {false, std::move(args), "background", uid};
    }
    // "INT" or "TERM", to the last background run, whose report then completes.
    static GuestRun Signal(const std::string& name) { return {false, {}, "signal:" + name, std::nullopt}; }
    static GuestRun Sleep(int milliseconds) { return {false, {}, "sleep:" + std::to_string(milliseconds), std::nullopt}; }
    // A print job of that text to /dev/lp0, started then; reported as the scenario's is.
    static GuestRun Print(const std::string& text);
    // The guest's own bare loop of register reads by "direct" I/O or "ppdev", or "direct-clock"
    // with a look at the clock each round, for a benchmark; its output is one line: rounds and
    // nanoseconds.
    static GuestRun BareLoop(const std::string& way, int milliseconds)
    {
        return {false, {}, "bare:" + way + ":" + std::to_string(milliseconds), std::nullopt};
    }
};

struct GuestSetup {
    std::uint16_t iobase = 0x378;  // of the port, for QEMU and for parport_pc
    bool lp = false;               // load the printer driver as well
    int uid = 0;                   // who runs the program; others may open /dev/parport*
    std::optional<std::string> config;  // config.ovm before the first run
    std::optional<std::string> printJob;  // sent to /dev/lp0 while the first run holds the port
    std::vector<GuestRun> runs{GuestRun::Panel()};
    int rows = 24, cols = 80;
};

// What the guest reported about one run.
struct RunReport {
    bool ended = false;  // the report is complete
    std::optional<int> exitCode, signal;
    std::vector<std::string> out, err;  // standard output (commands only) and standard error
    std::optional<std::string> config;  // config.ovm afterwards; nullopt if there is none
    long peakKiB = 0;                   // the most memory it held (resident, KiB)
};

// The kernel and initramfs, packed once per test program by scripts/qemu-image.sh.
struct GuestImage {
    std::filesystem::path dir;  // vmlinuz and initramfs.gz, as scripts/qemu-boot.sh boots them
    std::string error;  // why there is none
    static const GuestImage& Get();
};

class Guest {
public:
    // Boots the guest; the runs start as soon as it is up.
    Guest(const GuestImage& image, const GuestSetup& setup);
    ~Guest();
    Guest(const Guest&) = delete;
    Guest& operator=(const Guest&) = delete;

    void Send(std::string_view keys);
    // Reads the console until `done` holds; false if it still does not after `limit`.
    bool WaitFor(const std::function<bool(const vt::Screen&)>& done, std::chrono::milliseconds limit = 60s);
    // Until the report of run `number` (from 1) is complete.
    bool WaitForRun(int number, std::chrono::milliseconds limit = 60s);
    // Until the guest has reported its end and the emulator has stopped.
    bool WaitForPowerOff(std::chrono::milliseconds limit = 60s);

    RunReport Run(int number) const;
    // Report lines of one kind ("port", "error"), without the kind.
    std::vector<std::string> Reports(std::string_view kind) const;
    // Every byte the port strobed out to the printer so far.
    std::string PrinterBytes() const;
    // Until the printer has received at least `count` bytes.
    bool WaitForPrinter(std::size_t count, std::chrono::milliseconds limit = 20s);

    const vt::Screen& Screen() const { return m_screen; }
    // The screen as text, with where reverse video (the focus) stands.
    std::string ScreenText() const;
    // The last screen, the console as text and what the emulator said: for a failure message.
    std::string Diagnosis() const;

private:
    bool ReadSome(int timeoutMs);
    std::vector<std::string> ReportLines() const;

    std::filesystem::path m_dir;  // printer file and emulator messages
    pid_t m_pid = -1;
    int m_in = -1, m_out = -1;
    bool m_exited = false;
    vt::Screen m_screen;
    std::string m_console;
};

// The kernel command line that tells the guest's /init what to do.
std::string KernelCommandLine(const GuestSetup& setup);

}  // namespace hwpanel
