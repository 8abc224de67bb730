#include "ui/qt/stderr_capture.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ui::qt {

StderrCapture::StderrCapture()
{
    int ends[2];
    // Both ends are non-blocking: a writer facing a full pipe loses its words rather than its
    // thread, and the final read stops at what is there.
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_saved = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (m_saved < 0 || dup2(ends[1], STDERR_FILENO) < 0) {
        if (m_saved >= 0)
            close(m_saved);
        m_saved = -1;
        close(ends[0]);
        close(ends[1]);
        return;
    }
    close(ends[1]);
    m_read = ends[0];
}

StderrCapture::~StderrCapture() { PassOn(Finish()); }

std::string StderrCapture::Finish()
{
    std::string said;
    if (m_read < 0)
        return said;
    dup2(m_saved, STDERR_FILENO);
    close(m_saved);
    m_saved = -1;
    char buf[4096];
    ssize_t n;
    while ((n = read(m_read, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            said.append(buf, static_cast<std::size_t>(n));
    close(m_read);
    m_read = -1;
    return said;
}

void StderrCapture::PassOn(const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace ui::qt
