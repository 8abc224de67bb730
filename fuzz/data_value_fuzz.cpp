// The data row under any sequence of edits, typed characters, keys, bit clicks, Continous,
// Set Data and ticks. After every step the row's rules must hold: bit states equal the byte's
// bits, faces follow the states, the field holds at most two hex digits, and the data register
// is written only by the actions that may write it, with the pending byte.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "reliability/panel_watch.h"

namespace {

using reliability::Action;
using reliability::Op;

// Long enough for any interesting run; keeps one input from running for seconds.
constexpr std::size_t kMaxActions = 512;

// One action per leading byte; the bytes after it, where the action needs them, are its argument.
std::vector<Action> Decode(const std::uint8_t* data, std::size_t size)
{
    std::size_t at = 0;
    auto next = [&]() -> int { return at < size ? data[at++] : 0; };
    std::vector<Action> actions;
    while (at < size && actions.size() < kMaxActions) {
        Action a;
        switch (next() % 8) {
        case 0:
            a.op = Op::EditText;
            for (int n = next() % 4; n > 0; --n)  // one longer than the field takes
                a.text.push_back(static_cast<char>(next()));
            break;
        case 1: a = {Op::Char, next(), {}}; break;
        case 2: a = {Op::EditKey, next() % 6, {}}; break;
        case 3: a = {Op::Tab, next() % 2, {}}; break;
        case 4: a = {Op::DataBit, next() % 8, {}}; break;
        case 5: a = {Op::ContinuousData, 0, {}}; break;
        case 6: a = {Op::SetData, 0, {}}; break;
        default: a = {Op::Tick, 0, {}}; break;
        }
        actions.push_back(std::move(a));
    }
    return actions;
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "data row: %s\n", what.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<Action> actions = Decode(data, size);
    testsupport::PanelSession s;  // one port at 0x378, a fresh working directory
    reliability::PanelWatch watch(s);

    std::size_t next = 0;
    std::function<void()> step = [&] {
        if (std::string broken = watch.Check(); !broken.empty())
            Fail("after action " + std::to_string(next) + ", " + broken);
        if (next == actions.size()) {
            afx::input::Key(s.Top(), VK_ESCAPE);
            return;
        }
        const Action& a = actions[next++];
        watch.Begin(a);
        reliability::Apply(s, a);
        s.ui.Then(step);
    };
    s.ui.Then(step);
    s.Run();
    if (s.result != IDCANCEL || !s.ui.ScriptDone() || next != actions.size())
        Fail("the panel did not run to the end of the input");
    return 0;
}
