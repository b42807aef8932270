#include "core/graph/image_canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vendrak {

namespace {

// Lines are clipped to the window widened by this many pixels, so a line that
// leaves the window is drawn right up to its edge.
constexpr double kLineMargin = 2.0;
// Text can start well outside the window and still reach into it.
constexpr double kTextMargin = 4000.0;

int roundPixel(double p) { return static_cast<int>(std::floor(p + 0.5)); }

QPen pixelPen(Colour c)
{
    QPen pen(toQColor(c));
    pen.setWidth(0); // always one pixel wide
    return pen;
}

} // namespace

ImageCanvas::ImageCanvas(QImage& image, int border)
    : image_(image)
    , border_(border)
{
    // A fresh graph area is scaled in twips over its interior.
    right_ = image.width() * 15.0;
    bottom_ = image.height() * 15.0;
}

ImageCanvas::~ImageCanvas() { flush(); }

void ImageCanvas::flush()
{
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

QPainter& ImageCanvas::painter()
{
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
    }
    return *painter_;
}

QPointF ImageCanvas::toUser(QPointF pixel) const
{
    const double w = image_.width();
    const double h = image_.height();
    return {left_ + pixel.x() * (right_ - left_) / w, top_ + pixel.y() * (bottom_ - top_) / h};
}

QPointF ImageCanvas::toPixel(double x, double y) const
{
    const double w = image_.width();
    const double h = image_.height();
    return {(x - left_) * w / (right_ - left_), (y - top_) * h / (bottom_ - top_)};
}

bool ImageCanvas::nearWindow(double x, double y, double marginPixels) const
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    const long double pw = std::fabs(static_cast<long double>(right_) - left_) / image_.width();
    const long double ph = std::fabs(static_cast<long double>(bottom_) - top_) / image_.height();
    const long double xmin = std::min(left_, right_) - marginPixels * pw;
    const long double xmax = std::max(left_, right_) + marginPixels * pw;
    const long double ymin = std::min(top_, bottom_) - marginPixels * ph;
    const long double ymax = std::max(top_, bottom_) + marginPixels * ph;
    return x >= xmin && x <= xmax && y >= ymin && y <= ymax;
}

bool ImageCanvas::clip(double& x1, double& y1, double& x2, double& y2, double marginPixels) const
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    // Extended precision: the difference of any two doubles stays finite.
    using LD = long double;
    const LD pw = std::fabs(static_cast<LD>(right_) - left_) / image_.width();
    const LD ph = std::fabs(static_cast<LD>(bottom_) - top_) / image_.height();
    const LD xmin = std::min(left_, right_) - marginPixels * pw;
    const LD xmax = std::max(left_, right_) + marginPixels * pw;
    const LD ymin = std::min(top_, bottom_) - marginPixels * ph;
    const LD ymax = std::max(top_, bottom_) + marginPixels * ph;
    const LD dx = static_cast<LD>(x2) - x1;
    const LD dy = static_cast<LD>(y2) - y1;
    const LD p[4] = {-dx, dx, -dy, dy};
    const LD q[4] = {x1 - xmin, xmax - x1, y1 - ymin, ymax - y1};
    LD t0 = 0;
    LD t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const LD r = q[i] / p[i];
        if (p[i] < 0) {
            if (r > t1)
                return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0)
                return false;
            t1 = std::min(t1, r);
        }
    }
    const LD ox = x1;
    const LD oy = y1;
    x1 = static_cast<double>(ox + t0 * dx);
    y1 = static_cast<double>(oy + t0 * dy);
    x2 = static_cast<double>(ox + t1 * dx);
    y2 = static_cast<double>(oy + t1 * dy);
    return true;
}

void ImageCanvas::drawPoint(double x, double y, Colour c)
{
    if (!nearWindow(x, y, 1.0))
        return;
    const QPointF p = toPixel(x, y);
    QPainter& painter = this->painter();
    painter.setPen(pixelPen(c));
    painter.drawPoint(QPoint(roundPixel(p.x()), roundPixel(p.y())));
}

void ImageCanvas::drawLine(double x1, double y1, double x2, double y2, Colour c)
{
    if (!clip(x1, y1, x2, y2, kLineMargin))
        return;
    const QPointF a = toPixel(x1, y1);
    const QPointF b = toPixel(x2, y2);
    QPainter& painter = this->painter();
    painter.setPen(pixelPen(c));
    painter.drawLine(QPoint(roundPixel(a.x()), roundPixel(a.y())),
                     QPoint(roundPixel(b.x()), roundPixel(b.y())));
}

void ImageCanvas::drawRect(double x1, double y1, double x2, double y2, Colour c)
{
    drawLine(x1, y1, x2, y1, c);
    drawLine(x2, y1, x2, y2, c);
    drawLine(x2, y2, x1, y2, c);
    drawLine(x1, y2, x1, y1, c);
}

void ImageCanvas::drawCircle(double cx, double cy, double radius, Colour outline, Colour fill,
                             bool filled)
{
    if (!nearWindow(cx, cy, kTextMargin) || !std::isfinite(radius))
        return;
    const QPointF centre = toPixel(cx, cy);
    const double r = std::fabs(radius * image_.width() / (right_ - left_));
    if (!std::isfinite(r) || r > kTextMargin)
        return;
    QPainter& painter = this->painter();
    painter.setPen(pixelPen(outline));
    if (filled)
        painter.setBrush(toQColor(fill));
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(roundPixel(centre.x()), roundPixel(centre.y())), r, r);
    painter.setBrush(Qt::NoBrush);
}

const ImageCanvas::TextFont& ImageCanvas::textFont(const std::optional<LabelFont>& font)
{
    if (cacheValid_ && cachedFor_ == font)
        return cached_;
    TextFont t;
    if (font) {
        // The label face: a plain sans face of the free fonts the set-up installs.
        t.font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"),
                            QStringLiteral("Liberation Sans")});
        t.font.setStyleHint(QFont::SansSerif);
        t.font.setPixelSize(std::clamp(std::abs(font->height), 1, 1000));
    } else {
        t.font.setPixelSize(11);
    }
    const QFontMetricsF metrics(t.font);
    t.ascent = metrics.ascent();
    if (font && font->width != 0 && metrics.averageCharWidth() > 0)
        t.stretch = std::clamp(std::abs(font->width) / metrics.averageCharWidth(), 0.1, 10.0);
    cached_ = t;
    cachedFor_ = font;
    cacheValid_ = true;
    return cached_;
}

void ImageCanvas::drawText(double x, double y, const QString& text, Colour c,
                           const std::optional<LabelFont>& font)
{
    if (text.isEmpty() || !nearWindow(x, y, kTextMargin))
        return;
    const TextFont& tf = textFont(font);
    const QPointF at = toPixel(x, y);
    QPainter& painter = this->painter();
    painter.save();
    painter.translate(at);
    if (font && font->turned)
        painter.rotate(90); // clockwise: the text reads downwards, tops to the right
    painter.scale(tf.stretch, 1.0);
    painter.setFont(tf.font);
    painter.setPen(toQColor(c));
    painter.drawText(QPointF(0, tf.ascent), text);
    painter.restore();
}

} // namespace vendrak
