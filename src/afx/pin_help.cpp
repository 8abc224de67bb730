#include "afx/pin_help.h"

#include <vector>

#include "res/line_help.h"

namespace afx {
namespace {

const res::LineTip* TipOf(const Window& w)
{
    if (w.kind != Kind::BitmapStatic && w.kind != Kind::BitmapButton)
        return nullptr;
    return res::FindLineTip(w.id);
}

const res::ImageState* StateOf(const Window& w)
{
    return w.image && w.image->bitmap ? res::FindImageState(w.image->bitmap->id) : nullptr;
}

std::string Str(std::string_view s) { return std::string(s); }

// The wordings of one tip, longest first: each later one leaves out what matters least.
std::vector<std::string> Wordings(const Window& w, const res::LineTip& t)
{
    std::string state = w.kind == Kind::BitmapStatic ? "lit" : "set";
    std::string pin = t.pin ? "pin " + std::to_string(t.pin) : std::string("no pin");
    std::string where = t.pin ? pin + (t.inverted ? ", inverted by the port" : ", not inverted")
                              : std::string("no pin, the port's data-direction bit");
    std::string means = state + " means " + Str(t.meaning);
    std::string full = Str(t.line) + ", " + where + ": " + means;
    if (!t.bit.empty())
        full += " (" + Str(t.bit) + ")";
    std::string shortWhere = pin + (t.pin && t.inverted ? ", inverted" : "");
    const std::vector<std::string> plain = {full, Str(t.line) + ", " + where + ": " + means,
                                            Str(t.line) + ", " + shortWhere + ": " + means};
    if (w.helpNote.empty())
        return plain;
    // What the control does on the port in use comes first: each wording with it, then without.
    std::vector<std::string> wordings;
    for (const std::string& wording : plain)
        wordings.push_back(wording + "; " + w.helpNote);
    wordings.insert(wordings.end(), plain.begin(), plain.end());
    return wordings;
}

}  // namespace

std::string PinHelp(const Window& w)
{
    const res::LineTip* t = TipOf(w);
    return t ? Wordings(w, *t).front() : std::string();
}

std::string PinHelp(const Window& w, int width)
{
    const res::LineTip* t = TipOf(w);
    if (!t || width <= 0)
        return {};
    std::vector<std::string> all = Wordings(w, *t);
    for (const std::string& s : all)
        if (static_cast<int>(s.size()) <= width)
            return s;
    return all.back().substr(0, static_cast<std::size_t>(width));
}

std::string LineName(const Window& w)
{
    const res::LineTip* t = TipOf(w);
    if (!t)
        return {};
    return Str(t->line) + (w.kind == Kind::BitmapStatic ? " lamp" : " bit button");
}

std::string_view StateWord(const Window& w)
{
    const res::ImageState* s = StateOf(w);
    return s ? s->word : std::string_view();
}

bool ShowsOn(const Window& w)
{
    const res::ImageState* s = StateOf(w);
    return s && s->on;
}

}  // namespace afx
