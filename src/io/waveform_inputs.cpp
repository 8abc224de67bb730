#include "io/waveform_inputs.h"

#include "io/register_map.h"

#include <algorithm>
#include <utility>

namespace io {

bool Waveform::HighAt(std::chrono::nanoseconds t) const
{
    const auto passed = std::upper_bound(edges.begin(), edges.end(), t) - edges.begin();
    return startsHigh != (passed % 2 != 0);
}

WaveformInputs::WaveformInputs(Bus& inner, std::uint16_t base, std::vector<Waveform> waveforms, Clock now)
    : m_inner(inner), m_base(base), m_waveforms(std::move(waveforms)), m_now(std::move(now))
{
}

std::uint8_t WaveformInputs::In(std::uint16_t port)
{
    std::uint8_t value = m_inner.In(port);
    if (port != m_base + lpt::kStatus || m_waveforms.empty())
        return value;
    const std::chrono::nanoseconds now = m_now();
    for (const Waveform& waveform : m_waveforms) {
        // Busy is the one status input that the port inverts.
        const bool bitSet = waveform.HighAt(now) != (waveform.statusBit == lpt::kBusy);
        value = static_cast<std::uint8_t>(bitSet ? value | waveform.statusBit : value & ~waveform.statusBit);
    }
    return value;
}

void WaveformInputs::Out(std::uint16_t port, std::uint8_t value)
{
    m_inner.Out(port, value);
}

std::string WaveformInputs::Name() const
{
    return m_inner.Name();
}

std::string WaveformInputs::WayTo(std::uint16_t base) const
{
    return m_inner.WayTo(base);
}

bool WaveformInputs::Yield(std::uint16_t base)
{
    return m_inner.Yield(base);
}

}  // namespace io
