// The program started in a hostile working directory: config.ovm unwritable, a directory, a
// symlink, a FIFO, a device, a huge file. Start-up takes the first line where one can be read and
// selects nothing otherwise; OK writes only a regular file of one name and reports every save it
// could not make. Nothing hangs, nothing crashes, nothing else in the directory is touched.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include <gtest/gtest.h>

#include "afx/headless.h"
#include "afx/input.h"
#include "app/LptApp.h"
#include "io/simulated_port.h"
#include "port/portio.h"
#include "res/resource.h"
#include "support/temp_dir.h"

using namespace testsupport;
namespace fs = std::filesystem;
namespace input = afx::input;

namespace {

constexpr uid_t kNobody = 65534;
constexpr unsigned kGuardSeconds = 20;     // far above a normal run, to turn a hang into a failure
constexpr off_t kHuge = 50L * 1024 * 1024;  // sparse: costs no disk

// With the ports 0x278 and 0x378 answering, the list holds "0x0278" (0) and "0x0378" (1).
constexpr int kNone = CB_ERR;
constexpr int k0278 = 0;
constexpr int k0378 = 1;

// Every entry below the working directory: type, permissions, link target, size and small contents.
using Tree = std::map<std::string, std::string>;

Tree Snapshot(const fs::path& root)
{
    Tree tree;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::none);
         it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& p = it->path();
        fs::file_status st = fs::symlink_status(p);
        std::string d = std::to_string(static_cast<int>(st.type())) + " " +
                        std::to_string(static_cast<int>(st.permissions()));
        if (fs::is_symlink(st))
            d += " -> " + fs::read_symlink(p).string();
        else if (fs::is_regular_file(st)) {
            d += " size " + std::to_string(fs::file_size(p));
            if (fs::file_size(p) <= 4096)
                d += " \"" + ReadFile(p) + "\"";
        }
        tree[p.lexically_relative(root).string()] = d;
    }
    return tree;
}

void Sparse(const fs::path& p, const std::string& head)
{
    WriteFile(p, head);
    ASSERT_EQ(truncate(p.c_str(), kHuge), 0);
}

struct EnvCase {
    const char* name;
    std::function<void(const fs::path& dir)> setUp;
    int selectedAtStart;                   // the Base Addr entry selected once the panel is up
    std::optional<std::string> afterOk;    // config.ovm after picking 0x0378 and OK
    const char* refusal = nullptr;         // else the reason the save fails, as reported
    bool lockDirectory = false;            // the working directory itself is read-only
    bool removeDirectory = false;          // the program runs in "gone", removed once it has started
    bool plantedLinks = false;             // symbolic links belong to another user, not to the one who runs it
    const char* savedTo = "config.ovm";    // where OK's text lands: config.ovm, or the file a link of its names
};

void PrintTo(const EnvCase& c, std::ostream* os) { *os << c.name; }

constexpr const char* kPlanted = "Is a symbolic link that another user owns";

const EnvCase kCases[] = {
    {"UnwritableWorkingDirectory", [](const fs::path&) {}, kNone, std::nullopt, "Permission denied", true},
    {"ConfigIsADirectory",
     [](const fs::path& d) {
         fs::create_directory(d / "config.ovm");
         WriteFile(d / "config.ovm" / "0x0378", "0x0378");
     },
     kNone, std::nullopt, "Is a directory"},
    // The user's own links are followed, as a dotfiles manager makes them.
    {"OwnSymlinkToAFileElsewhere",
     [](const fs::path& d) {
         fs::create_directory(d / "dotfiles");
         WriteFile(d / "dotfiles" / "config.ovm", "0x0278");
         fs::create_symlink("dotfiles/config.ovm", d / "config.ovm");
     },
     k0278, "0x0378", nullptr, false, false, false, "dotfiles/config.ovm"},
    {"OwnDanglingSymlink", [](const fs::path& d) { fs::create_symlink("elsewhere", d / "config.ovm"); }, kNone,
     "0x0378", nullptr, false, false, false, "elsewhere"},
    {"OwnSymlinkToAReadOnlyFileInALockedDirectory",
     [](const fs::path& d) {
         fs::create_directory(d / "locked");
         WriteFile(d / "locked" / "saved", "0x0278");
         using P = fs::perms;
         fs::permissions(d / "locked" / "saved", P::owner_read | P::group_read | P::others_read);
         fs::create_symlink("locked/saved", d / "config.ovm");
     },
     k0278, std::nullopt, "Permission denied"},
    {"OwnSymlinkToDevZero", [](const fs::path& d) { fs::create_symlink("/dev/zero", d / "config.ovm"); }, kNone,
     std::nullopt, "Not a regular file"},
    {"OwnDanglingSymlinkIntoALockedDirectory",
     [](const fs::path& d) {
         fs::create_directory(d / "locked");
         fs::create_symlink("locked/none", d / "config.ovm");
     },
     kNone, std::nullopt, "Permission denied"},
    {"OwnSymlinkToADirectory",
     [](const fs::path& d) {
         fs::create_directory(d / "locked");
         fs::create_directory_symlink("locked", d / "config.ovm");
     },
     kNone, std::nullopt, "Is a directory"},
    // Someone else's link, planted: OK must neither empty the file it names nor write it.
    {"PlantedSymlinkToAWritableFile",
     [](const fs::path& d) {
         WriteFile(d / "victim", "0x0278 and more that must stay");
         fs::create_symlink("victim", d / "config.ovm");
     },
     kNone, std::nullopt, kPlanted, false, false, true},
    // Following it would create a file under a name someone else chose.
    {"PlantedDanglingSymlink", [](const fs::path& d) { fs::create_symlink("planted", d / "config.ovm"); }, kNone,
     std::nullopt, kPlanted, false, false, true},
    {"PlantedSymlinkToAReadOnlyFile",
     [](const fs::path& d) {
         WriteFile(d / "saved", "0x0278");
         fs::create_symlink("saved", d / "config.ovm");
     },
     k0278, std::nullopt, kPlanted, false, false, true},  // read through the link, never written through it
    // A second name of another file: emptying it would empty that file too.
    {"HardLinkToAnotherFile",
     [](const fs::path& d) {
         WriteFile(d / "other", "0x0278");
         fs::create_hard_link(d / "other", d / "config.ovm");
     },
     k0278, std::nullopt, "Has more than one name (a hard link)"},
    {"FifoWithoutAWriter", [](const fs::path& d) { ASSERT_EQ(mkfifo((d / "config.ovm").c_str(), 0666), 0); }, kNone,
     std::nullopt, "Not a regular file"},
    {"RemovedWorkingDirectory", [](const fs::path& d) { fs::create_directory(d / "gone"); }, kNone, std::nullopt,
     "No such file or directory", false, true},
    {"HugeSparseFileOfZeros", [](const fs::path& d) { Sparse(d / "config.ovm", ""); }, kNone, "0x0378"},
    {"HugeFileWhoseFirstLineIsALabel", [](const fs::path& d) { Sparse(d / "config.ovm", "0x0378\r\n"); }, k0378,
     "0x0378"},
    {"HugeFileWithALongFirstLine", [](const fs::path& d) { Sparse(d / "config.ovm", std::string(1 << 20, '0')); },
     kNone, "0x0378"},
};

// What the child saw, sent back through a pipe.
struct ChildReport {
    int selectedAtStart = -2;
    int exitCode = -1;
    bool scriptDone = false;
    int windowsCreated = 0;  // the panel, and a message box if one was shown
};

// Runs the program in a child that is not root (root ignores permissions): note the selection,
// pick 0x0378, press OK. alarm() turns a hang into SIGALRM, which the parent sees.
[[noreturn]] void RunAsUser(int reportFd, bool removeDirectory)
{
    alarm(kGuardSeconds);
    if (getuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
        _exit(3);
    if (removeDirectory && (chdir("gone") != 0 || rmdir("../gone") != 0))
        _exit(6);
    io::SimulatedPort sim{{0x278, 0x378}};
    port::InstallBus(&sim);
    afx::HeadlessFrontend ui;
    CLptApp app;
    ChildReport r;
    ui.Then([&] {
        r.selectedAtStart = ui.Main()->Child(IDC_BASE_ADDR)->sel;
        input::Pick(ui.Main()->Child(IDC_BASE_ADDR), k0378);
    });
    ui.Then([&] { input::Click(ui.Main()->Child(IDOK)); });
    r.exitCode = AfxWinMain();  // a message box, if any, is closed as the script has ended
    r.scriptDone = ui.ScriptDone();
    r.windowsCreated = ui.WindowsCreated();
    if (write(reportFd, &r, sizeof r) != static_cast<ssize_t>(sizeof r))
        _exit(4);
    _exit(0);
}

struct ChildRun {
    int status = 0;
    bool reported = false;
    ChildReport report;
    std::string errors;  // what it wrote on standard error
};

// Forks the run; `heldFd`, if any, is the parent's own and is closed in the child.
ChildRun Spawn(int heldFd = -1, bool removeDirectory = false)
{
    ChildRun run;
    int pipeFds[2], errFds[2];
    if (pipe(pipeFds) != 0 || pipe(errFds) != 0)
        return run;
    pid_t pid = fork();
    if (pid == 0) {
        if (heldFd >= 0)
            close(heldFd);
        close(pipeFds[0]);
        close(errFds[0]);
        dup2(errFds[1], STDERR_FILENO);
        RunAsUser(pipeFds[1], removeDirectory);
    }
    close(pipeFds[1]);
    close(errFds[1]);
    const auto want = static_cast<ssize_t>(sizeof run.report);
    run.reported = pid > 0 && read(pipeFds[0], &run.report, sizeof run.report) == want;
    close(pipeFds[0]);
    char buf[512];
    for (ssize_t n; (n = read(errFds[0], buf, sizeof buf)) > 0;)
        run.errors.append(buf, static_cast<std::size_t>(n));
    close(errFds[0]);
    if (pid > 0)
        waitpid(pid, &run.status, 0);
    return run;
}

testing::AssertionResult Ended(const ChildRun& run, int exitCode)
{
    if (WIFSIGNALED(run.status))
        return testing::AssertionFailure() << "killed by signal " << WTERMSIG(run.status)
                                           << (WTERMSIG(run.status) == SIGALRM ? " (hung)" : "");
    if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0 || !run.reported)
        return testing::AssertionFailure() << "the child failed, status " << run.status;
    if (run.report.exitCode != exitCode || !run.report.scriptDone)
        return testing::AssertionFailure() << "the program ended with " << run.report.exitCode
                                           << (run.report.scriptDone ? "" : " before the script was done");
    return testing::AssertionSuccess();
}

// Makes a directory read-only for as long as it lives, so that the working directory can be
// removed again whatever the test's outcome.
class Lock {
public:
    explicit Lock(fs::path dir) : m_dir(std::move(dir))
    {
        using P = fs::perms;
        if (!m_dir.empty() && fs::is_directory(fs::symlink_status(m_dir)))
            fs::permissions(m_dir, P::owner_read | P::owner_exec | P::group_read | P::group_exec | P::others_read |
                                       P::others_exec);
        else
            m_dir.clear();
    }
    ~Lock()
    {
        std::error_code ec;
        if (!m_dir.empty())
            fs::permissions(m_dir, fs::perms::owner_all, ec);
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    fs::path m_dir;
};

class BadEnvironment : public testing::TestWithParam<EnvCase> {};

TEST_P(BadEnvironment, StartIsSilentAndOkSavesOrSaysWhyNotAndTouchesNothingElse)
{
    const EnvCase& c = GetParam();
    TempWorkDir dir;
    c.setUp(dir.Path());
    // A non-root user owns the tree, as a user owns their own directory; planted links stay root's.
    if (c.plantedLinks && getuid() != 0)
        GTEST_SKIP() << "a link of another user's needs root to make";
    if (getuid() == 0) {
        for (const auto& e : fs::recursive_directory_iterator(dir.Path())) {
            if (!(c.plantedLinks && fs::is_symlink(e.symlink_status()))) {
                ASSERT_EQ(lchown(e.path().c_str(), kNobody, kNobody), 0) << e.path();
            }
        }
        ASSERT_EQ(chown(dir.Path().c_str(), kNobody, kNobody), 0);
    }
    Lock lockedDir(dir.File("locked"));
    Lock lockedWorkDir(c.lockDirectory ? dir.Path() : fs::path());
    const Tree before = Snapshot(dir.Path());

    const ChildRun run = Spawn(-1, c.removeDirectory);
    ASSERT_TRUE(Ended(run, c.refusal ? 1 : 0)) << run.errors;
    EXPECT_EQ(run.report.selectedAtStart, c.selectedAtStart);

    Tree after = Snapshot(dir.Path());
    Tree expected = before;
    if (c.removeDirectory)
        expected.erase("gone");
    if (c.afterOk) {
        // OK rewrites the file: exactly the label, nothing else changed; a link stays a link.
        ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(dir.File(c.savedTo))));
        EXPECT_EQ(ReadFile(dir.File(c.savedTo)), *c.afterOk);
        after.erase(c.savedTo);
        expected.erase(c.savedTo);
        EXPECT_EQ(run.errors, "");
        EXPECT_EQ(run.report.windowsCreated, 1);
    } else {
        std::string path = c.removeDirectory ? "config.ovm" : (fs::canonical(dir.Path()) / "config.ovm").string();
        EXPECT_EQ(run.errors, std::string(program_invocation_short_name) + ": cannot save the port choice to " + path + ": " + c.refusal + "\n");
        EXPECT_EQ(run.report.windowsCreated, 2) << "no message box told the user";
    }
    EXPECT_EQ(after, expected);
}

INSTANTIATE_TEST_SUITE_P(Reliability, BadEnvironment, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<EnvCase>& i) { return std::string(i.param.name); });

// A FIFO that another process holds open without ever writing: the start must not wait for a
// line, and OK refuses to hand the label to whoever reads the FIFO.
TEST(BadEnvironmentFifo, WriterThatSendsNothingDoesNotStallTheStart)
{
    TempWorkDir dir;
    ASSERT_EQ(mkfifo(dir.File("config.ovm").c_str(), 0666), 0);
    // Opening for reading and writing never blocks and keeps both ends present.
    int held = open(dir.File("config.ovm").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(held, 0);
    if (getuid() == 0) {
        ASSERT_EQ(chown(dir.Path().c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(chown(dir.File("config.ovm").c_str(), kNobody, kNobody), 0);
    }

    const ChildRun run = Spawn(held);
    char sent[16] = {};
    ssize_t n = read(held, sent, sizeof sent);
    close(held);

    ASSERT_TRUE(Ended(run, 1));
    EXPECT_EQ(run.report.selectedAtStart, kNone);
    EXPECT_LE(n, 0) << "the label went into the FIFO";
    EXPECT_NE(run.errors.find("config.ovm: Not a regular file\n"), std::string::npos) << run.errors;
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(dir.File("config.ovm"))));
}

}  // namespace
