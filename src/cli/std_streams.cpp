#include "cli/std_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace cli {

void OpenClosedStandardStreams()
{
    // Lowest descriptor first: open() returns the lowest free one, which is then this one.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            std::_Exit(127);  // without /dev/null nothing safe is left to do
    }
}

int StatusAfterOutput(const char* program, int status, std::FILE* out, std::FILE* err)
{
    bool failed = false;
    if (std::fflush(out) != 0 || std::ferror(out) != 0) {
        const int error = errno;
        failed = true;
        std::fprintf(err, "%s: write error: %s\n", program, std::strerror(error));
    }
    if (std::fflush(err) != 0 || std::ferror(err) != 0)
        failed = true;
    return failed && status == 0 ? 1 : status;
}

}  // namespace cli
