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
    void drawPoint(double x, double y, Colour c) override;
    void drawLine(double x1, double y1, double x2, double y2, Colour c) override;
    void drawRect(double x1, double y1, double x2, double y2, Colour c) override;
    void drawCircle(double cx, double cy, double radius, Colour outline, Colour fill,
                    bool filled) override;
    void drawText(double x, double y, const QString& text, Colour c,
                  const std::optional<LabelFont>& font) override;

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
