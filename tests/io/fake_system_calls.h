// A scripted stand-in for the operating system: answers from tables and logs every call as text.
#pragma once

#include "io/system_calls.h"

#include <cerrno>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace iotest {

class FakeSystemCalls : public io::SystemCalls {
public:
    // What the system answers.
    int iopermError = 0;                            // errno for every range, 0 = granted
    std::map<unsigned long, int> iopermErrorAt;     // per base, overrides iopermError
    std::map<std::string, std::vector<std::string>> directories;
    std::map<std::string, std::string> files;
    std::map<std::string, int> openResults;         // descriptor or -errno; missing -> -ENOENT
    std::map<unsigned long, int> ioctlErrors;       // by request, for every descriptor
    // By descriptor: PPCLAIM after PPEXCL fails with this errno, as when lp registered on the port.
    std::map<int, int> exclusiveClaimErrors;
    // By descriptor: every PPCLAIM fails with this errno, as when another program holds the port.
    std::map<int, int> claimErrors;
    // By descriptor: PPCLAIM (when not refused above) waits, as while another program or a print
    // job holds the port: with a deadline it fails with EINTR; without one it would never return,
    // which the fake answers with EDEADLK and logs as "waits for ever".
    std::set<int> claimWaits;
    std::map<unsigned long, unsigned char> readValues;  // byte answered by PPRDATA, PPRSTATUS
    std::map<std::uint16_t, std::uint8_t> inBytes;      // bytes read by port instructions
    io::Identity identity{1000, 1000, 1000, 100, 100, 100};
    int setIdentityError = 0;
    bool setIdentitySticks = true;  // false: reports success but changes nothing
    int clearCapabilitiesError = 0;
    // By descriptor: another driver waits for the port, so the next PPYIELD lets it in once.
    // In othersWaiting it runs to its end at once, which the caller sees only as a switch of
    // its thread; in yieldWaits the kernel makes the caller wait and says so (returns 1).
    std::set<int> othersWaiting;
    std::set<int> yieldWaits;
    int realtimeError = 0;  // errno for SetRealtimeScheduling, 0 = granted
    int lockError = 0;      // errno for LockMemory, 0 = granted
    long threadSwitches = 0;

    std::map<int, bool> exclusive;  // descriptors that asked PPEXCL since they were opened

    // What was asked, one line per call, e.g. "ioperm 0x378 3 on", "ioctl 5 PPWCONTROL 0x4".
    std::vector<std::string> calls;

    // A port the kernel knows: /proc entry parportN with this base, device opening as fd.
    void AddLinuxPort(int number, unsigned base, int fd);
    // A USB printer device, /dev/usb/<name>.
    void AddUsbPrinter(const std::string& name);

    // Position of the first call starting with prefix, or calls.size() if none.
    std::size_t FirstCall(const std::string& prefix) const;

    int IoPerm(unsigned long first, unsigned long count, bool enable) override;
    int Open(const std::string& path) override;
    // Logged as the request with " within N ms" added, e.g. "ioctl 7 PPCLAIM within 2000 ms".
    int Ioctl(int fd, unsigned long request, void* arg) override;
    int IoctlWithin(int fd, unsigned long request, void* arg,
                    std::chrono::milliseconds deadline) override;
    int Close(int fd) override;
    // Answers from inBytes (0xFF, a floating bus, where none is given), logged as "inb 0x77a".
    std::uint8_t InByte(std::uint16_t port) override;
    std::optional<std::string> ReadTextFile(const std::string& path) override;
    std::vector<std::string> ListDirectory(const std::string& path) override;
    io::Identity GetIdentity() override;
    int SetIdentity(uid_t uid, gid_t gid) override;
    int ClearCapabilities() override;
    long ThreadSwitches() override;
    // Logged as "realtime 10" and "lockmemory".
    int SetRealtimeScheduling(int priority) override;
    int LockMemory() override;

private:
    std::string IoctlLine(int fd, unsigned long request, void* arg) const;
    // The answer to an ioctl; a claim that waits comes back as waitsResult.
    int Answer(int fd, unsigned long request, void* arg, int waitsResult);
};

}  // namespace iotest
