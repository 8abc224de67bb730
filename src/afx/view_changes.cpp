#include "afx/view_changes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "afx/frontend.h"

namespace afx {
namespace {


template <typename T>
void Append(std::string& s, const T& value)
{
    s.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The value of one property as a comparable string; none for properties that are events
// rather than values (a menu rebuilt), which are always reported.
std::optional<std::string> ValueOf(const Window& w, What what)
{
    std::string v;
    switch (what) {
    case What::Text: return w.text;
    case What::Check: Append(v, w.check); break;
    case What::Image: Append(v, w.image); Append(v, w.icon); break;
    case What::Items:
        for (const std::string& item : w.items)
            v.append(item).push_back('\0');
        break;
    case What::Selection: Append(v, w.sel); Append(v, w.marked); Append(v, w.selStart); Append(v, w.selEnd); break;
    case What::Focus: Append(v, w.focus); break;
    case What::Enabled: Append(v, w.enabled); break;
    case What::Limit: Append(v, w.limit); break;
    case What::Icon: Append(v, w.bigIcon); Append(v, w.smallIcon); break;
    case What::Minimized: Append(v, w.minimized); break;
    case What::Dropped: Append(v, w.dropped); break;
    case What::HelpNote: return w.helpNote;
    case What::Menu:
    case What::Count: return std::nullopt;
    }
    return v;
}

// What the front-end was last shown of each property; empty where it is not known.
using Shown = std::array<std::optional<std::string>, kWhatCount>;

struct BatchState {
    int depth = 0;
    std::vector<std::pair<Window*, What>> pending;  // in the order they first changed
    std::unordered_map<const Window*, Shown> shown;  // windows that have a view
};

BatchState& State()
{
    static BatchState state;
    return state;
}

void Report(Window* w, What what)
{
    if (Frontend* f = CurrentFrontend())
        f->Changed(w, what);
}

void Remember(Window* w)
{
    Shown& s = State().shown[w];
    for (std::size_t i = 0; i < kWhatCount; ++i)
        s[i] = ValueOf(*w, static_cast<What>(i));
}

// Reports the property if it differs from what was shown, and remembers it as shown.
void ReportIfChanged(Window* w, What what)
{
    auto it = State().shown.find(w);
    if (it == State().shown.end()) {
        Report(w, what);  // no view of it: nothing to compare against
        return;
    }
    std::optional<std::string>& shown = it->second[static_cast<std::size_t>(what)];
    std::optional<std::string> now = ValueOf(*w, what);
    if (now && shown && *now == *shown)
        return;
    shown = std::move(now);
    Report(w, what);
}

}  // namespace

ChangeBatch::ChangeBatch() { ++State().depth; }

ChangeBatch::~ChangeBatch()
{
    if (--State().depth == 0)
        FlushChanges();
}

void ReportChange(Window* w, What what)
{
    BatchState& s = State();
    if (s.depth == 0) {
        ReportIfChanged(w, what);
        return;
    }
    if (std::find(s.pending.begin(), s.pending.end(), std::pair{w, what}) == s.pending.end())
        s.pending.emplace_back(w, what);
}

void FlushChanges()
{
    // A report may lead the front-end to change a record again: that lands in a fresh list.
    std::vector<std::pair<Window*, What>> pending;
    pending.swap(State().pending);
    for (auto [w, what] : pending)
        ReportIfChanged(w, what);
}

void ViewBuilt(Window* top)
{
    Remember(top);
    for (auto& c : top->children)
        Remember(c.get());
}

void ViewGone(Window* top)
{
    BatchState& s = State();
    std::erase_if(s.pending, [&](const auto& p) { return p.first == top || p.first->parent == top; });
    s.shown.erase(top);
    for (auto& c : top->children)
        s.shown.erase(c.get());
}

void ViewMayDiffer(Window* w, What what)
{
    auto it = State().shown.find(w);
    if (it != State().shown.end())
        it->second[static_cast<std::size_t>(what)].reset();
}

}  // namespace afx
