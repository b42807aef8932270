#pragma once
// A drawing surface in user coordinates, as the graph code sees the graph
// area: a pen that points and lines leave at their last point, a current
// drawing colour, a selectable label font and text printed at the pen.
#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

namespace vendrak {

// Colours are 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

inline QColor toQColor(Colour c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

inline Colour fromQColor(const QColor& c)
{
    return static_cast<Colour>(c.red()) | (static_cast<Colour>(c.green()) << 8)
        | (static_cast<Colour>(c.blue()) << 16);
}

namespace colours {
constexpr Colour Black = 0x000000;
constexpr Colour Red = 0x0000FF;
constexpr Colour Green = 0x00FF00;
constexpr Colour Blue = 0xFF0000;
constexpr Colour Yellow = 0x00FFFF;
constexpr Colour Magenta = 0xFF00FF;
constexpr Colour Shade = 0xA0A0FF;
constexpr Colour WindowLabel = 0xC0C000;
constexpr Colour InitialFore = 0x0080FF;
} // namespace colours

// A label font: character height and average character width in canvas
// pixels, upright or turned a quarter turn clockwise (reading downwards).
struct LabelFont {
    int height = 0;
    int width = 0;
    bool turned = false;
    bool operator==(const LabelFont&) const = default;
};

// One thing drawn, in user coordinates, as the drawing steps hand it to a
// surface: a point at (x1, y1); a line or a rectangle's outline from (x1, y1)
// to (x2, y2); a circle about (x1, y1) whose radius is x2 (and y2), outlined
// in `colour` and, when `filled`, filled with `fill`; text whose first
// character cell has its top-left corner at (x1, y1), in `font` (none: the
// surface's own).
struct Mark {
    enum class Kind { Point, Line, Rect, Circle, Text };
    Kind kind = Kind::Point;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour colour = 0;
    Colour fill = 0;
    bool filled = false;
    QString text = {};
    std::optional<LabelFont> font = {};
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // Outer size of the canvas in pixels; the pixel size in user units is
    // computed from it.
    virtual int outerWidth() const = 0;
    virtual int outerHeight() const = 0;

    // Gives the interior the user coordinates whose left edge is `left`,
    // right edge `right`, top edge `top` and bottom edge `bottom`.
    void setScale(double left, double top, double right, double bottom);
    double scaleLeft() const { return left_; }
    double scaleTop() const { return top_; }
    double scaleRight() const { return right_; }
    double scaleBottom() const { return bottom_; }

    double currentX() const { return penX_; }
    double currentY() const { return penY_; }
    // Moves the pen (also the text position) without drawing.
    void moveTo(double x, double y);

    Colour foreColour() const { return fore_; }
    void setForeColour(Colour c) { fore_ = c; }

    // One point; the pen moves there.
    void pset(double x, double y, Colour c);
    void pset(double x, double y) { pset(x, y, fore_); }
    // Line from the pen; the pen moves to its end.
    void lineTo(double x, double y, Colour c);
    // Line between two points; the pen moves to the second.
    void line(double x1, double y1, double x2, double y2, Colour c);
    // Line from a point by an offset; the pen moves to its end.
    void lineBy(double x, double y, double dx, double dy, Colour c);
    // Rectangle outline between two corners; the pen moves to the second.
    void rectangle(double x1, double y1, double x2, double y2, Colour c);
    // Circle whose radius is measured along x, outlined in `outline` and,
    // when `filled`, filled with `fill`; the pen moves to the centre.
    void circle(double cx, double cy, double radius, Colour outline, Colour fill, bool filled);

    // Selects a label font (nullopt: the canvas's own font) and returns the
    // one it replaces.
    std::optional<LabelFont> selectFont(std::optional<LabelFont> font);
    const std::optional<LabelFont>& font() const { return font_; }
    // Text at the pen in the drawing colour: the top-left corner of the first
    // character cell lies at the pen.
    void print(const QString& text);

    // Ends any pending painting, so the surface can be shown or read.
    virtual void flush() {}

    // A mark made on another canvas, drawn here too; the pen stays put.
    void replay(const Mark& mark) { draw(mark); }

protected:
    virtual void scaleChanged() {}
    // Every step above ends here, in user coordinates.
    virtual void draw(const Mark& mark) = 0;

    // Twips until a graph sets its window, as a fresh graph area has.
    double left_ = 0;
    double top_ = 0;
    double right_ = 6000;
    double bottom_ = 4500;

private:
    double penX_ = 0;
    double penY_ = 0;
    Colour fore_ = colours::InitialFore;
    std::optional<LabelFont> font_;
};

} // namespace vendrak
