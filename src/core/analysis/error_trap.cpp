#include "core/analysis/error_trap.h"

namespace vendrak {

int TrapError(Dimension& d, int number)
{
    d.ierr = number;
    if (d.ScriptMath.ierr != 0) {
        d.ierr = d.ScriptMath.ierr;
        d.ScriptMath.ierr = 0;
    }
    return d.ierr;
}

} // namespace vendrak
