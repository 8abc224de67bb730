#include "shell/config.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

void WriteSavedText(const CString& strText, const char* pszFileName)
{
    // Non-blocking, so that a FIFO without a reader fails instead of hanging the exit.
    Fd fd(::open(pszFileName, O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666));
    if (fd.get() < 0)
        return;
    const std::string& s = strText.Str();
    std::size_t done = 0;
    while (done < s.size()) {
        ssize_t n = ::write(fd.get(), s.data() + done, s.size() - done);
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace config
