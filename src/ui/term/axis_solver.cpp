#include "ui/term/axis_solver.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace ui::term {

int AxisSolver::Anchor(double du)
{
    m_anchors.push_back(du);
    return static_cast<int>(m_anchors.size()) - 1;
}

void AxisSolver::Require(int from, int to, double cells)
{
    m_demands.push_back({from, to, cells});
}

// Sorts the positions into chains of near neighbours and files every demand that points forward
// under the chains it joins.
AxisSolver::Plan AxisSolver::MakePlan() const
{
    Plan plan;
    std::vector<std::size_t> order(m_anchors.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return m_anchors[a] < m_anchors[b]; });
    plan.cluster.assign(m_anchors.size(), 0);
    double previous = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        double p = m_anchors[order[k]];
        if (k == 0 || p - previous > m_merge)
            plan.positions.push_back(p);
        plan.cluster[order[k]] = static_cast<int>(plan.positions.size()) - 1;
        previous = p;
    }
    plan.into.resize(plan.positions.size());
    plan.outOf.resize(plan.positions.size());
    for (const Demand& d : m_demands) {
        int a = plan.cluster[static_cast<std::size_t>(d.from)];
        int b = plan.cluster[static_cast<std::size_t>(d.to)];
        if (a < b) {
            plan.into[static_cast<std::size_t>(b)].push_back({a, d.cells});
            plan.outOf[static_cast<std::size_t>(a)].push_back({b, d.cells});
        }
    }
    return plan;
}

// The tightest packing: every cluster as early as its demands and the scale allow.
std::vector<double> AxisSolver::Earliest(const Plan& plan, double scale)
{
    const auto& pos = plan.positions;
    std::vector<double> cell(pos.size(), 0.0);
    for (std::size_t k = 1; k < pos.size(); ++k) {
        double c = cell[k - 1] + scale * (pos[k] - pos[k - 1]);
        for (auto [from, cells] : plan.into[k])
            c = std::max(c, cell[static_cast<std::size_t>(from)] + cells);
        cell[k] = c;
    }
    return cell;
}

double AxisSolver::Extent(double scale) const
{
    std::vector<double> cells = Earliest(MakePlan(), scale);
    return cells.empty() ? 0.0 : cells.back();
}

std::vector<double> AxisSolver::Solve(double scale, double end) const
{
    Plan plan = MakePlan();
    std::vector<double> early = Earliest(plan, scale);
    if (early.empty())
        return {};
    // The latest packing that ends where the earliest does; any mix of two packings that meet
    // every demand meets them too.
    std::vector<double> late(early.size(), std::numeric_limits<double>::infinity());
    late.back() = std::max(early.back(), end);
    for (std::size_t k = late.size() - 1; k-- > 0;) {
        double c = late[k + 1] - scale * (plan.positions[k + 1] - plan.positions[k]);
        for (auto [to, cells] : plan.outOf[k])
            c = std::min(c, late[static_cast<std::size_t>(to)] - cells);
        late[k] = c;
    }
    std::vector<double> mid(early.size());
    for (std::size_t k = 0; k < mid.size(); ++k)
        mid[k] = (early[k] + late[k]) / 2;
    double origin = mid.front();
    std::vector<double> out(m_anchors.size());
    for (std::size_t i = 0; i < m_anchors.size(); ++i)
        out[i] = mid[static_cast<std::size_t>(plan.cluster[i])] - origin;
    return out;
}

double AxisSolver::LargestScale(double room, double most) const
{
    Plan plan = MakePlan();
    auto fits = [&](double scale) {
        std::vector<double> cells = Earliest(plan, scale);
        return cells.empty() || cells.back() <= room + 1e-9;
    };
    if (!fits(0.0))
        return -1.0;
    if (fits(most))
        return most;
    double lo = 0.0, hi = most;
    for (int i = 0; i < 30; ++i) {
        double mid = (lo + hi) / 2;
        (fits(mid) ? lo : hi) = mid;
    }
    return lo;
}

}  // namespace ui::term
