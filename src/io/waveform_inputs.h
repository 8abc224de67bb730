// Known signals on the status inputs of a port, for recordings that can be checked edge for edge:
// each input pin plays its own waveform, a start level and the times at which it toggles.
#pragma once

#include "io/bus.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace io {

struct Waveform {
    std::uint8_t statusBit = 0;  // the input's bit in the status register, such as lpt::kAck
    bool startsHigh = false;     // the pin's level before the first edge
    // When the pin toggles, ascending; a level holds from its edge up to the next one.
    std::vector<std::chrono::nanoseconds> edges;

    // The pin's level at time t: an edge at exactly t has already happened.
    bool HighAt(std::chrono::nanoseconds t) const;
};

// Passes every access to another bus (usually the simulated port) and answers the status
// register of one port with the waveforms' levels at the time the clock gives, leaving the
// inputs without a waveform as that bus reads them. Levels are pin levels: Busy, which the port
// inverts, reads as 0 while its pin is high.
class WaveformInputs : public Bus {
public:
    using Clock = std::function<std::chrono::nanoseconds()>;

    // inner must outlive this bus; now gives the time the waveforms are played at.
    WaveformInputs(Bus& inner, std::uint16_t base, std::vector<Waveform> waveforms, Clock now);

    std::uint8_t In(std::uint16_t port) override;
    void Out(std::uint16_t port, std::uint8_t value) override;
    std::string Name() const override;
    std::string WayTo(std::uint16_t base) const override;
    bool Yield(std::uint16_t base) override;

private:
    Bus& m_inner;
    std::uint16_t m_base;
    std::vector<Waveform> m_waveforms;
    Clock m_now;
};

}  // namespace io
