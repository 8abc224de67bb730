// One axis of the cell layout: positions in dialog units mapped to cells in the same order,
// with at least `scale` cells per unit between neighbours and room where an item needs it.
#pragma once

#include <vector>

namespace ui::term {

class AxisSolver {
public:
    // Positions closer than `merge` units (in a chain) share one cell, so that controls meant
    // to line up, such as a label at y 96 and its lamp at y 97, stay on one line.
    explicit AxisSolver(double merge) : m_merge(merge) {}

    // Registers a position; the handle names it in Require and in the solution.
    int Anchor(double du);
    // The cell of `to` must lie at least `cells` after the cell of `from`. A demand that runs
    // against the order of the positions cannot be met by an order-keeping map and is dropped.
    void Require(int from, int to, double cells);

    // Cells (fractional) of every anchor for `scale` cells per unit, the smallest position at
    // cell 0 and the largest at `end` (negative: where the tightest packing puts it). Each
    // anchor sits midway between the earliest and the latest cell it could take, so spare room
    // is shared out instead of piling up at the end.
    std::vector<double> Solve(double scale, double end = -1) const;
    // Where the tightest packing for `scale` puts the largest position.
    double Extent(double scale) const;

    // The largest scale up to `most` for which the largest position stays within `room` cells;
    // negative when even scale 0 does not fit.
    double LargestScale(double room, double most) const;

private:
    struct Demand {
        int from, to;
        double cells;
    };
    struct Plan {
        std::vector<double> positions;  // first position of each cluster, ascending
        std::vector<int> cluster;       // of each anchor
        std::vector<std::vector<std::pair<int, double>>> into, outOf;  // demands by cluster
    };
    Plan MakePlan() const;
    static std::vector<double> Earliest(const Plan& plan, double scale);

    double m_merge;
    std::vector<double> m_anchors;
    std::vector<Demand> m_demands;
};

}  // namespace ui::term
