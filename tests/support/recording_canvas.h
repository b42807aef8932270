#pragma once
// A 400 x 300 canvas that only remembers what was drawn on it, in user
// coordinates, so tests check the drawing without looking at pixels.
#include "core/graph/canvas.h"

#include <vector>

namespace vendrak {

class RecordingCanvas : public Canvas {
public:
    using Kind = Mark::Kind;
    using Op = Mark; // a circle's radius in x2
    std::vector<Op> ops;

    int outerWidth() const override { return 400; }
    int outerHeight() const override { return 300; }
    // The operations of one kind, in any colour or in one.
    std::vector<Op> of(Kind kind, std::optional<Colour> colour = {}) const;

protected:
    void draw(const Mark& mark) override { ops.push_back(mark); }
};

} // namespace vendrak
