// The real system calls of a Linux process.
#pragma once

#include "io/system_calls.h"

namespace io {

class LinuxSystemCalls : public SystemCalls {
public:
    int IoPerm(unsigned long first, unsigned long count, bool enable) override;
    int Open(const std::string& path) override;
    int Ioctl(int fd, unsigned long request, void* arg) override;
    int IoctlWithin(int fd, unsigned long request, void* arg,
                    std::chrono::milliseconds deadline) override;
    int Close(int fd) override;
    std::uint8_t InByte(std::uint16_t port) override;
    std::optional<std::string> ReadTextFile(const std::string& path) override;
    std::vector<std::string> ListDirectory(const std::string& path) override;
    Identity GetIdentity() override;
    int SetIdentity(uid_t uid, gid_t gid) override;
    int ClearCapabilities() override;
    long ThreadSwitches() override;
    int SetRealtimeScheduling(int priority) override;
    int LockMemory() override;
};

}  // namespace io
