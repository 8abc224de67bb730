#include "port/panel_choice.h"

#include <optional>

#include "port/candidate_table.h"
#include "port/portio.h"

namespace port {

using io::kDefaultBase;
using io::PortLabel;

bool AnswersDetectionTest(std::uint16_t base)
{
    WritePortByte(base, 0xAA);
    WritePortByte(static_cast<std::uint16_t>(base + 2), 0x00);
    return ReadPortByte(base) == 0xAA;
}

PanelChoice ChoosePanelPort(std::string_view savedText, const std::function<bool(std::uint16_t)>& answers)
{
    std::vector<std::uint16_t> bases;
    for (const CandidatePort& candidate : CandidatePorts())
        bases.push_back(static_cast<std::uint16_t>(candidate.nAddr));
    return ChoosePanelPort(savedText, bases, answers);
}

PanelChoice ChoosePanelPort(std::string_view savedText, const std::vector<std::uint16_t>& bases,
                            const std::function<bool(std::uint16_t)>& answers)
{
    PanelChoice choice{kDefaultBase, savedText.empty() ? PanelChoice::Why::NothingSaved : PanelChoice::Why::NotACandidate};
    std::optional<std::uint16_t> asked;
    for (std::uint16_t base : bases) {
        if (savedText.empty() || PortLabel(base) != savedText)
            continue;
        if (answers(base))
            return {base, PanelChoice::Why::Saved};
        choice.why = PanelChoice::Why::SavedSilent;
        asked = base;
    }
    if (asked != kDefaultBase && answers(kDefaultBase))
        return choice;
    for (std::uint16_t base : bases) {
        if (base != kDefaultBase && base != asked && answers(base)) {
            choice.base = base;
            choice.lowest = true;
            break;
        }
    }
    return choice;
}

std::string Describe(const PanelChoice& choice, std::string_view savedText, std::string_view savedProblem)
{
    // The file may hold anything; keep the line printable.
    std::string saved(savedText);
    for (char& c : saved)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    const std::string how = choice.lowest ? "the lowest port that answered, as " + PortLabel(kDefaultBase) +
                                                " did not: "
                                          : "the default: ";
    switch (choice.why) {
    case PanelChoice::Why::Saved:
        return "saved in config.ovm, and it answered the test";
    case PanelChoice::Why::NothingSaved:
        if (!savedProblem.empty())
            return how + "config.ovm cannot be read (" + std::string(savedProblem) + ")";
        return how + "config.ovm in this directory is missing or empty";
    case PanelChoice::Why::NotACandidate:
        return how + "config.ovm holds \"" + saved + "\", which is no candidate's label";
    case PanelChoice::Why::SavedSilent:
        return how + "config.ovm names " + saved + ", which did not answer the test";
    }
    return {};
}

}  // namespace port
