#pragma once
// The figure's input from the parts of a study the window and the batch
// front end keep.
#include "core/figure/figure.h"
#include "core/study/dimension.h"
#include "core/verify/verify.h"

#include <vector>

namespace vendrak {

// The series with the plot window and study interval its last plot drew,
// and its scans' roots and extrema as marks; those Verify proved (when
// `proven` is given and was made for this series and interval) are marked as
// proven instead. The title is the series' description, else the file's name.
FigureInput FigureInputOf(const Series& series, const PlotSetup& plot, const StudySpecs& study,
                          const Results& results, const QString& fileName, const std::vector<int>& orders,
                          bool fitY, bool shade, const VerifyReport* proven);

} // namespace vendrak
