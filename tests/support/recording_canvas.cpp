#include "support/recording_canvas.h"

namespace vendrak {

namespace {

RecordingCanvas::Op makeOp(RecordingCanvas::Kind kind, double x1, double y1, double x2, double y2,
                           Colour c)
{
    RecordingCanvas::Op op;
    op.kind = kind;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.colour = c;
    return op;
}

} // namespace

std::vector<RecordingCanvas::Op> RecordingCanvas::of(Kind kind) const
{
    std::vector<Op> out;
    for (const Op& op : ops)
        if (op.kind == kind)
            out.push_back(op);
    return out;
}

std::vector<RecordingCanvas::Op> RecordingCanvas::of(Kind kind, Colour colour) const
{
    std::vector<Op> out;
    for (const Op& op : ops)
        if (op.kind == kind && op.colour == colour)
            out.push_back(op);
    return out;
}

void RecordingCanvas::drawPoint(double x, double y, Colour c)
{
    ops.push_back(makeOp(Kind::Point, x, y, x, y, c));
}

void RecordingCanvas::drawLine(double x1, double y1, double x2, double y2, Colour c)
{
    ops.push_back(makeOp(Kind::Line, x1, y1, x2, y2, c));
}

void RecordingCanvas::drawRect(double x1, double y1, double x2, double y2, Colour c)
{
    ops.push_back(makeOp(Kind::Rect, x1, y1, x2, y2, c));
}

void RecordingCanvas::drawCircle(double cx, double cy, double radius, Colour outline, Colour fill,
                                 bool filled)
{
    Op op = makeOp(Kind::Circle, cx, cy, radius, radius, outline);
    op.fill = fill;
    op.filled = filled;
    ops.push_back(op);
}

void RecordingCanvas::drawText(double x, double y, const QString& text, Colour c,
                               const std::optional<LabelFont>& font)
{
    Op op = makeOp(Kind::Text, x, y, x, y, c);
    op.text = text;
    op.font = font;
    ops.push_back(op);
}

} // namespace vendrak
