#pragma once
// The Roots command's search, without the window: a grid scan for sign
// changes of f, each refined by Newton's method.
#include "core/analysis/scan_outcome.h"
#include "core/study/dimension.h"

namespace vendrak {

// Walks [XLower, XUpper] of the study and returns the roots found, the
// lstRoots entries and the lblRoots caption ("2 roots"). At most kResultCapacity roots are kept: the
// scan stops at the next one, listing only what is stored.
// With a control, the scan reports its progress there and stops when asked
// (the outcome then only says it was cancelled).
ScanOutcome FindRoots(const Series& series, const StudySpecs& study, ScanControl* control = nullptr);

} // namespace vendrak
