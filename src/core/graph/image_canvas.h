#pragma once
// The real canvases: QPainter on any paint device. The graph's interior is a
// logical size in pixels (396 x 296 on screen); the painter puts it onto a
// target rectangle at whatever resolution the device has, so a high-density
// screen, a 4x bitmap, an SVG or PDF file and a printer page all get the same
// picture drawn at their own resolution, never a scaled bitmap. Lines are
// clipped in user units first, so no value however far outside the window
// reaches the painter.
#include "core/graph/canvas.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <memory>

class QPainter;

namespace vendrak {

class PainterCanvas : public Canvas {
public:
    // Paints through a painter that someone else began (a printer page, an
    // SVG or PDF generator). `border` logical pixels on each side surround the
    // interior: the outer size, from which the pixel size in user units is
    // taken, includes them. `target` is where the interior lands in the
    // painter's coordinates (empty: at the origin, at its logical size).
    // `grid` is the number of device pixels to a logical pixel that points
    // and lines snap to, as on a bitmap; 0 keeps exact positions (vectors).
    PainterCanvas(QPainter& painter, QSizeF logical, int border = 0, QRectF target = {},
                  double grid = 0);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas&) = delete;
    PainterCanvas& operator=(const PainterCanvas&) = delete;

    int outerWidth() const override;
    int outerHeight() const override;

    // Gives the painter back as it was handed over (an image canvas ends it).
    void flush() override;

    // Paints the whole interior in one colour.
    void fillBackground(const QColor& colour);

    // Logical pixel position -> user coordinates with the mapping in force.
    QPointF toUser(QPointF pixel) const;
    // User coordinates -> logical pixel position (not rounded).
    QPointF toPixel(double x, double y) const;

protected:
    // For canvases that begin their own painter when the first step draws.
    PainterCanvas(QSizeF logical, int border, QRectF target, double grid);
    virtual QPainter* openPainter() { return borrowed_; }

    void draw(const Mark& mark) override;

private:
    void drawPoint(double x, double y, Colour c);
    void drawLine(double x1, double y1, double x2, double y2, Colour c);
    void drawCircle(double cx, double cy, double radius, Colour outline, Colour fill, bool filled);
    void drawText(double x, double y, const QString& text, Colour c, const std::optional<LabelFont>& font);
    QPainter& painter();
    // A logical pixel position in the units the painter draws in: whole grid
    // cells on a bitmap, exact logical pixels on a vector device.
    QPointF toDrawing(QPointF pixel) const;
    // A point or a circle's centre: always on a pixel, as on a bitmap.
    QPointF pointAt(QPointF pixel) const;
    // Clips the segment to the window widened by `marginPixels` on every side;
    // false when nothing of it is left.
    bool clip(double& x1, double& y1, double& x2, double& y2, double marginPixels) const;
    bool nearWindow(double x, double y, double marginPixels) const;

    struct TextFont {
        QFont font;
        double stretch = 1.0;   // horizontal scale that gives the asked average width
        double ascent = 0.0;
    };
    const TextFont& textFont(const std::optional<LabelFont>& font);

    QPainter* borrowed_ = nullptr;
    QPainter* active_ = nullptr;   // set up for drawing (state saved) until flush
    QSizeF logical_;
    int border_;
    QRectF target_;
    double grid_;
    std::optional<LabelFont> cachedFor_;
    bool cacheValid_ = false;
    TextFont cached_;
};

// A canvas on an image: its interior is the whole image, in logical pixels
// when the image has a device pixel ratio, drawn on its device pixels.
class ImageCanvas : public PainterCanvas {
public:
    explicit ImageCanvas(QImage& image, int border = 0);
    ~ImageCanvas() override;

    // Ends the painting, so the image can be shown or read.
    void flush() override;

protected:
    QPainter* openPainter() override;

private:
    QImage& image_;
    std::unique_ptr<QPainter> painter_;
};

} // namespace vendrak
