#pragma once
// Studies with the window's initial settings (-8 <= x <= 8, 256 subintervals, bound 0.01, 20 iterations).
#include "core/analysis/extrema.h"
#include "core/analysis/roots.h"
#include "core/analysis/study_commands.h"
#include "core/series/series_file.h"
#include "core/study/number_text.h"
#include "core/study/dimension.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace vendrak::test {

inline Dimension on(Dimension d, double lower, double upper, int subintervals = 256)
{
    std::tie(d.study.XLower, d.study.XUpper, d.study.Subintervals) = std::tuple(lower, upper, subintervals);
    return d;
}

// No series: the trigonometric kind with period 0.
inline Dimension startUp()
{
    Dimension d;
    d.initialise();
    std::tie(d.study.ErrorBound, d.study.MaxCycles) = std::pair(0.01, 20);
    return on(d, -8, 8);
}

// Power: sum c[k] (x - centre)^k. Trigonometric: c[0] + sum c[2j-1] sin(j theta) + c[2j] cos(j theta), theta = 2 pi (x -
// centre) / period.
inline Dimension series(SeriesKind kind, std::vector<double> c, double centre, double period)
{
    Dimension d = startUp();
    std::tie(d.series.Kind, d.series.TermCount, d.series.Centre, d.series.Period) = std::tuple(kind, int(c.size()) - 1, centre, period);
    d.series.Coeffs = std::move(c);
    return d;
}
inline Dimension powerSeries(std::vector<double> c, double centre = 0) { return series(SeriesKind::Power, std::move(c), centre, 0); }
inline Dimension trigSeries(std::vector<double> c, double centre, double period) { return series(SeriesKind::Trigonometric, std::move(c), centre, period); }

// The Taylor series of sin x about 0 up to the given odd degree.
inline Dimension sineTaylor(int degree)
{
    std::vector<double> c(size_t(degree) + 1, 0.0);
    for (int k = 1; k <= degree; k += 2)
        c[size_t(k)] = (k % 4 == 1 ? 1 : -1) / std::tgamma(k + 1.0);
    return powerSeries(std::move(c));
}

// Opens the file into d as Open does; the message of the failure, empty when it read.
inline QString openSeries(Dimension& d, const QString& path)
{
    Outcome<SeriesFile> read = ReadSeriesFile(d, path);
    if (!read)
        return read.error().message();
    d = Opened(std::move(d), std::move(*read));
    return {};
}

// A series file as a freshly started window would read it; it must read.
inline Dimension readBack(const QString& path)
{
    Dimension d;
    d.initialise();
    EXPECT_EQ(openSeries(d, path), "") << path.toStdString();
    return d;
}

// The scans over a whole study, and the Integral command on fields that hold its settings.
// The scans keep what they found in the study's results and the error they met in ierr, as the window does.
inline ScanOutcome kept(Dimension& d, ScanOutcome scan)
{
    d.results = WithScan(d.results, scan);
    if (scan.trapped)
        d.errors.ierr = errorCode(*scan.trapped);
    return scan;
}
inline ScanOutcome roots(Dimension& d) { return kept(d, FindRoots(d.series, d.study)); }
inline ScanOutcome extrema(Dimension& d) { return kept(d, FindExtrema(d.series, d.study)); }
inline IntegralOutcome integral(Dimension& d)
{
    const StudySpecs& s = d.study;
    const IntegralOutcome out = IntegralCommand(d.series, s, {NumberText(s.XLower), NumberText(s.XUpper), NumberText(s.Subintervals),
                                                              NumberText(s.ErrorBound), NumberText(s.MaxCycles)});
    d.study = out.study.value_or(d.study);
    d.results = WithIntegral(d.results, out);
    if (!out.value)
        d.errors.ierr = errorCode(out.value.error().number());
    return out;
}

} // namespace vendrak::test
