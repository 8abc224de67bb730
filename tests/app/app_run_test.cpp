// The application's run: the panel once, modally, and config.ovm written only after OK.
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include "afx/headless.h"
#include "afx/input.h"
#include "app/LptApp.h"
#include "io/linux_system_calls.h"
#include "io/simulated_port.h"
#include "port/portio.h"
#include "res/resource.h"
#include "support/temp_dir.h"

using namespace testsupport;
namespace input = afx::input;

namespace {

// Tells whether anything opened, made or renamed into config.ovm after the watch began.
class OpenWatch {
public:
    explicit OpenWatch(const std::filesystem::path& dir)
        : m_fd(inotify_init1(IN_NONBLOCK)), m_wd(inotify_add_watch(m_fd, dir.c_str(), IN_OPEN | IN_CREATE | IN_MOVED_TO)) {}
    ~OpenWatch() { close(m_fd); }
    bool SawConfigFile() const
    {
        alignas(inotify_event) char buf[4096];
        bool seen = false;
        for (ssize_t n; (n = read(m_fd, buf, sizeof buf)) > 0;) {
            for (char* p = buf; p < buf + n;) {
                auto* e = reinterpret_cast<inotify_event*>(p);
                seen |= e->len && std::string(e->name) == "config.ovm";
                p += sizeof(inotify_event) + e->len;
            }
        }
        return seen;
    }

private:
    int m_fd, m_wd;
};

struct AppRun {
    TempWorkDir dir;
    io::SimulatedPort sim{{0x278, 0x300, 0x378, 0x3BC}};
    afx::HeadlessFrontend ui;
    CLptApp app;
    int exitCode = -99;

    AppRun() { port::InstallBus(&sim); }
    ~AppRun() { port::InstallBus(nullptr); }
    HWND Panel() { return ui.Main(); }
    HWND Item(int id) { return Panel()->Child(id); }
    void Run() { exitCode = AfxWinMain(); }
    std::filesystem::path Config() { return dir.File("config.ovm"); }
};

struct EndCase {
    const char* name;
    std::function<void(AppRun&)> end;
    bool written;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

const EndCase kEnds[] = {
    {"OkButton", [](AppRun& r) { input::Click(r.Item(IDOK)); }, true},
    {"EnterInTheDataValueField", [](AppRun& r) { input::Key(r.Panel(), VK_RETURN); }, true},
    {"CancelButton", [](AppRun& r) { input::Click(r.Item(IDCANCEL)); }, false},
    {"EscapeKey", [](AppRun& r) { input::Key(r.Panel(), VK_ESCAPE); }, false},
    {"CloseBox", [](AppRun& r) { input::Close(r.Panel()); }, false},
};

class AppEnd : public testing::TestWithParam<EndCase> {};

// After OK the file holds exactly the selected label; after Cancel it is not even opened.
TEST_P(AppEnd, WritesTheChosenPortOnlyOnOk)
{
    const EndCase& c = GetParam();
    AppRun r;
    WriteFile(r.Config(), "0x03BC");
    std::unique_ptr<OpenWatch> watch;
    r.ui.Then([&] {
        EXPECT_EQ(r.Item(IDC_BASE_ADDR)->sel, 3);
        watch = std::make_unique<OpenWatch>(r.dir.Path());  // the start-up's read is over
        input::Pick(r.Item(IDC_BASE_ADDR), 2);
    });
    r.ui.Then([&] { c.end(r); });
    r.Run();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.ui.WindowsCreated(), 1);  // the panel is shown once and never again
    EXPECT_TRUE(r.ui.Open().empty());
    EXPECT_EQ(watch->SawConfigFile(), c.written);
    EXPECT_EQ(ReadFile(r.Config()), c.written ? "0x0378" : "0x03BC");
}

INSTANTIATE_TEST_SUITE_P(App, AppEnd, testing::ValuesIn(kEnds),
                         [](const testing::TestParamInfo<EndCase>& i) { return std::string(i.param.name); });

// A remembered port that is absent this time (a card unplugged, a driver not loaded) leaves the
// list without a selection; OK then has no choice to save and must not forget the old one.
TEST(AppSave, OkWithNothingSelectedLeavesTheFileAsItIs)
{
    for (std::optional<std::string> saved : {std::optional<std::string>("0x0300\n"), std::optional<std::string>()}) {
        AppRun r;
        if (saved)
            WriteFile(r.Config(), *saved);
        io::SimulatedPort only0378{{0x378}};
        port::InstallBus(&only0378);  // the saved port no longer answers
        std::unique_ptr<OpenWatch> watch;
        r.ui.Then([&] {
            EXPECT_EQ(r.Item(IDC_BASE_ADDR)->sel, CB_ERR);
            watch = std::make_unique<OpenWatch>(r.dir.Path());
            input::Click(r.Item(IDOK));
        });
        r.Run();
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_FALSE(watch->SawConfigFile());
        EXPECT_EQ(std::filesystem::exists(r.Config()), saved.has_value());
        if (saved) {
            EXPECT_EQ(ReadFile(r.Config()), *saved);
        }
    }
}

TEST(AppSave, SavedChoiceIsSelectedAtTheNextStart)
{
    AppRun first;
    first.ui.Then([&] { input::Pick(first.Item(IDC_BASE_ADDR), 2); });
    first.ui.Then([&] { input::Click(first.Item(IDOK)); });
    first.Run();
    ASSERT_EQ(ReadFile(first.Config()), "0x0378");

    afx::HeadlessFrontend again;
    CLptApp app;
    int sel = -2;
    again.Then([&] {
        sel = again.Main()->Child(IDC_BASE_ADDR)->sel;
        input::Key(again.Main(), VK_ESCAPE);
    });
    AfxWinMain();
    EXPECT_EQ(sel, 2);
}

TEST(AppSave, NothingIsSavedWhenThePanelCannotBeCreated)
{
    AppRun r;
    r.ui.FailCreation(true);
    r.Run();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(r.Config()));
}

// A file that cannot be written keeps what it held, and the user is told: a line on standard
// error with the file's full name and the system's reason, a message box, and status 1. Root
// may write anything, so the run happens in a child that has given up root (or, for root's own
// case, every capability, as the program does at start); it sends back the box's text on
// standard output.
TEST(AppSave, AFailedSaveIsReportedAndTheFileKeepsWhatItHeld)
{
    namespace fs = std::filesystem;
    using P = fs::perms;
    constexpr P kOpen = P::owner_all | P::others_read | P::others_exec;
    constexpr P kReadOnly = P::owner_read | P::owner_exec | P::others_read | P::others_exec;
    const std::string kRootHint = " (Vellix gives up root's privileges at start, so root may read and write only "
                                  "where the permissions let it: run Vellix as the owner of this directory, or in one "
                                  "of root's)";
    struct Case {
        const char* name;
        P dirPerms;
        std::optional<std::string> file;  // config.ovm before, or none
        bool fileReadOnly;
        bool sizeLimit;  // no file may grow: the write fails (and SIGXFSZ must not end the program)
        bool asRoot;     // root without capabilities, in a directory of another user's
        std::string reason;
    } cases[] = {
        {"ReadOnlyFile", kOpen, "0x0278", true, false, false, "Permission denied"},
        {"ReadOnlyDirectory", kReadOnly, std::nullopt, false, false, false, "Permission denied"},
        {"ReadOnlyDirectoryWithAFile", kReadOnly, "0x0278", false, false, false, "Permission denied"},
        {"FileSizeLimit", kOpen, "0x0278", false, true, false, "File too large"},
        {"RootInAnotherUsersDirectory", P::owner_all, "0x0278", false, false, true,
         "Permission denied" + kRootHint},
    };
    for (const Case& c : cases) {
        TempWorkDir dir;
        if (c.asRoot && getuid() != 0)
            continue;  // only root can be root without its privileges
        if (c.file) {
            WriteFile(dir.File("config.ovm"), *c.file);
            if (c.fileReadOnly)
                fs::permissions(dir.File("config.ovm"), P::owner_read | P::others_read);
        }
        if (getuid() == 0 && c.file) {
            ASSERT_EQ(chown(dir.File("config.ovm").c_str(), 65534, 65534), 0);
        }
        if (getuid() == 0) {
            ASSERT_EQ(chown(dir.Path().c_str(), 65534, 65534), 0);
        }
        fs::permissions(dir.Path(), c.dirPerms);
        int out[2], err[2];
        ASSERT_EQ(pipe(out), 0);
        ASSERT_EQ(pipe(err), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            if (c.asRoot) {
                io::LinuxSystemCalls sys;
                if (sys.ClearCapabilities() != 0)
                    _exit(3);
            } else if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                _exit(3);
            }
            const rlimit noGrowth{0, 0};
            if (c.sizeLimit && setrlimit(RLIMIT_FSIZE, &noGrowth) != 0)
                _exit(3);
            io::SimulatedPort sim{{0x278, 0x378}};
            port::InstallBus(&sim);
            afx::HeadlessFrontend ui;
            CLptApp app;
            ui.Then([&] { input::Pick(ui.Main()->Child(IDC_BASE_ADDR), 1); });
            ui.Then([&] { input::Click(ui.Main()->Child(IDOK)); });
            ui.Then([&] {
                // The panel has closed; the one window is the box, which tells why.
                if (ui.Open().size() != 1 || ui.WindowsCreated() != 2)
                    _exit(5);
                for (const auto& child : ui.Active()->children)
                    if (child->kind == afx::Kind::StaticText)
                        std::printf("%s\n", child->text.c_str());
                std::fflush(stdout);
                input::Key(ui.Active(), VK_RETURN);
            });
            int code = AfxWinMain();
            _exit(!ui.ScriptDone() ? 4 : code);
        }
        close(out[1]);
        close(err[1]);
        auto drain = [](int fd) {
            std::string text;
            char buf[512];
            for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;)
                text.append(buf, static_cast<std::size_t>(n));
            close(fd);
            return text;
        };
        std::string box = drain(out[0]);
        std::string errors = drain(err[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_EQ(WEXITSTATUS(status), 1) << c.name;
        fs::permissions(dir.Path(), P::owner_all);
        std::string path = (fs::canonical(dir.Path()) / "config.ovm").string();
        EXPECT_EQ(errors, std::string(program_invocation_short_name) + ": cannot save the port choice to " + path + ": " + c.reason + "\n") << c.name;
        EXPECT_EQ(box, "The port choice was not saved to\n" + path + "\n" + c.reason + ".\n") << c.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), c.file ? 1 : 0)
            << c.name << ": nothing is left beside the file";
        EXPECT_EQ(fs::exists(dir.File("config.ovm")), c.file.has_value()) << c.name;
        if (c.file) {
            EXPECT_EQ(ReadFile(dir.File("config.ovm")), *c.file) << c.name;
        }
    }
}

TEST(AppHelp, HelpKeyShowsTheHelpTextInABoxOwnedByThePanel)
{
    AppRun r;
    std::string firstLine;
    r.ui.Then([&] { input::Key(r.Panel(), VK_F1); });
    r.ui.Then([&] {
        HWND box = r.ui.Active();
        ASSERT_NE(box, r.Panel());
        EXPECT_EQ(box->owner, r.Panel());
        firstLine = box->children.front()->text;
        input::Key(box, VK_RETURN);
    });
    r.ui.Then([&] { input::Key(r.Panel(), VK_ESCAPE); });
    r.Run();
    EXPECT_FALSE(firstLine.empty());
}

}  // namespace
