#include "core/analysis/error_trap.h"

namespace vendrak {

ErrorNumber TrapError(ErrorState& e, ErrorNumber number)
{
    e.ierr = errorCode(number);
    if (e.ScriptMath.ierr != 0) {
        e.ierr = e.ScriptMath.ierr;
        e.ScriptMath.ierr = 0;
    }
    return static_cast<ErrorNumber>(e.ierr);
}

} // namespace vendrak
