#include "cli/record_report.h"

#include "record/quantities.h"

namespace cli {

std::string ProgressLine(const record::Progress& progress)
{
    return record::FormatDuration(progress.elapsed) + "  " + std::to_string(progress.samples) + " samples  " +
           std::to_string(progress.changes) + " changes  " + record::FormatRate(progress.Rate()) +
           "  longest gap " + record::FormatDuration(progress.longest) + "  " +
           std::to_string(progress.longGaps + progress.lentGaps) + " gaps";
}

std::string SummaryLine(const record::Progress& progress)
{
    std::string line = record::FormatDuration(progress.elapsed) + ", " + std::to_string(progress.samples) +
                       " samples, " + std::to_string(progress.changes) + " changes, " +
                       record::FormatRate(progress.Rate());
    if (progress.samples < 2)
        return line;
    line += " (median interval " + record::FormatDuration(progress.median) + "), longest gap " +
            record::FormatDuration(progress.longest) + " at " + record::FormatDuration(progress.longestFrom) + ", " +
            std::to_string(progress.longGaps) + " gaps longer than " +
            record::FormatDuration(record::kGapFactor * progress.median) + " (ten times the median), " +
            std::to_string(progress.lentGaps) + " lent to another driver";
    return line;
}

}  // namespace cli
