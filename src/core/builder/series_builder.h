#pragma once
// A new series made from an expression: the Taylor series about a centre, or
// the Fourier series over one period. Either can be written as a series file
// the window opens like any other.
#include "core/builder/expression.h"
#include "core/series/series_file.h"
#include "core/study/dimension.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>
#include <vector>

namespace vendrak {


constexpr int kMaxTaylorDegree = 10000;
constexpr int kMaxHarmonics = 20000;
// A Fourier series is sampled on a grid doubled from the least until its
// coefficients settle, up to the most.
constexpr int kLeastFourierSamples = 4096;
constexpr int kMostFourierSamples = 1 << 21;
// Quadrature points a proof of the Fourier coefficients may spend in all:
// enough for smooth functions and a few hundred harmonics in seconds.
constexpr long kProofEvaluations = 400000;

struct Interval {
    double lower = 0;
    double upper = 0;
};

struct BuiltSeries {
    SeriesKind kind = SeriesKind::Power;
    double centre = 0;
    double period = 0;          // 2π when periodText is "*"
    QString periodText;         // "*" or the period as shown
    double lower = 0, upper = 0; // where the series is meant to be used
    // Power series: a_k of (x - c)^k. Trigonometric: the constant, then for
    // each harmonic its sine and cosine coefficient.
    std::vector<double> coeffs;
    QString sourceText;
    // Fourier only: the error of the coefficients as written, the file's
    // rounding included: proven in ball arithmetic where errorProven, else
    // estimated from refining the sampling and from samples off the grid.
    double errorEstimate = 0;
    bool errorProven = false;
    // Over [lower, upper], the series as the file holds it against the
    // expression: the largest difference found (infinity where the
    // expression is not finite) and the largest |expression|.
    double agreement = 0;
    double scale = 0;
    // Fourier only: the largest difference of the series from the expression
    // over the sampled period, at points off the sampling grid.
    double seriesError = 0;
    // What the user should know although the series was made: a centre or
    // period that the file's digits round, so the series is about the
    // rounded one.
    QStringList notes;
};

// Lets another thread stop a build. The builder looks at it between series
// operations and samples, so a stopped build ends within one operation.
struct BuildControl {
    std::atomic<bool> cancel{false};
    // Share of the work done so far, 0 to 1, for a progress dialog; the
    // builder moves it through the const pointer it is given.
    mutable std::atomic<double> fraction{0.0};
    // Limits a caller may lower to try many builds quickly, as the fuzzer
    // does: the most samples of a Fourier series, and the quadrature points
    // its proof of the coefficients may spend.
    int mostSamples = kMostFourierSamples;
    long proofEvaluations = kProofEvaluations;
};

// Each coefficient is the double nearest to the true one. Throws Error
// with a message for the user, or Cancelled when its control asks to stop.
BuiltSeries BuildTaylor(const QString& expression, double centre, int degree,
                        std::optional<Interval> interval = std::nullopt, const BuildControl* control = nullptr);

// period is "*" (2π) or a positive number.
BuiltSeries BuildFourier(const QString& expression, double centre, const QString& period, int harmonics,
                         std::optional<Interval> interval = std::nullopt, const BuildControl* control = nullptr);

// The series as a study holds it.
Series ToSeries(const BuiltSeries& s);

// The atomic series-only write; on failure the message says why.
std::optional<Error> WriteBuiltSeries(const BuiltSeries& s, const QString& path);

// How a series is built about the centre and period its file will hold: the
// number `value` is written as, and a note when that is not `value` itself.
// `what` names it ("centre").
double AsFileHoldsIt(double value, const QString& what, QStringList& notes);

// The expression as the series' description quotes it, cut with an ellipsis
// so that the description stays far below the longest field a file may hold.
QString DescribedExpression(const QString& expression);

// The interval, refused when its ends are not finite or it is empty as the
// file will hold it; `given` tells the user's from the one a builder picked.
Interval CheckedInterval(const Interval& interval, bool given);

// The validity interval the Taylor builder picks when the user gives none.
Interval DefaultTaylorInterval(double centre, const std::vector<double>& coeffs);

// A Taylor series' default interval agrees with its expression to this part
// of the largest |expression| on it.
constexpr double kDefaultAgreement = 1e-12;
constexpr double kWidestDefaultRadius = 100;

struct Agreement {
    double agreement = 0; // infinity where the expression is not finite
    double scale = 0;
};

// The series as the file holds it (each number at 15 digits) against the
// expression, both evaluated in ball arithmetic at `points` equally spaced
// points of the interval, its ends included.
Agreement MeasureAgreement(const BuiltSeries& s, const QString& expression, const Interval& interval, int points = 401);

} // namespace vendrak
