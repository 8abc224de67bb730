// Bytes that vellix-term writes to its terminal: per timer tick while nothing changes (the goal
// is none at all) and per lamp that changes.
//
// Only the user changes the simulated port, which lives inside the program, so a lamp change
// needs a key press: with the output row's Continous option on, Space on the focused Strobe bit
// button writes the control register at once, which flips the Strobe lamp and, through the
// loopback plug, the Select lamp. The same press with Continous off only turns the button's face
// and writes nothing; that echo is measured the same way and subtracted, so what is left is the
// cost of the lamps alone, divided by the number of lamps that changed on the screen.
//
// Prints one line "<idle bytes per tick> <bytes per lamp change>"; the breakdown goes to stderr.
// Usage: term_bytes <vellix-term>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "term_program.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kTick = 300ms;    // the panel's refresh period
constexpr int kIdleTicks = 20;
constexpr int kPresses = 10;     // even: the button ends as it started

int LampsDiffering(const std::string& a, const std::string& b)
{
    int n = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        n += a[i] != b[i];
    return n;
}

struct PressCost {
    double bytes = 0;  // per press
    double lamps = 0;  // lamps changed per press
    bool ok = false;
};

// Presses Space on the focused Strobe button `kPresses` times. Each press counts the bytes from
// the key to the end of the screen update it caused (which ends once the output is quiet).
PressCost PressStrobe(bench::TermProgram& term)
{
    PressCost cost;
    std::size_t bytes = 0;
    int lamps = 0;
    for (int i = 0; i < kPresses; ++i) {
        const char face = term.StrobeFace();
        const std::string before = term.AllLamps();
        const std::size_t start = term.BytesSoFar();
        term.Pty().Send(" ");
        if (!term.Pty().WaitFor([&](const vt::Screen&) { return term.StrobeFace() != face; }, 3s)) {
            std::fprintf(stderr, "term_bytes: Space did not turn the Strobe button:\n%s\n", term.Screen().Text().c_str());
            return cost;
        }
        bytes += term.BytesSoFar() - start;
        lamps += LampsDiffering(before, term.AllLamps());
    }
    cost.bytes = static_cast<double>(bytes) / kPresses;
    cost.lamps = static_cast<double>(lamps) / kPresses;
    cost.ok = true;
    return cost;
}

// Clicks a cell and waits until the screen shows `done`.
bool ClickUntil(bench::TermProgram& term, vt::Screen::Pos at, const std::function<bool()>& done, const char* what)
{
    term.Click(at);
    if (term.Pty().WaitFor([&](const vt::Screen&) { return done(); }, 3s))
        return true;
    std::fprintf(stderr, "term_bytes: clicking %s had no effect:\n%s\n", what, term.Screen().Text().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <vellix-term>\n", argv[0]);
        return 2;
    }
    // The program runs in a scratch directory of its own.
    const std::string program = std::filesystem::absolute(argv[1]).string();
    bench::TermProgram term(program);
    if (!term.WaitForPanel())
        return 1;
    const std::size_t firstScreen = term.BytesSoFar();

    // The first refreshes light the lamps as the port reads; count only after they are over.
    term.Pty().Drain(3 * kTick);
    const std::size_t idleBytes = term.Pty().Drain(kIdleTicks * kTick);
    const double idlePerTick = static_cast<double>(idleBytes) / kIdleTicks;

    // Continous off: a click gives Strobe the focus; then Space only turns the face.
    const auto strobe = term.Panel().ctrlFaces.back();
    char face = term.StrobeFace();
    if (!ClickUntil(term, strobe, [&] { return term.StrobeFace() != face; }, "the Strobe button"))
        return 1;
    const PressCost echo = PressStrobe(term);

    // Continous on, and the focus back on Strobe: now every press also writes the port.
    const auto box = term.CtrlContinuous();
    if (!box.Found()) {
        std::fprintf(stderr, "term_bytes: no Continous box on the output row:\n%s\n", term.Screen().Text().c_str());
        return 1;
    }
    const vt::Screen::Pos mark{box.row, box.col + 1};
    if (!ClickUntil(term, mark, [&] { return term.Screen().At(mark.row, mark.col).ch != U' '; }, "Continous"))
        return 1;
    face = term.StrobeFace();
    if (!ClickUntil(term, strobe, [&] { return term.StrobeFace() != face; }, "the Strobe button"))
        return 1;
    const PressCost lamps = PressStrobe(term);
    if (!echo.ok || !lamps.ok)
        return 1;
    if (echo.lamps != 0 || lamps.lamps == 0) {
        std::fprintf(stderr, "term_bytes: lamps changed %.1f times per press without Continous, %.1f with it\n",
                     echo.lamps, lamps.lamps);
        return 1;
    }
    const double perLamp = (lamps.bytes - echo.bytes) / lamps.lamps;

    std::fprintf(stderr,
                 "first full screen: %zu bytes\n"
                 "idle: %zu bytes in %d ticks\n"
                 "Space on Strobe, Continous off: %.1f bytes per press, no lamp changes\n"
                 "Space on Strobe, Continous on: %.1f bytes per press, %.1f lamps change\n",
                 firstScreen, idleBytes, kIdleTicks, echo.bytes, lamps.bytes, lamps.lamps);
    std::printf("%.1f %.1f\n", idlePerTick, perLamp);
    return 0;
}
