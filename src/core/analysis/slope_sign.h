#pragma once
// Extrema decide by the sign of f(x + d) - f(x - d), two values of f at
// every grid point. For a power series that difference is itself a
// polynomial in x - centre, one degree lower: one Horner sum gives it, and a
// bound on how far the sum can lie from the difference the two one-point
// values make says where its sign is theirs. Only there is it used; the
// scan evaluates both values wherever it is not.
#include "core/series/block_eval.h"
#include "core/study/dimension.h"

#include <memory>
#include <vector>

namespace vendrak::scan {

class SlopeSign {
public:
    // None for a series this does not cover: not a power series, a constant,
    // a coefficient that is not finite, or one too long for its difference
    // polynomial to be formed quickly.
    static std::unique_ptr<SlopeSign> of(const Series& series, double beside);

    // The difference polynomial at grid points, through the block path.
    const BlockEvaluator& evaluator() const { return evaluator_; }

    // For every grid point x between first and last: where the difference
    // polynomial's block value v at x is finite and |v| > bound, the one-point
    // values f(x + d) and f(x - d) are finite and their difference has the
    // sign of v. Infinite where nothing can be said.
    double bound(double first, double last) const;

private:
    SlopeSign(const Series& difference, double centre, double beside);

    BlockEvaluator evaluator_;
    double centre_;
    double beside_;
    std::vector<double> absCoeffs_;     // |C[k]|, the top one first
    std::vector<double> absWeighted_;   // k |C[k]|, for f', the top one first
    std::vector<double> absDifference_; // the difference polynomial's |coefficients|, top first
    std::vector<double> roundings_;     // how far each stored coefficient lies from the exact one, top first
};

} // namespace vendrak::scan
