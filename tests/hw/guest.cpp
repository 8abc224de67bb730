#include "guest.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <sys/reboot.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace hwtest {

bool Mount(const char* type, const char* target)
{
    ::mkdir(target, 0755);
    if (::mount(type, target, type, 0, nullptr) == 0 || errno == EBUSY)
        return true;
    std::fprintf(stderr, "init: mount %s on %s: %s\n", type, target, std::strerror(errno));
    return false;
}

void UseConsole()
{
    const int fd = ::open("/dev/console", O_RDWR);
    if (fd < 0)
        return;
    for (int stream = 0; stream <= 2; ++stream)
        ::dup2(fd, stream);
    if (fd > 2)
        ::close(fd);
}

bool LoadModule(const char* name, const char* params)
{
    const std::string path = std::string("/modules/") + name + ".ko";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "init: %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    const long rc = ::syscall(SYS_finit_module, fd, params, 0);
    const int error = errno;
    ::close(fd);
    if (rc != 0 && error != EEXIST) {
        std::fprintf(stderr, "init: loading %s: %s\n", name, std::strerror(error));
        return false;
    }
    return true;
}


bool PrepareGuest()
{
    bool ok = Mount("devtmpfs", "/dev");
    UseConsole();
    ok = Mount("proc", "/proc") && ok;
    ok = Mount("sysfs", "/sys") && ok;
    // Death tests capture the child's stderr through a file there.
    ::mkdir("/tmp", 01777);
    for (const char* module : {"parport", "parport_pc", "ppdev"})
        ok = LoadModule(module, "") && ok;
    return ok;
}

void PowerOff()
{
    std::fflush(nullptr);
    ::sync();
    ::reboot(RB_POWER_OFF);
    // Only reached if the kernel refused; with panic=-1 and -no-reboot the emulator still stops.
    std::_Exit(1);
}

}  // namespace hwtest
