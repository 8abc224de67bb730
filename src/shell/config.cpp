#include "shell/config.h"

#include <fcntl.h>
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

std::string WriteSavedText(const CString& strText, const char* pszFileName)
{
    // No O_TRUNC: the file is emptied only once it is known to be a regular file. Non-blocking,
    // so that a FIFO without a reader fails at once instead of hanging the exit.
    Fd fd(::open(pszFileName, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        int error = errno;
        // Say what is in the way where the system's words would mislead ("Too many levels of
        // symbolic links" for one link, "No such device or address" for a FIFO).
        struct stat st {};
        bool seen = ::lstat(pszFileName, &st) == 0;
        if (seen && S_ISLNK(st.st_mode))
            return "Is a symbolic link";
        if (seen && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
            return "Not a regular file";
        return std::strerror(error);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return std::strerror(errno);
    if (!S_ISREG(st.st_mode))
        return "Not a regular file";
    // A second name may have been made for someone else's file; emptying it would reach that file.
    if (st.st_nlink > 1)
        return "Has more than one name (a hard link)";
    if (::ftruncate(fd.get(), 0) != 0)
        return std::strerror(errno);
    const std::string& s = strText.Str();
    std::size_t done = 0;
    while (done < s.size()) {
        ssize_t n = ::write(fd.get(), s.data() + done, s.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::strerror(n < 0 ? errno : EIO);
        done += static_cast<std::size_t>(n);
    }
    // Some file systems report a failed write only when the file is closed.
    if (fd.Close() != 0)
        return std::strerror(errno);
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
