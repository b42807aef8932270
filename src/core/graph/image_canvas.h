#pragma once
// The real canvas: paints into an image with QPainter, the user coordinates
// mapped onto the whole image. Lines are clipped in user units first, so no
// value however far outside the window reaches the painter.
#include "core/graph/canvas.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <memory>

class QPainter;

namespace vendrak {

class ImageCanvas : public Canvas {
public:
    // `border` pixels on each side surround the image on screen: the outer
    // size, from which the pixel size in user units is taken, includes them.
    explicit ImageCanvas(QImage& image, int border = 0);
    ~ImageCanvas() override;
    ImageCanvas(const ImageCanvas&) = delete;
    ImageCanvas& operator=(const ImageCanvas&) = delete;

    int outerWidth() const override { return image_.width() + 2 * border_; }
    int outerHeight() const override { return image_.height() + 2 * border_; }

    void flush() override;

    // Pixel position -> user coordinates with the mapping in force.
    QPointF toUser(QPointF pixel) const;
    // User coordinates -> pixel position (not rounded).
    QPointF toPixel(double x, double y) const;

protected:
    void drawPoint(double x, double y, Colour c) override;
    void drawLine(double x1, double y1, double x2, double y2, Colour c) override;
    void drawRect(double x1, double y1, double x2, double y2, Colour c) override;
    void drawCircle(double cx, double cy, double radius, Colour outline, Colour fill,
                    bool filled) override;
    void drawText(double x, double y, const QString& text, Colour c,
                  const std::optional<LabelFont>& font) override;

private:
    QPainter& painter();
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

    QImage& image_;
    int border_;
    std::unique_ptr<QPainter> painter_;
    std::optional<LabelFont> cachedFor_;
    bool cacheValid_ = false;
    TextFont cached_;
};

} // namespace vendrak
