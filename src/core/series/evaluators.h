#pragma once
// Value and derivatives of the loaded series. Pure arithmetic on the
// series; every floating-point fault raises its run-time error number.
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <optional>

namespace vendrak {

double EvalSeries(const Series& ser, double x);
// f(x) without raising: the value, or the number EvalSeries would raise. For
// scans that meet many failing points.
struct SeriesValue {
    double value = 0;
    std::optional<ErrorNumber> fault;
};
SeriesValue TryEvalSeries(const Series& ser, double x);
double EvalDeriv1(const Series& ser, double x);
double EvalDeriv2(const Series& ser, double x);
double EvalDerivN(const Series& ser, int order, double x);
// The derivative of the given order (0: the function), by the evaluator for it.
double EvalSelected(const Series& ser, int order, double x);

} // namespace vendrak
