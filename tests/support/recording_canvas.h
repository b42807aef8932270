#pragma once
// A canvas that only remembers what was drawn on it, in user coordinates, so
// tests can check the drawing without looking at pixels.
#include "core/graph/canvas.h"

#include <vector>

namespace vendrak {

class RecordingCanvas : public Canvas {
public:
    enum class Kind { Point, Line, Rect, Circle, Text };

    struct Op {
        Kind kind = Kind::Point;
        double x1 = 0;
        double y1 = 0;
        double x2 = 0;   // end of a line or second corner; radius of a circle
        double y2 = 0;
        Colour colour = 0; // outline colour of a circle
        Colour fill = 0;
        bool filled = false;
        QString text;
        std::optional<LabelFont> font;
    };

    explicit RecordingCanvas(int width = 400, int height = 300)
        : width_(width)
        , height_(height)
    {
    }

    int outerWidth() const override { return width_; }
    int outerHeight() const override { return height_; }

    std::vector<Op> ops;
    int scaleChanges = 0;

    // The operations of one kind, or of one kind in one colour.
    std::vector<Op> of(Kind kind) const;
    std::vector<Op> of(Kind kind, Colour colour) const;

protected:
    void scaleChanged() override { ++scaleChanges; }
    void drawPoint(double x, double y, Colour c) override;
    void drawLine(double x1, double y1, double x2, double y2, Colour c) override;
    void drawRect(double x1, double y1, double x2, double y2, Colour c) override;
    void drawCircle(double cx, double cy, double radius, Colour outline, Colour fill,
                    bool filled) override;
    void drawText(double x, double y, const QString& text, Colour c,
                  const std::optional<LabelFont>& font) override;

private:
    int width_;
    int height_;
};

} // namespace vendrak
