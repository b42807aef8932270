#pragma once
// What the window and batch keep of a finished scan, alike: the study as the
// scan read it, its results, and the error number it trapped.
#include "core/analysis/scan_outcome.h"
#include "core/study/dimension.h"
#include "core/study/errors.h"

namespace vendrak {

inline void KeepScan(Dimension& d, const ScanOutcome& scan)
{
    d.errors.ScriptMath.ierr = 0;
    if (scan.study)
        d.study = *scan.study;
    d.results = WithScan(d.results, scan);
    if (scan.trapped)
        d.errors.ierr = errorCode(*scan.trapped);
}

} // namespace vendrak
