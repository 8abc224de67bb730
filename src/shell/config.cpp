#include "shell/config.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace config {
namespace {

constexpr int kBufferSize = 10;  // room for 9 characters and the terminator

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { if (m_fd >= 0) ::close(m_fd); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int Close()
    {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd);
    }

private:
    int m_fd;
};

}  // namespace

CString ReadSavedText(const char* pszFileName)
{
    // Non-blocking, so that a FIFO in the file's place cannot stall the start-up.
    Fd fd(::open(pszFileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode))
        return CString();

    // One more byte than can be stored, to see whether a carriage return ends the line.
    char raw[kBufferSize + 1];
    ssize_t got = ::read(fd.get(), raw, sizeof raw);
    if (got <= 0)
        return CString();

    std::string line;
    for (ssize_t i = 0; i < got && line.size() < kBufferSize - 1; ++i) {
        char c = raw[i];
        if (c == '\n')
            break;
        // The file is text: a carriage return before a line feed belongs to the line end.
        if (c == '\r' && i + 1 < got && raw[i + 1] == '\n')
            break;
        line.push_back(c);
    }
    // The text ends at its first NUL, as the character buffer it was read into does.
    line.resize(line.find('\0') == std::string::npos ? line.size() : line.find('\0'));
    return CString(std::move(line));
}

namespace {

constexpr int kMostLinks = 8;  // a chain of links longer than this is a loop or a trap

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A failure to write the file or its directory, in the system's words; root is told why root,
// of all users, was refused, since Vellix gives up root's privileges when it starts.
std::string Refusal(int error)
{
    std::string strReason = std::strerror(error);
    if ((error == EACCES || error == EPERM) && ::geteuid() == 0)
        strReason += " (Vellix gives up root's privileges at start, so root may read and write only "
                     "where the permissions let it: run Vellix as the owner of this directory, or in one of root's)";
    return strReason;
}

// Where the text goes: the name itself, or where the user's own symbolic links lead. A link that
// someone else owns is refused: planted in a shared directory, it would turn OK into a write to
// a file of the planter's choosing.
std::string ResolveTarget(const char* pszFileName, std::string& strTarget)
{
    strTarget = pszFileName;
    for (int nHops = 0;; ++nHops) {
        struct stat st {};
        if (::lstat(strTarget.c_str(), &st) != 0)
            return errno == ENOENT ? std::string() : Refusal(errno);
        if (!S_ISLNK(st.st_mode))
            return {};
        if (st.st_uid != ::getuid())
            return "Is a symbolic link that another user owns";
        if (nHops == kMostLinks)
            return std::strerror(ELOOP);
        std::string strLink(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(strTarget.c_str(), strLink.data(), strLink.size());
        if (n < 0)
            return Refusal(errno);
        strLink.resize(static_cast<std::size_t>(n));
        strTarget = strLink[0] == '/' ? strLink : DirectoryOf(strTarget) + "/" + strLink;
    }
}

bool WriteAll(int fd, const std::string& s, int& error)
{
    std::size_t done = 0;
    while (done < s.size()) {
        ssize_t n = ::write(fd, s.data() + done, s.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 && errno != EINVAL) {
        error = errno;
        return false;
    }
    return true;
}

// A write past the file-size limit must fail with EFBIG, not end the program halfway.
class IgnoreFileSizeSignal {
public:
    IgnoreFileSizeSignal()
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGXFSZ, &ignore, &m_previous);
    }
    ~IgnoreFileSizeSignal() { ::sigaction(SIGXFSZ, &m_previous, nullptr); }
    IgnoreFileSizeSignal(const IgnoreFileSizeSignal&) = delete;
    IgnoreFileSizeSignal& operator=(const IgnoreFileSizeSignal&) = delete;

private:
    struct sigaction m_previous {};
};

}  // namespace

std::string SavedTextProblem(const char* pszFileName)
{
    Fd fd(::open(pszFileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == ENOENT ? std::string() : Refusal(errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return Refusal(errno);
    if (S_ISDIR(st.st_mode))
        return std::strerror(EISDIR);
    return S_ISREG(st.st_mode) ? std::string() : "Not a regular file";
}

std::string WriteSavedText(const CString& strText, const char* pszFileName)
{
    std::string strTarget;
    if (std::string strRefusal = ResolveTarget(pszFileName, strTarget); !strRefusal.empty())
        return strRefusal;

    struct stat st {};
    const bool bExists = ::stat(strTarget.c_str(), &st) == 0;
    mode_t mode = 0;
    if (bExists) {
        if (S_ISDIR(st.st_mode))
            return std::strerror(EISDIR);
        if (!S_ISREG(st.st_mode))
            return "Not a regular file";
        // A second name may have been made for someone else's file, which keeps its own content.
        if (st.st_nlink > 1)
            return "Has more than one name (a hard link)";
        // A file made read-only is kept as it is, although its directory would let it be replaced.
        if (::faccessat(AT_FDCWD, strTarget.c_str(), W_OK, AT_EACCESS) != 0)
            return Refusal(errno);
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    // The new content goes into a file of its own beside the old one, which it replaces in one
    // step: whatever fails on the way (a full disk, a file-size limit), the old choice stays.
    std::string strTemp = DirectoryOf(strTarget) + "/.config.ovm.XXXXXX";
    IgnoreFileSizeSignal ignoreFileSize;
    Fd fd(::mkostemp(strTemp.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return Refusal(errno);
    int error = 0;
    bool bWritten = ::fchmod(fd.get(), mode) == 0 || (error = errno, false);
    bWritten = bWritten && WriteAll(fd.get(), strText.Str(), error);
    // Some file systems report a failed write only when the file is closed.
    if (fd.Close() != 0 && bWritten) {
        error = errno;
        bWritten = false;
    }
    if (bWritten && ::rename(strTemp.c_str(), strTarget.c_str()) != 0) {
        error = errno;
        bWritten = false;
    }
    if (!bWritten) {
        ::unlink(strTemp.c_str());
        return Refusal(error);
    }
    return {};
}

std::string ShownPath(const char* pszFileName)
{
    if (pszFileName[0] == '/')
        return pszFileName;
    // A working directory that was removed has no name any more; the bare name is all there is.
    char* cwd = ::getcwd(nullptr, 0);
    std::string shown = cwd ? std::string(cwd) + (cwd[1] ? "/" : "") + pszFileName : pszFileName;
    std::free(cwd);
    return shown;
}

}  // namespace config
