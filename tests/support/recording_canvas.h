#pragma once
// A 400 x 300 canvas that only remembers what was drawn on it, in user
// coordinates, so tests check the drawing without looking at pixels.
#include "core/graph/canvas.h"

#include <vector>

namespace vendrak {

class RecordingCanvas : public Canvas {
public:
    enum class Kind { Point, Line, Rect, Circle, Text };
    struct Op {
        Kind kind;
        double x1, y1, x2, y2; // a circle's radius in x2
        Colour colour;
        QString text = {};
        std::optional<LabelFont> font = {};
    };
    std::vector<Op> ops;

    int outerWidth() const override { return 400; }
    int outerHeight() const override { return 300; }
    // The operations of one kind, in any colour or in one.
    std::vector<Op> of(Kind kind, std::optional<Colour> colour = {}) const;

protected:
    void drawPoint(double x, double y, Colour c) override { ops.push_back({Kind::Point, x, y, x, y, c}); }
    void drawLine(double x1, double y1, double x2, double y2, Colour c) override
    {
        ops.push_back({Kind::Line, x1, y1, x2, y2, c});
    }
    void drawRect(double x1, double y1, double x2, double y2, Colour c) override
    {
        ops.push_back({Kind::Rect, x1, y1, x2, y2, c});
    }
    void drawCircle(double cx, double cy, double r, Colour outline, Colour, bool) override
    {
        ops.push_back({Kind::Circle, cx, cy, r, r, outline});
    }
    void drawText(double x, double y, const QString& text, Colour c, const std::optional<LabelFont>& font) override
    {
        ops.push_back({Kind::Text, x, y, x, y, c, text, font});
    }
};

} // namespace vendrak
