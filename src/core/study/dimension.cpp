#include "core/study/dimension.h"

#include <cmath>

namespace vendrak {

Dimension::Dimension()
{
    ScriptMath.windowIerr = &ierr;
}

Dimension::Dimension(const Dimension& other)
    : StudyFields(other)
{
    ScriptMath.windowIerr = &ierr;
}

Dimension& Dimension::operator=(const Dimension& other)
{
    StudyFields::operator=(other);
    ScriptMath.windowIerr = &ierr;
    return *this;
}

void Dimension::initialise()
{
    PiValue = 4 * std::atan(1.0);
    Factorials[0] = 1;
    for (int i = 1; i <= kFactorialTop; ++i)
        Factorials[i] = i * Factorials[i - 1];
    IntegralDone = false;
    RootCount = MaxCount = MinCount = PossibleRootCount = 0;
    ScratchText.clear();
    FileName.clear();
}

} // namespace vendrak
