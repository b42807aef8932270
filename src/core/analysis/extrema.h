#pragma once
// The Extrema command's search, without the window: a grid scan of a
// central-difference slope, each change of its sign refined by Newton's
// method on f' with the exact f' and f''; points where |f| is within the
// error bound are counted as possible roots on the way.
#include "core/analysis/scan_outcome.h"
#include "core/study/dimension.h"

namespace vendrak {

// Step of the central-difference slope, also the offset of the min/max test.
constexpr double kSlopeStep = 0.0045;

// Walks [XLower, XUpper] of the study and returns the maxima, minima and
// possible roots found, the lstExtrema entries ("MIN: [0 , 0]") and the lblExtrema caption. At most
// kResultCapacity maxima and as many minima are kept: the scan stops at the
// next one of either kind, listing only what is stored.
// With a control, the scan reports its progress there and stops when asked
// (the outcome then only says it was cancelled).
ScanOutcome FindExtrema(const Series& series, const StudySpecs& study, ScanControl* control = nullptr);

} // namespace vendrak
