#include "io/linux_system_calls.h"

#include "io/call_deadline.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <memory>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#endif

namespace io {
namespace {

int Result(int rc)
{
    return rc < 0 ? -errno : rc;
}

}  // namespace

int LinuxSystemCalls::IoPerm(unsigned long first, unsigned long count, bool enable)
{
#if defined(__x86_64__) || defined(__i386__)
    return Result(::ioperm(first, count, enable ? 1 : 0));
#else
    (void)first;
    (void)count;
    (void)enable;
    return -ENOSYS;
#endif
}

std::uint8_t LinuxSystemCalls::InByte(std::uint16_t port)
{
#if defined(__x86_64__) || defined(__i386__)
    return ::inb(port);
#else
    (void)port;
    return 0xFF;
#endif
}

int LinuxSystemCalls::Open(const std::string& path)
{
    // A device node that is not what its name says (a terminal line waits for its carrier) must
    // not hold up the start; ppdev's register calls do not heed the flag.
    return Result(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
}

int LinuxSystemCalls::Ioctl(int fd, unsigned long request, void* arg)
{
    return Result(::ioctl(fd, request, arg));
}

int LinuxSystemCalls::IoctlWithin(int fd, unsigned long request, void* arg,
                                  std::chrono::milliseconds deadline)
{
    const CallDeadline timer(deadline);
    // Without a deadline the call might never return; better to say why it was not made.
    if (timer.Error() != 0)
        return -timer.Error();
    return Result(::ioctl(fd, request, arg));
}

int LinuxSystemCalls::Close(int fd)
{
    return Result(::close(fd));
}

// Plain system calls rather than streams: these files are read at every start, and the streams
// would bring in the C++ locale machinery (a few hundred KiB of libstdc++ made resident) for them.
std::optional<std::string> LinuxSystemCalls::ReadTextFile(const std::string& path)
{
    // Non-blocking, so that a FIFO planted where a file is expected cannot hold up the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        text.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return text;
}

std::vector<std::string> LinuxSystemCalls::ListDirectory(const std::string& path)
{
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    return names;
}

Identity LinuxSystemCalls::GetIdentity()
{
    Identity id{};
    ::getresuid(&id.realUid, &id.effectiveUid, &id.savedUid);
    ::getresgid(&id.realGid, &id.effectiveGid, &id.savedGid);
    return id;
}

int LinuxSystemCalls::SetIdentity(uid_t uid, gid_t gid)
{
    // Group first: once the user ID is given up, the group can no longer be changed.
    if (::setresgid(gid, gid, gid) < 0)
        return -errno;
    return Result(::setresuid(uid, uid, uid));
}

int LinuxSystemCalls::ClearCapabilities()
{
    // Kernels before 4.3 have no ambient set and answer EINVAL; there is nothing to clear then.
    if (::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0) < 0 && errno != EINVAL)
        return -errno;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    return Result(static_cast<int>(::syscall(SYS_capset, &header, data)));
}

long LinuxSystemCalls::ThreadSwitches()
{
    rusage usage{};
    if (::getrusage(RUSAGE_THREAD, &usage) < 0)
        return 0;
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

int LinuxSystemCalls::SetRealtimeScheduling(int priority)
{
    sched_param param{};
    param.sched_priority = priority;
    return Result(::sched_setscheduler(0, SCHED_FIFO, &param));
}

int LinuxSystemCalls::LockMemory()
{
    // Only what is mapped now, and each page when first touched: populating every mapping at
    // once would reach into reservations never meant to be touched (a sanitizer's shadow), and
    // locking future mappings would make them fail once the privileges are gone.
    return Result(::mlockall(MCL_CURRENT | MCL_ONFAULT));
}

}  // namespace io
