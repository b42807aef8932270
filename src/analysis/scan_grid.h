#pragma once
// The grid both scans walk: XLower, XLower + h, XLower + 2h, ... built by
// repeated addition of h = (XUpper - XLower) / Subintervals.
#include "shell/dimension.h"

#include <cmath>

namespace vendrak::scan {

enum class Layout {
    Ready, // h is a finite step; walk the grid
    Empty, // no subinterval to walk (a restored study may carry 0 or less)
    Broken // the step is not a finite number: the interval is too wide
};

inline Layout layOutGrid(const Dimension& d, double& h)
{
    if (d.Subintervals < 1)
        return Layout::Empty;
    h = (d.XUpper - d.XLower) / d.Subintervals;
    return std::isfinite(h) ? Layout::Ready : Layout::Broken;
}

// The next grid point. Deliberately unchecked: an overflow gives +inf, which
// the scan's bound tests treat as past XUpper instead of an error to resume
// from (resuming would only overflow again).
inline double advance(double x, double h) { return x + h; }

inline double sign(double v) { return v < 0 ? -1.0 : (v > 0 ? 1.0 : 0.0); }

} // namespace vendrak::scan
