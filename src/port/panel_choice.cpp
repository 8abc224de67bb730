#include "port/panel_choice.h"

#include "port/candidates.h"
#include "port/portio.h"

namespace port {

bool AnswersDetectionTest(std::uint16_t base)
{
    WritePortByte(base, 0xAA);
    WritePortByte(static_cast<std::uint16_t>(base + 2), 0x00);
    return ReadPortByte(base) == 0xAA;
}

PanelChoice ChoosePanelPort(std::string_view savedText, const std::function<bool(std::uint16_t)>& answers)
{
    if (savedText.empty())
        return {kDefaultBase, PanelChoice::Why::NothingSaved};
    for (const CandidatePort& candidate : CandidatePorts()) {
        if (candidate.strLabel != savedText)
            continue;
        const auto base = static_cast<std::uint16_t>(candidate.nAddr);
        if (answers(base))
            return {base, PanelChoice::Why::Saved};
        return {kDefaultBase, PanelChoice::Why::SavedSilent};
    }
    return {kDefaultBase, PanelChoice::Why::NotACandidate};
}

std::string Describe(const PanelChoice& choice, std::string_view savedText)
{
    // The file may hold anything; keep the line printable.
    std::string saved(savedText);
    for (char& c : saved)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    switch (choice.why) {
    case PanelChoice::Why::Saved:
        return "saved in config.ovm, and it answered the test";
    case PanelChoice::Why::NothingSaved:
        return "the default: config.ovm in this directory is missing or empty";
    case PanelChoice::Why::NotACandidate:
        return "the default: config.ovm holds \"" + saved + "\", which is no candidate's label";
    case PanelChoice::Why::SavedSilent:
        return "the default: config.ovm names " + saved + ", which did not answer the test";
    }
    return {};
}

}  // namespace port
