#include "support/panel_session.h"

#include "port/candidate_table.h"
#include "port/portio.h"

namespace testsupport {

const std::vector<int> kDataLamps = {1022, 1023, 1024, 1025, 1026, 1027, 1028, 1029};
const std::vector<int> kDataButtons = {1019, 1018, 1017, 1016, 1015, 1014, 1013, 1012};
const std::vector<int> kStatusLamps = {1030, 1031, 1034, 1035, 1036};
const std::vector<int> kCtrlLamps = {1037, 1038, 1039, 1040, 1041};
const std::vector<int> kCtrlButtons = {1052, 1051, 1050, 1049, 1048};

std::uint8_t ForcedReadsBus::In(std::uint16_t port)
{
    std::uint8_t real = m_inner.In(port);
    auto it = forced.find(port);
    return it == forced.end() ? real : it->second;
}

std::string ForcedReadsBus::WayTo(std::uint16_t base) const
{
    auto it = ways.find(base);
    return it == ways.end() ? m_inner.WayTo(base) : it->second;
}

PanelSession::PanelSession(std::vector<std::uint16_t> bases, std::optional<std::string> config) : sim(std::move(bases))
{
    if (config)
        WriteFile(m_dir.File("config.ovm"), *config);
}

PanelSession::~PanelSession()
{
    port::InstallBus(nullptr);
    port::InstallCandidates({});
    afx::SetMainCaptionSuffix({});
}

void PanelSession::Run()
{
    port::InstallBus(&rec);
    app.m_pMainWnd = &dlg;
    result = dlg.DoModal();
    app.m_pMainWnd = nullptr;
    port::InstallBus(nullptr);
}

int PanelSession::ImageOf(int id)
{
    HWND h = Item(id);
    return h && h->image ? h->image->bitmap->id : 0;
}

std::string PanelSession::Images(const std::vector<int>& ids)
{
    std::string s;
    for (int id : ids) {
        int img = ImageOf(id);
        s += (img == 129 || img == 131) ? '1' : (img == 130 || img == 132) ? '0' : '-';
    }
    return s;
}

std::vector<int> PanelSession::Writes(std::optional<std::uint16_t> port) const { return WritesIn(rec, port); }

std::vector<int> WritesIn(const io::RecordingBus& rec, std::optional<std::uint16_t> port)
{
    std::vector<int> out;
    for (const io::Access& a : rec.Log())
        if (a.kind == io::Access::Kind::Write && (!port || a.port == *port))
            out.push_back(a.value);
    return out;
}

}  // namespace testsupport
