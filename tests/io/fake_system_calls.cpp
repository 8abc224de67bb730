#include "fake_system_calls.h"

#include <cstdio>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

namespace iotest {
namespace {

std::string Hex(unsigned long value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%#lx", value);
    return text;
}

const char* RequestName(unsigned long request)
{
    switch (request) {
    case PPEXCL: return "PPEXCL";
    case PPCLAIM: return "PPCLAIM";
    case PPRELEASE: return "PPRELEASE";
    case PPRDATA: return "PPRDATA";
    case PPWDATA: return "PPWDATA";
    case PPRSTATUS: return "PPRSTATUS";
    case PPRCONTROL: return "PPRCONTROL";
    case PPWCONTROL: return "PPWCONTROL";
    case PPFCONTROL: return "PPFCONTROL";
    case PPDATADIR: return "PPDATADIR";
    case PPYIELD: return "PPYIELD";
    default: return "unknown";
    }
}

}  // namespace

void FakeSystemCalls::AddLinuxPort(int number, unsigned base, int fd)
{
    const std::string name = "parport" + std::to_string(number);
    directories["/proc/sys/dev/parport"].push_back(name);
    files["/proc/sys/dev/parport/" + name + "/base-addr"] = std::to_string(base) + "\t0\n";
    openResults["/dev/" + name] = fd;
}

std::uint8_t FakeSystemCalls::InByte(std::uint16_t port)
{
    char line[32];
    std::snprintf(line, sizeof line, "inb 0x%x", port);
    calls.push_back(line);
    const auto found = inBytes.find(port);
    return found == inBytes.end() ? 0xFF : found->second;
}

void FakeSystemCalls::AddUsbPrinter(const std::string& name)
{
    directories["/dev/usb"].push_back(name);
}

std::size_t FakeSystemCalls::FirstCall(const std::string& prefix) const
{
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i].compare(0, prefix.size(), prefix) == 0)
            return i;
    return calls.size();
}

int FakeSystemCalls::IoPerm(unsigned long first, unsigned long count, bool enable)
{
    calls.push_back("ioperm " + Hex(first) + " " + std::to_string(count) + (enable ? " on" : " off"));
    if (!enable)
        return 0;
    auto it = iopermErrorAt.find(first);
    const int error = it != iopermErrorAt.end() ? it->second : iopermError;
    return -error;
}

int FakeSystemCalls::Open(const std::string& path)
{
    calls.push_back("open " + path);
    auto it = openResults.find(path);
    const int result = it != openResults.end() ? it->second : -ENOENT;
    if (result >= 0)
        exclusive[result] = false;
    return result;
}

std::string FakeSystemCalls::IoctlLine(int fd, unsigned long request, void* arg) const
{
    std::string line = "ioctl " + std::to_string(fd) + " " + RequestName(request);
    if (request == PPWDATA || request == PPWCONTROL)
        line += " " + Hex(*static_cast<unsigned char*>(arg));
    else if (request == PPDATADIR)
        line += " " + std::to_string(*static_cast<int*>(arg));
    return line;
}

int FakeSystemCalls::Ioctl(int fd, unsigned long request, void* arg)
{
    const int result = Answer(fd, request, arg, -EDEADLK);
    calls.push_back(IoctlLine(fd, request, arg) + (result == -EDEADLK ? " waits for ever" : ""));
    return result;
}

int FakeSystemCalls::IoctlWithin(int fd, unsigned long request, void* arg,
                                 std::chrono::milliseconds deadline)
{
    calls.push_back(IoctlLine(fd, request, arg) + " within " + std::to_string(deadline.count()) +
                    " ms");
    return Answer(fd, request, arg, -EINTR);
}

int FakeSystemCalls::Answer(int fd, unsigned long request, void* arg, int waitsResult)
{
    if (auto it = ioctlErrors.find(request); it != ioctlErrors.end())
        return -it->second;
    if (request == PPEXCL)
        exclusive[fd] = true;
    if (request == PPCLAIM) {
        if (auto it = claimErrors.find(fd); it != claimErrors.end())
            return -it->second;
        if (auto it = exclusiveClaimErrors.find(fd); it != exclusiveClaimErrors.end() && exclusive[fd])
            return -it->second;
        if (claimWaits.count(fd) != 0)
            return waitsResult;
    }
    if (request == PPYIELD && othersWaiting.erase(fd) != 0)
        ++threadSwitches;
    if (request == PPYIELD && yieldWaits.erase(fd) != 0)
        return 1;
    if (request == PPRDATA || request == PPRSTATUS || request == PPRCONTROL)
        *static_cast<unsigned char*>(arg) = readValues[request];
    return 0;
}

int FakeSystemCalls::Close(int fd)
{
    calls.push_back("close " + std::to_string(fd));
    exclusive.erase(fd);
    return 0;
}

std::optional<std::string> FakeSystemCalls::ReadTextFile(const std::string& path)
{
    auto it = files.find(path);
    if (it == files.end())
        return std::nullopt;
    return it->second;
}

std::vector<std::string> FakeSystemCalls::ListDirectory(const std::string& path)
{
    auto it = directories.find(path);
    return it != directories.end() ? it->second : std::vector<std::string>{};
}

io::Identity FakeSystemCalls::GetIdentity()
{
    return identity;
}

int FakeSystemCalls::SetIdentity(uid_t uid, gid_t gid)
{
    calls.push_back("setidentity " + std::to_string(uid) + " " + std::to_string(gid));
    if (setIdentityError != 0)
        return -setIdentityError;
    if (setIdentitySticks)
        identity = {uid, uid, uid, gid, gid, gid};
    return 0;
}

int FakeSystemCalls::ClearCapabilities()
{
    calls.push_back("clearcaps");
    return -clearCapabilitiesError;
}

long FakeSystemCalls::ThreadSwitches()
{
    return threadSwitches;
}

int FakeSystemCalls::SetRealtimeScheduling(int priority)
{
    calls.push_back("realtime " + std::to_string(priority));
    return -realtimeError;
}

int FakeSystemCalls::LockMemory()
{
    calls.push_back("lockmemory");
    return -lockError;
}

}  // namespace iotest
