#include "core/graph/tee_canvas.h"

namespace vendrak {

TeeCanvas::TeeCanvas(Canvas& first, Canvas* second)
    : first_(first)
    , second_(second)
{
    left_ = first.scaleLeft();
    top_ = first.scaleTop();
    right_ = first.scaleRight();
    bottom_ = first.scaleBottom();
}

void TeeCanvas::setSecond(Canvas* second)
{
    second_ = second;
    if (second_)
        second_->setScale(left_, top_, right_, bottom_);
}

void TeeCanvas::flush()
{
    each([](Canvas& c) { c.flush(); });
}

void TeeCanvas::scaleChanged()
{
    each([this](Canvas& c) { c.setScale(left_, top_, right_, bottom_); });
}

void TeeCanvas::drawPoint(double x, double y, Colour c)
{
    each([&](Canvas& to) { to.pset(x, y, c); });
}

void TeeCanvas::drawLine(double x1, double y1, double x2, double y2, Colour c)
{
    each([&](Canvas& to) { to.line(x1, y1, x2, y2, c); });
}

void TeeCanvas::drawRect(double x1, double y1, double x2, double y2, Colour c)
{
    each([&](Canvas& to) { to.rectangle(x1, y1, x2, y2, c); });
}

void TeeCanvas::drawCircle(double cx, double cy, double radius, Colour outline, Colour fill,
                           bool filled)
{
    each([&](Canvas& to) { to.circle(cx, cy, radius, outline, fill, filled); });
}

void TeeCanvas::drawText(double x, double y, const QString& text, Colour c,
                         const std::optional<LabelFont>& font)
{
    each([&](Canvas& to) {
        to.moveTo(x, y);
        to.setForeColour(c);
        const std::optional<LabelFont> previous = to.selectFont(font);
        to.print(text);
        to.selectFont(previous);
    });
}

} // namespace vendrak
