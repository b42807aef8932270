#pragma once
// The error number a numeric command's trap works with. A failing math
// function leaves its own number in the math object, and that number is the
// more telling one, so it wins over the number of the error that arrived
// (and is cleared for the next failure).
#include "core/study/dimension.h"
#include "core/study/errors.h"

namespace vendrak {

// Sets the window's ierr from `number` (or from the math object's ierr when
// that is not 0, clearing it) and returns the window's ierr.
ErrorNumber TrapError(ErrorState& e, ErrorNumber number);

} // namespace vendrak
