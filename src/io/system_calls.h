// The operating-system calls that choosing and driving a real port needs, behind one interface
// so that bus selection and the ppdev bus can be tested against fakes.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace io {

struct Identity {
    uid_t realUid, effectiveUid, savedUid;
    gid_t realGid, effectiveGid, savedGid;
};

// Calls that can fail return a negative errno value (descriptors and 0 on success), never -1 with
// errno set, so a fake needs no global state.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    // Grants (or revokes) access to count port numbers from first.
    virtual int IoPerm(unsigned long first, unsigned long count, bool enable) = 0;
    // Opens a device read-write, close-on-exec, without waiting in the open; the descriptor or
    // -errno.
    virtual int Open(const std::string& path) = 0;
    virtual int Ioctl(int fd, unsigned long request, void* arg) = 0;
    // Ioctl for a request that may wait for something outside our control (a port claim while
    // another holds the port): a call still waiting when the deadline passes fails with -EINTR.
    virtual int IoctlWithin(int fd, unsigned long request, void* arg,
                            std::chrono::milliseconds deadline) = 0;
    virtual int Close(int fd) = 0;
    // One input access of one byte at a port that IoPerm granted; used only to read, never to write.
    virtual std::uint8_t InByte(std::uint16_t port) = 0;

    // Whole contents of a small text file such as one under /proc; nothing if unreadable.
    virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;
    // Names of the entries of a directory; empty if it is missing.
    virtual std::vector<std::string> ListDirectory(const std::string& path) = 0;

    virtual Identity GetIdentity() = 0;
    // Sets real, effective and saved IDs to uid and gid (the group first, while still allowed).
    virtual int SetIdentity(uid_t uid, gid_t gid) = 0;
    // Empties the ambient, effective, permitted and inheritable capability sets.
    virtual int ClearCapabilities() = 0;

    // How often the calling thread has left the processor, to wait or to let another run (its
    // voluntary and involuntary context switches): a call after which the count grew was not
    // the only thing that ran meanwhile.
    virtual long ThreadSwitches() = 0;
    // First-in first-out real-time scheduling at that priority for the calling thread.
    virtual int SetRealtimeScheduling(int priority) = 0;
    // Keeps the pages the process has mapped now in memory once they are touched; 0 or -errno.
    virtual int LockMemory() = 0;
};

}  // namespace io
