#include "support/recording_canvas.h"

namespace vendrak {

std::vector<RecordingCanvas::Op> RecordingCanvas::of(Kind kind, std::optional<Colour> colour) const
{
    std::vector<Op> out;
    for (const Op& op : ops)
        if (op.kind == kind && (!colour || op.colour == *colour))
            out.push_back(op);
    return out;
}

} // namespace vendrak
