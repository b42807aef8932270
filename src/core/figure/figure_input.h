#pragma once
// The figure's input from the study record as the window and the batch
// front end keep it today: the one place that knows where each part lives.
#include "core/figure/figure.h"
#include "core/study/dimension.h"
#include "core/verify/verify.h"

#include <vector>

namespace vendrak {

// The study `d` as its last plot drew it (window, interval) with its scans'
// roots and extrema as marks; those Verify proved (when `proven` is given and
// was made for this series and interval) are marked as proven instead. The
// title is the series' description, else the file's name.
FigureInput FigureInputOf(const Dimension& d, const std::vector<int>& orders, bool fitY, bool shade,
                          const VerifyReport* proven);

} // namespace vendrak
