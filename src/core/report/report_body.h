#pragma once
// The text of the printed report, as lines, so it can be checked without a
// printer and printed by any line printer.
#include "core/study/dimension.h"

#include <QString>
#include <vector>

namespace vendrak {

// The field texts the report prints exactly as they stand.
struct ReportTexts {
    QString equation, xlower, xupper, subintervals, maxcy, error;
    QString xorigin, yorigin, divx, divy, windowlx, windowgx, windowly, windowgy;
};

struct ReportLine {
    QString text;     // printed in black
    QString redTail;  // printed in red right after text, on the same line
};

// The graph's title line ("Plot of Function", "Plot of derivative # 2 ").
QString ReportTitle(int derivOrder);

// Everything after the graph and its title: study settings, results, plot
// set-up. Maxima and minima are evaluated with the function itself.
std::vector<ReportLine> ReportBody(const Series& series, const StudySpecs& study, const Results& results,
                                   const ReportTexts& t);

} // namespace vendrak
