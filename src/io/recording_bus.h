// A bus that passes every access through to another bus and keeps a log of it, so that tests can
// check exactly which registers were touched, in which order, with which bytes.
#pragma once

#include "io/bus.h"

#include <cstdint>
#include <iosfwd>
#include <vector>

namespace io {

struct Access {
    enum class Kind { Read, Write };
    Kind kind;
    std::uint16_t port;
    std::uint8_t value;  // the byte read or written

    friend bool operator==(const Access&, const Access&) = default;
};

// Prints as "read 0x379 -> 0x7f" or "write 0x37a <- 0x24" in test failure messages.
std::ostream& operator<<(std::ostream& os, const Access& access);

class RecordingBus : public Bus {
public:
    // inner must outlive this bus.
    explicit RecordingBus(Bus& inner);

    std::uint8_t In(std::uint16_t port) override;
    void Out(std::uint16_t port, std::uint8_t value) override;
    std::string Name() const override;
    std::string WayTo(std::uint16_t base) const override;
    bool Yield(std::uint16_t base) override;

    const std::vector<Access>& Log() const { return m_log; }
    void Clear() { m_log.clear(); }

private:
    Bus& m_inner;
    std::vector<Access> m_log;
};

}  // namespace io
