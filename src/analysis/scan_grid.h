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

// A Newton iteration that comes back to one of its earlier iterates repeats
// itself from there on (each step depends on the iterate alone), so whole
// periods of the repetition can be skipped without changing where it ends.
// Without this, an error bound below the spacing of doubles (or one that is
// not positive) and a large cycle limit keep the window busy for minutes on
// two iterates that alternate.
class CycleSkipper {
public:
    explicit CycleSkipper(double start) { history_[0] = start; }

    // Called with iterate number `cycles` just computed; returns the number
    // of steps (whole periods) to add to the count.
    int skip(double x, int cycles, int maxCycles)
    {
        int skipped = 0;
        for (int p = 1; p <= kDepth && p <= cycles; ++p) {
            if (history_[static_cast<unsigned>(cycles - p) % kDepth] == x) {
                if (maxCycles > cycles)
                    skipped = (maxCycles - cycles) / p * p;
                break;
            }
        }
        history_[static_cast<unsigned>(cycles) % kDepth] = x;
        return skipped;
    }

private:
    static constexpr int kDepth = 8;
    double history_[kDepth] = {};
};

} // namespace vendrak::scan
