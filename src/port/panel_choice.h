// Which port the panel works on at start, told apart from the panel itself so that the command
// line can name and test the same port.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "io/candidate_ports.h"

namespace port {

using io::kDefaultBase;
using io::PortLabel;

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
    Why why;
};

// The saved port if its label is exactly a candidate's and it answers, else the default 0x378
// (whether or not anything answers there), as the panel decides. answers is asked at most once,
// and only about the saved candidate.
PanelChoice ChoosePanelPort(std::string_view savedText, const std::function<bool(std::uint16_t)>& answers);

// The reason in words, for a line such as "the panel would use 0x0378: <reason>".
std::string Describe(const PanelChoice& choice, std::string_view savedText);

}  // namespace port
