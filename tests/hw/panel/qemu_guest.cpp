#include "qemu_guest.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "guest_protocol.h"

namespace hwpanel {
namespace {

namespace fs = std::filesystem;

// A screen update comes in one burst; this long without a byte means it is complete. The
// emulated serial line is slower than a pseudo-terminal, hence more than the pty tests wait.
constexpr int kSettleMs = 150;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

fs::path MakeTempDir(const char* pattern)
{
    std::string path = (fs::temp_directory_path() / pattern).string();
    if (::mkdtemp(path.data()) == nullptr)
        throw std::runtime_error("mkdtemp: " + std::string(std::strerror(errno)));
    return path;
}

// The console as plain text: escape sequences and other control characters taken out.
std::string PlainText(std::string_view raw)
{
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\x1b') {
            if (i + 1 < raw.size() && raw[i + 1] == '[') {
                i += 2;
                while (i < raw.size() && !(raw[i] >= 0x40 && raw[i] <= 0x7e))
                    ++i;
            } else if (i + 1 < raw.size() && raw[i + 1] == ']') {
                while (i < raw.size() && raw[i] != '\x07')
                    ++i;
            } else if (i + 1 < raw.size() && (raw[i + 1] == '(' || raw[i + 1] == ')')) {
                i += 2;
            } else {
                ++i;
            }
        } else if (c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= 0x20) {
            text.push_back(c);
        }
    }
    return text;
}

struct ImageHolder {
    GuestImage image;
    fs::path dir;

    ImageHolder()
    {
        try {
            dir = MakeTempDir("vellix-guest-image-XXXXXX");
        } catch (const std::exception& e) {
            image.error = e.what();
            return;
        }
        const std::string command = std::string("bash '") + VELLIX_QEMU_IMAGE_SCRIPT + "' '" + VELLIX_PANEL_GUEST_INIT +
                                    "' '" + dir.string() + "' '" + VELLIX_TERM_PROGRAM + "' 2>&1";
        std::string output;
        if (FILE* p = ::popen(command.c_str(), "r")) {
            char buf[512];
            while (std::fgets(buf, sizeof buf, p))
                output += buf;
            const int status = ::pclose(p);
            if (status != 0)
                image.error = "packing the guest failed (" + command + "):\n" + output;
        } else {
            image.error = "cannot run " + command;
        }
        image.dir = dir;
    }
    ~ImageHolder()
    {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

// Where reverse video stands on the screen, which is where the focus is.
std::string ReverseRuns(const vt::Screen& s)
{
    std::string runs;
    for (int row = 0; row < s.Rows(); ++row) {
        for (int col = 0; col < s.Cols(); ++col) {
            if (!s.At(row, col).reverse)
                continue;
            const int first = col;
            std::string text;
            for (; col < s.Cols() && s.At(row, col).reverse; ++col)
                text += s.At(row, col).ch < 0x80 ? static_cast<char>(s.At(row, col).ch) : '?';
            runs += " row " + std::to_string(row) + " col " + std::to_string(first) + " \"" + text + "\"";
        }
    }
    return runs.empty() ? " none" : runs;
}

}  // namespace

const GuestImage& GuestImage::Get()
{
    static ImageHolder holder;
    return holder.image;
}

std::string KernelCommandLine(const GuestSetup& setup)
{
    using namespace guestproto;
    // quiet and loglevel=1 keep kernel messages off the console the panel is drawn on.
    std::string line = "console=ttyS0,115200 panic=-1 quiet loglevel=1";
    auto word = [&](std::string_view key, const std::string& value) {
        line += " " + std::string(key) + "=" + value;
    };
    word(kIo, Hex(setup.iobase));
    word(kLp, setup.lp ? "1" : "0");
    word(kUid, std::to_string(setup.uid));
    if (setup.config)
        word(kConfig, Encode(*setup.config));
    if (setup.printJob)
        word(kPrintJob, Encode(*setup.printJob));
    word(kRows, std::to_string(setup.rows));
    word(kCols, std::to_string(setup.cols));
    for (const GuestRun& run : setup.runs) {
        std::string value(kPanelRun);
        if (!run.panel && run.word.find(':') != std::string::npos) {
            value = run.word;
        } else if (!run.panel) {
            value = run.word + (run.uid ? "@" + std::to_string(*run.uid) : "") + ":";
            for (std::size_t i = 0; i < run.args.size(); ++i) {
                if (i != 0)
                    value += ',';
                value += Encode(run.args[i]);
            }
        }
        word(kRun, value);
    }
    return line;
}

GuestRun GuestRun::Print(const std::string& text)
{
    return {false, {}, "print:" + guestproto::Encode(text), std::nullopt};
}

Guest::Guest(const GuestImage& image, const GuestSetup& setup) : m_screen(setup.rows, setup.cols)
{
    m_dir = MakeTempDir("vellix-guest-XXXXXX");
    // The console on our pipes; every byte is the user's key.
    std::vector<std::string> argv = {
        "bash", VELLIX_QEMU_BOOT_SCRIPT, image.dir.string(), KernelCommandLine(setup),
        // Every byte strobed out while Init and SelectIn are set lands in this file.
        "-chardev", "file,id=printer,path=" + (m_dir / "printer").string(),
        "-device", "isa-parallel,chardev=printer,iobase=" + Hex(setup.iobase)};

    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
    const std::string errors = (m_dir / "qemu.err").string();
    m_pid = ::fork();
    if (m_pid < 0)
        throw std::runtime_error("fork: " + std::string(std::strerror(errno)));
    if (m_pid == 0) {
        // An emulator left behind by a killed test would wait for keys for ever.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        const int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err >= 0)
            ::dup2(err, 2);
        std::vector<char*> args;
        for (std::string& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    m_in = in[1];
    m_out = out[0];
    ::fcntl(m_out, F_SETFL, ::fcntl(m_out, F_GETFL) | O_NONBLOCK);
}

Guest::~Guest()
{
    if (m_pid > 0 && !m_exited) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    if (m_in >= 0)
        ::close(m_in);
    if (m_out >= 0)
        ::close(m_out);
    std::error_code ignored;
    fs::remove_all(m_dir, ignored);
}

bool Guest::ReadSome(int timeoutMs)
{
    if (!m_exited) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid)
            m_exited = true;
    }
    pollfd p{m_out, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return false;
    char buf[4096];
    const ssize_t n = ::read(m_out, buf, sizeof buf);
    if (n <= 0) {
        if (n == 0 && timeoutMs > 0)
            ::usleep(static_cast<useconds_t>(std::min(timeoutMs, 50)) * 1000);  // closed: do not spin
        return false;
    }
    m_console.append(buf, static_cast<std::size_t>(n));
    m_screen.Feed(std::string_view(buf, static_cast<std::size_t>(n)));
    return true;
}

void Guest::Send(std::string_view keys)
{
    // A user types one key at a time; the emulated serial line takes them as fast as that.
    while (!keys.empty()) {
        const ssize_t n = ::write(m_in, keys.data(), keys.size());
        if (n <= 0) {
            if (n < 0 && errno == EINTR)
                continue;
            return;
        }
        keys.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool Guest::WaitFor(const std::function<bool(const vt::Screen&)>& done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done(m_screen)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        // A guest that has powered off will show nothing more.
        if (!ReadSome(static_cast<int>(std::min<long long>(left.count(), 100))) && m_exited)
            return done(m_screen);
    }
    // The rest of the same screen update, so that what the caller looks at next is whole.
    while (ReadSome(kSettleMs)) {
    }
    return true;
}

std::vector<std::string> Guest::ReportLines() const
{
    std::vector<std::string> lines;
    std::istringstream in(m_console);
    std::string line;
    while (std::getline(in, line)) {
        // Only a whole line counts: the last one may still be arriving.
        if (in.eof())
            break;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // The terminal's reset may come before the report on the same line.
        const auto at = line.find(guestproto::kMarker);
        if (at != std::string::npos)
            lines.push_back(line.substr(at + guestproto::kMarker.size()));
    }
    return lines;
}

std::vector<std::string> Guest::Reports(std::string_view kind) const
{
    std::vector<std::string> found;
    const std::string prefix = std::string(kind) + " ";
    for (const std::string& line : ReportLines())
        if (line.starts_with(prefix))
            found.push_back(line.substr(prefix.size()));
        else if (line == kind)
            found.push_back("");
    return found;
}

RunReport Guest::Run(int number) const
{
    RunReport report;
    const std::string tag = "run " + std::to_string(number) + " ";
    for (const std::string& line : ReportLines()) {
        if (!line.starts_with(tag))
            continue;
        const std::string rest = line.substr(tag.size());
        if (rest.starts_with("stdout "))
            report.out.push_back(rest.substr(7));
        else if (rest.starts_with("stderr "))
            report.err.push_back(rest.substr(7));
        else if (rest.starts_with("exit "))
            report.exitCode = std::atoi(rest.c_str() + 5);
        else if (rest.starts_with("signal "))
            report.signal = std::atoi(rest.c_str() + 7);
        else if (rest.starts_with("peak "))
            report.peakKiB = std::atol(rest.c_str() + 5);
        else if (rest == "config.ovm missing")
            report.ended = true;
        else if (rest.starts_with("config.ovm "))
            report.ended = true, report.config = guestproto::Decode(rest.substr(11));
    }
    return report;
}

bool Guest::WaitForRun(int number, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!Run(number).ended) {
        if (std::chrono::steady_clock::now() > end || (m_exited && !ReadSome(0)))
            return false;
        ReadSome(100);
    }
    return true;
}

bool Guest::WaitForPowerOff(std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!m_exited || ReadSome(0)) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        ReadSome(100);
    }
    return !Reports("end").empty();
}

std::string Guest::PrinterBytes() const { return ReadFile(m_dir / "printer"); }

bool Guest::WaitForPrinter(std::size_t count, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (PrinterBytes().size() < count) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        ReadSome(50);  // keeps the console flowing while the guest works
    }
    return true;
}

std::string Guest::ScreenText() const { return m_screen.Text() + "reverse video:" + ReverseRuns(m_screen) + "\n"; }

std::string Guest::Diagnosis() const
{
    std::string text = "--- last screen ---\n" + ScreenText();
    std::string console = PlainText(m_console);
    constexpr std::size_t kTail = 6000;
    if (console.size() > kTail)
        console = "[...]" + console.substr(console.size() - kTail);
    text += "--- guest console (as text) ---\n" + console + "\n";
    text += "--- guest reports ---\n";
    for (const std::string& line : ReportLines())
        text += line + "\n";
    text += "--- printer ---\n" + std::to_string(PrinterBytes().size()) + " bytes:";
    for (unsigned char c : PrinterBytes()) {
        char hex[8];
        std::snprintf(hex, sizeof hex, " %02X", c);
        text += hex;
    }
    text += "\n";
    const std::string errors = ReadFile(m_dir / "qemu.err");
    if (!errors.empty())
        text += "--- emulator ---\n" + errors;
    return text;
}

}  // namespace hwpanel
