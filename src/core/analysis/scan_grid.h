#pragma once
// The grid both scans walk: XLower, XLower + h, XLower + 2h, ... built by
// repeated addition of h = (XUpper - XLower) / Subintervals.
#include "core/study/dimension.h"

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

// A Newton iteration that comes back to one of its earlier iterates repeats
// itself from there on (each step depends on the iterate alone), so whole
// periods of the repetition can be skipped without changing where it ends.
// Without this, an error bound below the spacing of doubles (or one that is
// not positive) and a large cycle limit keep the window busy for minutes on
// iterates that go round in a loop. The loop is found as in Brent's method:
// one iterate is kept, replaced after 1, 2, 4, 8, ... steps, until an
// iterate equals it.
class CycleSkipper {
public:
    explicit CycleSkipper(double start) : kept_(start) {}

    // Called with iterate number `cycles` just computed; returns the number
    // of steps (whole periods) to add to the count.
    int skip(double x, int cycles, int maxCycles)
    {
        ++sinceKept_;
        if (x == kept_) {
            const int period = sinceKept_;
            sinceKept_ = 0;
            return maxCycles > cycles ? (maxCycles - cycles) / period * period : 0;
        }
        if (sinceKept_ == keepFor_) {
            kept_ = x;
            keepFor_ = keepFor_ < (1 << 30) ? keepFor_ * 2 : keepFor_;
            sinceKept_ = 0;
        }
        return 0;
    }

private:
    double kept_;
    int keepFor_ = 1;
    int sinceKept_ = 0;
};

} // namespace vendrak::scan
