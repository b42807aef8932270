#pragma once
// The four analysis commands as the window runs them, from the texts of the
// study fields, so the window and the batch front end share one path: read
// the study specifications, compute, hand back what the window shows.
#include "core/analysis/integral.h"
#include "core/analysis/point_value.h"
#include "core/analysis/scan_outcome.h"
#include "core/study/dimension.h"

#include <QString>

namespace vendrak {

// The fields ReadStudySpecs reads: the five study boxes and the text of the
// derivative chooser ("Function", "2nd.derivative").
struct StudySpecTexts {
    QString xlower, xupper, subintervals, error, maxcy;
    QString derivative = QStringLiteral("Function");
};

// The study specifications the texts read as (their leading numbers), the
// rest as in `before`; throws the run-time error of a number beyond its range.
StudySpecs ReadStudySpecsFrom(const StudySpecTexts& t, const StudySpecs& before);

// Roots and Extrema: with unreadable study fields the command ends quietly
// (not completed, no entries, no study read, its result table to be
// emptied). A control follows and may stop the scan (see FindRoots).
ScanOutcome RootsCommand(const Series& series, const StudySpecs& before, const StudySpecTexts& t,
                         ScanControl* control = nullptr);
ScanOutcome ExtremaCommand(const Series& series, const StudySpecs& before, const StudySpecTexts& t,
                           ScanControl* control = nullptr);

// Integral: unreadable fields are trapped like a failed integration.
IntegralOutcome IntegralCommand(const Series& series, const StudySpecs& before, const StudySpecTexts& t);
// The results with the integral's value, when it has one.
Results WithIntegral(const Results& before, const IntegralOutcome& integral);

// Value=: the lblDerVal text (empty when there is no value) and the order read.
PointValue PointValueCommand(const Series& series, const StudySpecs& before, const StudySpecTexts& t,
                             const QString& orderText, const QString& pointText);

} // namespace vendrak
