#pragma once
// One drawing onto two canvases at once: the picture kept at one pixel per
// logical pixel (which the clipboard, the companion bitmap and the tests
// read) and the one shown on a high-density screen. The first canvas gives
// the size; both get every step in the same user coordinates.
#include "core/graph/canvas.h"

namespace vendrak {

class TeeCanvas : public Canvas {
public:
    TeeCanvas(Canvas& first, Canvas* second);

    // The second canvas may come and go (the screen's pixel ratio changes).
    // It takes up the mapping in force.
    void setSecond(Canvas* second);

    int outerWidth() const override { return first_.outerWidth(); }
    int outerHeight() const override { return first_.outerHeight(); }
    void flush() override;

protected:
    void scaleChanged() override;
    void draw(const Mark& mark) override;

private:
    template <class Step> void each(Step step)
    {
        step(first_);
        if (second_)
            step(*second_);
    }

    Canvas& first_;
    Canvas* second_;
};

} // namespace vendrak
