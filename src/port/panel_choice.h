// Which port the panel works on at start, told apart from the panel itself so that the command
// line can name and test the same port.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "io/candidate_ports.h"

namespace port {

// The write-and-read-back test the panel runs on every candidate at start: 0xAA to the data
// register, 0x00 to the control register, and the data register must read 0xAA.
bool AnswersDetectionTest(std::uint16_t base);

struct PanelChoice {
    enum class Why {
        Saved,          // config.ovm names a candidate that answered
        NothingSaved,   // config.ovm is missing or empty
        NotACandidate,  // config.ovm holds something that is no candidate's label
        SavedSilent,    // config.ovm names a candidate that did not answer
    };
    std::uint16_t base;
    Why why;             // what config.ovm said
    bool lowest = false;  // the default did not answer either: the lowest port that answered
};

// The saved port if its label is exactly a candidate's and it answers; else the default 0x378 if
// it answers; else the lowest candidate that answers; else 0x378 all the same, as the panel
// decides. answers is asked at most once per candidate: the saved one, the default, then the
// others in ascending order until one answers.
PanelChoice ChoosePanelPort(std::string_view savedText, const std::function<bool(std::uint16_t)>& answers);
// The same among the given bases (ascending), for a report of a machine whose candidates are not
// installed.
PanelChoice ChoosePanelPort(std::string_view savedText, const std::vector<std::uint16_t>& bases,
                            const std::function<bool(std::uint16_t)>& answers);

// The reason in words, for a line such as "the panel would use 0x0378: <reason>".
// savedProblem: why config.ovm, which is there, could not be read; empty if it could.
std::string Describe(const PanelChoice& choice, std::string_view savedText, std::string_view savedProblem = {});

}  // namespace port
