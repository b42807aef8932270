#pragma once
// Value and derivatives of the loaded series. Pure arithmetic on the study
// state; every floating-point fault raises its run-time error number.
#include "core/study/dimension.h"
#include "core/study/errors.h"

namespace vendrak {

double EvalSeries(const Dimension& d, double x);
// f(x) without raising: false, with the number EvalSeries would raise, when
// it fails. For scans that meet many failing points.
bool TryEvalSeries(const Dimension& d, double x, double& value, ErrorNumber& fault);
double EvalDeriv1(const Dimension& d, double x);
double EvalDeriv2(const Dimension& d, double x);
double EvalDerivN(const Dimension& d, double x); // n = d.DerivOrder
double EvalSelected(const Dimension& d, double x); // chooses by d.DerivOrder

} // namespace vendrak
