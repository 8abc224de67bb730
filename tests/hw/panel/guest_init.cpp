// /init of the emulated machine that runs the real vellix-term: loads the port drivers as the
// kernel command line asks, runs the program once per requested run (on the serial console,
// or as a command with its output captured), reports how each run ended and powers off.
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/io.h>
#include <sys/mount.h>
#include <sys/reboot.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "guest.h"
#include "guest_protocol.h"

namespace {

using namespace guestproto;

constexpr const char* kProgram = "/usr/bin/vellix-term";
constexpr const char* kConsoleTty = "/dev/ttyS0";

struct Run {
    enum class Kind { Panel, Command, Background, Signal, Sleep, Print, BareLoop };
    Kind kind = Kind::Panel;
    std::vector<std::string> args;
    int uid = -1;        // the scenario's user when negative
    int signal = 0;      // for Kind::Signal
    int milliseconds = 0;  // for Kind::Sleep
    std::string text;      // for Kind::Print; for Kind::BareLoop the way, "direct" or "ppdev"

    bool Panel() const { return kind == Kind::Panel; }
};

struct Scenario {
    std::string io = "0x378";
    bool lp = false;
    int uid = 0;
    bool hasConfig = false;
    std::string config;
    std::string printJob;  // for /dev/lp0 during the first run; empty for none
    int rows = 24, cols = 80;
    std::vector<Run> runs;
};

void Report(const std::string& line)
{
    std::printf("%s%s\n", std::string(kMarker).c_str(), line.c_str());
    std::fflush(stdout);
}

bool Fail(const std::string& what)
{
    Report("error " + what + ": " + std::strerror(errno));
    return false;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Mount(const char* type, const char* target)
{
    return hwtest::Mount(type, target) || Fail(std::string("mount ") + target);
}

bool LoadModule(const std::string& name, const std::string& params)
{
    return hwtest::LoadModule(name.c_str(), params.c_str()) || Fail("load " + name + " " + params);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

// "panel", "command:a,b", "command@1000:a,b", "background:...", "signal:INT", "sleep:300".
Run ReadRun(const std::string& value)
{
    Run run;
    const std::string kind = value.substr(0, value.find(':'));
    const std::string rest = value.find(':') == std::string::npos ? "" : value.substr(value.find(':') + 1);
    const std::string name = kind.substr(0, kind.find('@'));
    if (kind.find('@') != std::string::npos)
        run.uid = std::atoi(kind.c_str() + kind.find('@') + 1);
    if (name + ":" == kCommandRun || name + ":" == kBackgroundRun) {
        run.kind = name + ":" == kCommandRun ? Run::Kind::Command : Run::Kind::Background;
        for (const std::string& arg : Split(rest, ','))
            run.args.push_back(Decode(arg));
    } else if (name + ":" == kSignalRun) {
        run.kind = Run::Kind::Signal;
        run.signal = rest == "TERM" ? SIGTERM : SIGINT;
    } else if (name + ":" == kSleepRun) {
        run.kind = Run::Kind::Sleep;
        run.milliseconds = std::atoi(rest.c_str());
    } else if (name + ":" == kPrintRun) {
        run.kind = Run::Kind::Print;
        run.text = Decode(rest);
    } else if (name + ":" == kBareLoopRun) {
        run.kind = Run::Kind::BareLoop;
        run.text = rest.substr(0, rest.find(':'));
        run.milliseconds = std::atoi(rest.substr(rest.find(':') + 1).c_str());
    }
    return run;
}

Scenario ReadScenario()
{
    Scenario s;
    std::istringstream words(ReadText("/proc/cmdline"));
    std::string word;
    while (words >> word) {
        const auto eq = word.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = word.substr(0, eq), value = word.substr(eq + 1);
        if (key == kIo)
            s.io = value;
        else if (key == kLp)
            s.lp = value == "1";
        else if (key == kUid)
            s.uid = std::atoi(value.c_str());
        else if (key == kConfig)
            s.hasConfig = true, s.config = Decode(value);
        else if (key == kPrintJob)
            s.printJob = Decode(value);
        else if (key == kRows)
            s.rows = std::atoi(value.c_str());
        else if (key == kCols)
            s.cols = std::atoi(value.c_str());
        else if (key == kRun)
            s.runs.push_back(ReadRun(value));
    }
    if (s.runs.empty())
        s.runs.push_back({});
    return s;
}

std::vector<std::string> PortNames()
{
    std::vector<std::string> names;
    if (DIR* dir = ::opendir("/proc/sys/dev/parport")) {
        while (const dirent* entry = ::readdir(dir))
            if (std::strncmp(entry->d_name, "parport", 7) == 0)
                names.push_back(entry->d_name);
        ::closedir(dir);
    }
    return names;
}

// The port drivers as a distribution loads them: parport_pc told where the card is, ppdev for
// user programs, lp on request.
bool LoadDrivers(const Scenario& s)
{
    bool ok = LoadModule("parport", "");
    ok = LoadModule("parport_pc", "io=" + s.io + " irq=none") && ok;
    ok = LoadModule("ppdev", "") && ok;
    if (s.lp)
        ok = LoadModule("lp", "") && ok;
    for (const std::string& name : PortNames()) {
        std::string base = ReadText("/proc/sys/dev/parport/" + name + "/base-addr");
        while (!base.empty() && (base.back() == '\n' || base.back() == '\t'))
            base.pop_back();
        for (char& c : base)
            c = c == '\t' ? ' ' : c;
        Report("port " + name + " " + base);
    }
    return ok;
}

// An unprivileged user may open the port devices through their group, as udev arranges it.
bool PrepareUser(const Scenario& s, const std::string& home)
{
    bool ok = true;
    if (::mkdir(home.c_str(), 0755) != 0 && errno != EEXIST)
        ok = Fail("mkdir " + home);
    bool anyUser = s.uid != 0;
    for (const Run& run : s.runs)
        anyUser = anyUser || run.uid > 0;
    if (!anyUser)
        return ok;
    if (s.uid != 0 && ::chown(home.c_str(), s.uid, s.uid) != 0)
        ok = Fail("chown " + home);
    // The home of runs as another user than the scenario's.
    for (const Run& run : s.runs) {
        if (run.uid <= 0 || run.uid == s.uid)
            continue;
        const std::string other = "/home/user" + std::to_string(run.uid);
        if ((::mkdir(other.c_str(), 0755) != 0 && errno != EEXIST) || ::chown(other.c_str(), run.uid, run.uid) != 0)
            ok = Fail("prepare " + other);
    }
    if (DIR* dir = ::opendir("/dev")) {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strncmp(entry->d_name, "parport", 7) != 0)
                continue;
            const std::string dev = std::string("/dev/") + entry->d_name;
            if (::chown(dev.c_str(), 0, kPortGroup) != 0 || ::chmod(dev.c_str(), 0660) != 0)
                ok = Fail("give " + dev + " to group lp");
        }
        ::closedir(dir);
    }
    if (s.uid != 0 && ::chown(kConsoleTty, s.uid, s.uid) != 0)
        ok = Fail(std::string("chown ") + kConsoleTty);
    return ok;
}

bool WriteConfig(const Scenario& s, const std::string& home)
{
    if (!s.hasConfig)
        return true;
    const std::string path = home + "/config.ovm";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return Fail("create " + path);
    const bool written = ::write(fd, s.config.data(), s.config.size()) == static_cast<ssize_t>(s.config.size());
    ::close(fd);
    if (!written || (s.uid != 0 && ::chown(path.c_str(), s.uid, s.uid) != 0))
        return Fail("write " + path);
    return true;
}

// In the child, whose standard error is the run's error file: the reader sees why.
[[noreturn]] void ChildFails(const std::string& what)
{
    std::fprintf(stderr, "init: %s: %s\n", what.c_str(), std::strerror(errno));
    std::fflush(stderr);
    ::_exit(127);
}

// In the child: the console as the controlling terminal of a new session, of a fixed size.
void TakeConsole(const Scenario& s)
{
    ::setsid();
    const int fd = ::open(kConsoleTty, O_RDWR);
    if (fd < 0)
        ChildFails(std::string("open ") + kConsoleTty);
    ::ioctl(fd, TIOCSCTTY, 0);
    winsize size{};
    size.ws_row = static_cast<unsigned short>(s.rows);
    size.ws_col = static_cast<unsigned short>(s.cols);
    ::ioctl(fd, TIOCSWINSZ, &size);
    ::dup2(fd, 0);
    ::dup2(fd, 1);
    if (fd > 1)
        ::close(fd);
}

void BecomeUser(int uid)
{
    if (uid == 0)
        return;
    const gid_t groups[] = {static_cast<gid_t>(kPortGroup)};
    if (::setgroups(1, groups) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0)
        ChildFails("become user " + std::to_string(uid));
}

// Starts the run's program; its pid, or -1.
pid_t Start(const Scenario& s, const Run& run, const std::string& home, const std::string& out,
            const std::string& err)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    // A run whose first word is "2>&-" starts with standard error closed, as a shell leaves it.
    const bool closeErr = !run.args.empty() && run.args.front() == "2>&-";
    if (pid == 0) {
        if (!closeErr)
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        if (run.Panel()) {
            TakeConsole(s);
        } else {
            ::dup2(::open("/dev/null", O_RDONLY), 0);
            ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        }
        BecomeUser(run.uid >= 0 ? run.uid : s.uid);
        if (::chdir(home.c_str()) != 0)
            ChildFails("chdir " + home);
        std::vector<std::string> argv{kProgram};
        argv.insert(argv.end(), run.args.begin() + (closeErr ? 1 : 0), run.args.end());
        std::vector<char*> args;
        for (std::string& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        std::string envHome = "HOME=" + home;
        char term[] = "TERM=xterm-256color", lang[] = "LANG=C.UTF-8", path[] = "PATH=/usr/bin:/bin";
        char* env[] = {term, lang, path, envHome.data(), nullptr};
        if (closeErr)
            ::close(2);  // last, so that none of the redirections above took its place
        ::execve(kProgram, args.data(), env);
        ChildFails(std::string("execute ") + kProgram);
    }
    return pid;
}

// Waits for the run and reports the most memory it held (its peak resident set).
int Wait(pid_t pid, std::size_t number)
{
    if (pid < 0)
        return -1;
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    Report("run " + std::to_string(number) + " peak " + std::to_string(usage.ru_maxrss));
    return status;
}

// The loop a recorder is measured against: the three registers of the port at 0x378 read one
// after another, as fast as the way allows, for the time asked; nothing else in the loop but a
// look at the clock every 256 rounds ("direct", "ppdev"), or at every round ("direct-clock": the
// least any recorder that stamps each sample must do). Reports the rounds and the nanoseconds.
void BareLoop(std::size_t number, const std::string& way, int milliseconds)
{
    const std::string tag = "run " + std::to_string(number) + " ";
    int fd = -1;
    if (way == "ppdev") {
        fd = ::open("/dev/parport0", O_RDWR);
        if (fd < 0 || ::ioctl(fd, PPCLAIM) != 0) {
            Report(tag + "error ppdev: " + std::strerror(errno));
            return;
        }
    } else if (way != "direct" && way != "direct-clock") {
        Report(tag + "error no such way: " + way);
        return;
    } else if (::ioperm(0x378, 3, 1) != 0) {
        Report(tag + "error ioperm: " + std::strerror(errno));
        return;
    }
    volatile unsigned sink = 0;
    unsigned char byte = 0;
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::milliseconds(milliseconds);
    long rounds = 0;
    auto now = start;
    while (now < end) {
        for (int i = 0; i < 256; ++i) {
            if (fd >= 0) {
                ::ioctl(fd, PPRDATA, &byte);
                sink = sink + byte;
                ::ioctl(fd, PPRSTATUS, &byte);
                sink = sink + byte;
                ::ioctl(fd, PPRCONTROL, &byte);
                sink = sink + byte;
            } else {
                sink = sink + ::inb(0x378) + ::inb(0x379) + ::inb(0x37A);
            }
            if (way == "direct-clock") {
                timespec stamp{};
                ::clock_gettime(CLOCK_MONOTONIC, &stamp);
                sink = sink + static_cast<unsigned>(stamp.tv_nsec);
            }
        }
        rounds += 256;
        now = std::chrono::steady_clock::now();
    }
    const long long took = std::chrono::duration_cast<std::chrono::nanoseconds>(now - start).count();
    if (fd >= 0) {
        ::ioctl(fd, PPRELEASE);
        ::close(fd);
    }
    Report(tag + "stdout " + std::to_string(rounds) + " " + std::to_string(took));
    Report(tag + "exit 0");
    Report(tag + "config.ovm missing");
}

void ReportLines(const std::string& prefix, const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        Report(prefix + line);
}

// A print job as lp takes one: a process that writes the text to /dev/lp0, which returns only
// once the driver has had the port for all of it.
void StartPrintJob(const std::string& text, unsigned delaySeconds = 2)
{
    if (::fork() != 0)
        return;
    ::sleep(delaySeconds);  // the program has claimed the port by now
    Report("printjob start");
    const int fd = ::open("/dev/lp0", O_WRONLY);
    const bool sent = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    Report(sent ? "printjob done" : std::string("error printjob: ") + std::strerror(errno));
    std::_Exit(0);
}

std::string OutFile(std::size_t number)
{
    return "/tmp/run" + std::to_string(number) + ".out";
}

std::string ErrFile(std::size_t number)
{
    return "/tmp/run" + std::to_string(number) + ".err";
}

// How a run ended, with what it wrote, under its own number.
void ReportEnd(const Run& run, std::size_t number, int status, const std::string& home)
{
    const std::string tag = "run " + std::to_string(number) + " ";
    const std::string out = OutFile(number), err = ErrFile(number);
    if (!run.Panel())
        ReportLines(tag + "stdout ", out);
    ReportLines(tag + "stderr ", err);
    if (status < 0)
        Report(tag + "error fork: " + std::strerror(errno));
    else if (WIFSIGNALED(status))
        Report(tag + "signal " + std::to_string(WTERMSIG(status)));
    else
        Report(tag + "exit " + std::to_string(WEXITSTATUS(status)));
    const std::string config = home + "/config.ovm";
    if (::access(config.c_str(), F_OK) == 0)
        Report(tag + "config.ovm " + Encode(ReadText(config)));
    else
        Report(tag + "config.ovm missing");
}

// The last background run still running: its number and pid.
struct Background {
    std::size_t number = 0;
    pid_t pid = -1;
    std::string home;
};

void PerformRun(const Scenario& s, std::size_t number, const std::string& scenarioHome, Background& background)
{
    const std::string tag = "run " + std::to_string(number) + " ";
    const Run& run = s.runs[number - 1];
    const std::string home = run.uid > 0 && run.uid != s.uid ? "/home/user" + std::to_string(run.uid) : scenarioHome;
    if (run.kind == Run::Kind::Sleep) {
        ::usleep(static_cast<useconds_t>(run.milliseconds) * 1000);
        return;
    }
    if (run.kind == Run::Kind::Print) {
        StartPrintJob(run.text, 0);
        return;
    }
    if (run.kind == Run::Kind::BareLoop) {
        BareLoop(number, run.text, run.milliseconds);
        return;
    }
    if (run.kind == Run::Kind::Signal) {
        if (background.pid < 0) {
            Report(tag + "error no background run to signal");
            return;
        }
        ::kill(background.pid, run.signal);
        ReportEnd(s.runs[background.number - 1], background.number, Wait(background.pid, background.number),
                  background.home);
        background = {};
        return;
    }
    Report(tag + "start");
    if (number == 1 && !s.printJob.empty())
        StartPrintJob(s.printJob);
    const pid_t pid = Start(s, run, home, OutFile(number), ErrFile(number));
    if (run.kind != Run::Kind::Background) {
        ReportEnd(run, number, Wait(pid, number), home);
        return;
    }
    background = {number, pid, home};
    // Going on once it has spoken: a recording has chosen its port and begun.
    struct stat info {};
    for (int i = 0; i < 3000 && (::stat(ErrFile(number).c_str(), &info) != 0 || info.st_size == 0); ++i)
        ::usleep(10000);
}

[[noreturn]] void PowerOff()
{
    std::fflush(nullptr);
    ::sync();
    ::reboot(RB_POWER_OFF);
    // Only reached if the kernel refused; with panic=-1 and -no-reboot the emulator still stops.
    std::_Exit(1);
}

}  // namespace

int main()
{
    bool ok = Mount("devtmpfs", "/dev");
    hwtest::UseConsole();
    ok = Mount("proc", "/proc") && ok;
    ok = Mount("sysfs", "/sys") && ok;
    ::mkdir("/tmp", 01777);
    const Scenario s = ReadScenario();
    const std::string home = s.uid == 0 ? "/root" : "/home/user";
    ::mkdir("/home", 0755);
    ok = LoadDrivers(s) && ok;
    ok = PrepareUser(s, home) && ok;
    ok = WriteConfig(s, home) && ok;
    // A scenario whose preparation failed would test something else; the host sees the error.
    Background background;
    if (ok)
        for (std::size_t i = 1; i <= s.runs.size(); ++i)
            PerformRun(s, i, home, background);
    Report("end");
    PowerOff();
}
