#include "core/analysis/error_trap.h"

namespace vendrak {

ErrorNumber TrapError(Dimension& d, ErrorNumber number)
{
    d.ierr = errorCode(number);
    if (d.ScriptMath.ierr != 0) {
        d.ierr = d.ScriptMath.ierr;
        d.ScriptMath.ierr = 0;
    }
    return static_cast<ErrorNumber>(d.ierr);
}

} // namespace vendrak
