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
namespace detail {
// The same with 0 for no fault: a value and a number come back in two
// registers, where the optional would be written in two parts and read back
// as one word, a store the processor cannot forward (a stall on every point
// of a failing grid).
struct NotedValue {
    double value;
    ErrorNumber fault;
};
NotedValue seriesValueNoted(const Series& ser, double x);
} // namespace detail
inline SeriesValue TryEvalSeries(const Series& ser, double x)
{
    const detail::NotedValue v = detail::seriesValueNoted(ser, x);
    if (v.fault == ErrorNumber{})
        return {v.value, std::nullopt};
    return {v.value, v.fault};
}
double EvalDeriv1(const Series& ser, double x);
double EvalDeriv2(const Series& ser, double x);
double EvalDerivN(const Series& ser, int order, double x);
// The derivative of the given order (0: the function), by the evaluator for it.
double EvalSelected(const Series& ser, int order, double x);

} // namespace vendrak
