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

void TeeCanvas::draw(const Mark& mark)
{
    each([&](Canvas& to) { to.replay(mark); });
}

} // namespace vendrak
