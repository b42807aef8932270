#include "core/graph/canvas.h"

#include <cmath>

namespace vendrak {

void Canvas::setScale(double left, double top, double right, double bottom)
{
    // A mapping that cannot be inverted is never installed: the old one stays.
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right)
        || !std::isfinite(bottom) || !std::isfinite(right - left) || !std::isfinite(bottom - top)
        || right == left || bottom == top)
        return;
    left_ = left;
    top_ = top;
    right_ = right;
    bottom_ = bottom;
    scaleChanged();
}

void Canvas::moveTo(double x, double y)
{
    penX_ = x;
    penY_ = y;
}

void Canvas::pset(double x, double y, Colour c)
{
    draw({Mark::Kind::Point, x, y, x, y, c});
    moveTo(x, y);
}

void Canvas::lineTo(double x, double y, Colour c)
{
    draw({Mark::Kind::Line, penX_, penY_, x, y, c});
    moveTo(x, y);
}

void Canvas::line(double x1, double y1, double x2, double y2, Colour c)
{
    draw({Mark::Kind::Line, x1, y1, x2, y2, c});
    moveTo(x2, y2);
}

void Canvas::lineBy(double x, double y, double dx, double dy, Colour c)
{
    draw({Mark::Kind::Line, x, y, x + dx, y + dy, c});
    moveTo(x + dx, y + dy);
}

void Canvas::rectangle(double x1, double y1, double x2, double y2, Colour c)
{
    draw({Mark::Kind::Rect, x1, y1, x2, y2, c});
    moveTo(x2, y2);
}

void Canvas::circle(double cx, double cy, double radius, Colour outline, Colour fill, bool filled)
{
    draw({Mark::Kind::Circle, cx, cy, radius, radius, outline, fill, filled});
    moveTo(cx, cy);
}

std::optional<LabelFont> Canvas::selectFont(std::optional<LabelFont> font)
{
    std::optional<LabelFont> previous = font_;
    font_ = font;
    return previous;
}

void Canvas::print(const QString& text)
{
    draw({Mark::Kind::Text, penX_, penY_, penX_, penY_, fore_, 0, false, text, font_});
}

} // namespace vendrak
