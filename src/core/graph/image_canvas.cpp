#include "core/graph/image_canvas.h"

#include <QRawFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vendrak {

namespace {

// Lines are clipped to the window widened by this many pixels, so a line that
// leaves the window is drawn right up to its edge.
constexpr double kLineMargin = 2.0;
// Text can start well outside the window and still reach into it.
constexpr double kTextMargin = 4000.0;

int roundPixel(double p) { return static_cast<int>(std::floor(p + 0.5)); }

// The centre of the pixel a vector position (already moved by half a pixel)
// lies in.
QPointF snapToCentre(QPointF p) { return {std::floor(p.x()) + 0.5, std::floor(p.y()) + 0.5}; }

QPen pixelPen(Colour c)
{
    QPen pen(toQColor(c));
    pen.setWidth(0); // always one pixel wide
    return pen;
}

} // namespace

PainterCanvas::PainterCanvas(QPainter& painter, QSizeF logical, int border, QRectF target,
                             double grid)
    : PainterCanvas(logical, border, target, grid)
{
    borrowed_ = &painter;
}

PainterCanvas::PainterCanvas(QSizeF logical, int border, QRectF target, double grid)
    : logical_(logical.isEmpty() ? QSizeF(1, 1) : logical)
    , border_(border)
    , target_(target.isEmpty() ? QRectF(QPointF(0, 0), logical_) : target)
    , grid_(grid > 0 ? grid : 0)
{
    // A fresh graph area is scaled in twips over its interior.
    right_ = logical_.width() * 15.0;
    bottom_ = logical_.height() * 15.0;
}

PainterCanvas::~PainterCanvas() { PainterCanvas::flush(); }

int PainterCanvas::outerWidth() const
{
    return static_cast<int>(std::lround(logical_.width())) + 2 * border_;
}

int PainterCanvas::outerHeight() const
{
    return static_cast<int>(std::lround(logical_.height())) + 2 * border_;
}

void PainterCanvas::flush()
{
    if (active_) {
        active_->restore();
        active_ = nullptr;
    }
}

QPainter& PainterCanvas::painter()
{
    if (active_)
        return *active_;
    QPainter* p = openPainter();
    if (!p)
        throw std::logic_error("canvas without a painter");
    p->save();
    // Logical pixels onto the target; on a bitmap the units become grid
    // cells, so points and lines land on whole device pixels.
    QTransform mapping;
    mapping.translate(target_.left(), target_.top());
    mapping.scale(target_.width() / logical_.width(), target_.height() / logical_.height());
    if (grid_ > 0)
        mapping.scale(1 / grid_, 1 / grid_);
    if (!mapping.isIdentity())
        p->setTransform(mapping, true);
    // Someone else's page: nothing may spill outside the graph's place.
    if (borrowed_)
        p->setClipRect(QRectF(QPointF(0, 0), logical_ * (grid_ > 0 ? grid_ : 1.0)),
                       Qt::IntersectClip);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setRenderHint(QPainter::TextAntialiasing, true);
    p->setBrush(Qt::NoBrush);
    active_ = p;
    return *p;
}

QPointF PainterCanvas::toDrawing(QPointF pixel) const
{
    if (grid_ > 0)
        return QPointF(roundPixel(pixel.x() * grid_), roundPixel(pixel.y() * grid_));
    // A bitmap paints position p into the pixel that spans [round(p),
    // round(p) + 1): the exact equivalent of that is the pixel's centre, so a
    // vector picture shown at its own size lines up with the bitmap.
    return pixel + QPointF(0.5, 0.5);
}

QPointF PainterCanvas::pointAt(QPointF pixel) const
{
    return grid_ > 0 ? toDrawing(pixel) : snapToCentre(toDrawing(pixel));
}

void PainterCanvas::fillBackground(const QColor& colour)
{
    QPainter& painter = this->painter();
    painter.fillRect(QRectF(QPointF(0, 0), logical_ * (grid_ > 0 ? grid_ : 1.0)), colour);
}

QPointF PainterCanvas::toUser(QPointF pixel) const
{
    const double w = logical_.width();
    const double h = logical_.height();
    return {left_ + pixel.x() * (right_ - left_) / w, top_ + pixel.y() * (bottom_ - top_) / h};
}

QPointF PainterCanvas::toPixel(double x, double y) const
{
    const double w = logical_.width();
    const double h = logical_.height();
    return {(x - left_) * w / (right_ - left_), (y - top_) * h / (bottom_ - top_)};
}

bool PainterCanvas::nearWindow(double x, double y, double marginPixels) const
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    const long double pw = std::fabs(static_cast<long double>(right_) - left_) / logical_.width();
    const long double ph = std::fabs(static_cast<long double>(bottom_) - top_) / logical_.height();
    const long double xmin = std::min(left_, right_) - marginPixels * pw;
    const long double xmax = std::max(left_, right_) + marginPixels * pw;
    const long double ymin = std::min(top_, bottom_) - marginPixels * ph;
    const long double ymax = std::max(top_, bottom_) + marginPixels * ph;
    return x >= xmin && x <= xmax && y >= ymin && y <= ymax;
}

bool PainterCanvas::clip(double& x1, double& y1, double& x2, double& y2, double marginPixels) const
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    // Extended precision: the difference of any two doubles stays finite.
    using LD = long double;
    const LD pw = std::fabs(static_cast<LD>(right_) - left_) / logical_.width();
    const LD ph = std::fabs(static_cast<LD>(bottom_) - top_) / logical_.height();
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

void PainterCanvas::drawPoint(double x, double y, Colour c)
{
    if (!nearWindow(x, y, 1.0))
        return;
    const QPointF p = pointAt(toPixel(x, y));
    QPainter& painter = this->painter();
    painter.setPen(pixelPen(c));
    if (grid_ > 0)
        painter.drawPoint(p.toPoint());
    else
        painter.drawPoint(p);
}

void PainterCanvas::drawLine(double x1, double y1, double x2, double y2, Colour c)
{
    if (!clip(x1, y1, x2, y2, kLineMargin))
        return;
    QPointF a = toDrawing(toPixel(x1, y1));
    QPointF b = toDrawing(toPixel(x2, y2));
    // Frame, grid, ticks and axes run along the pixels: on a vector device
    // they keep to pixel centres too, so they stay crisp at their own size.
    if (grid_ == 0 && (a.x() == b.x() || a.y() == b.y())) {
        a = snapToCentre(a);
        b = snapToCentre(b);
    }
    QPainter& painter = this->painter();
    QPen pen = pixelPen(c);
    if (c == colours::Shade && grid_ != 1) {
        // The shading is a row of lines a logical pixel apart that fill the
        // area on a bitmap of one pixel each; drawn finer they would leave
        // gaps, so each keeps the logical pixel's width.
        pen.setWidthF(grid_ > 0 ? grid_ : 1.0);
        pen.setCapStyle(Qt::FlatCap);
    }
    painter.setPen(pen);
    if (grid_ > 0)
        painter.drawLine(a.toPoint(), b.toPoint());
    else
        painter.drawLine(a, b);
}

void PainterCanvas::draw(const Mark& m)
{
    switch (m.kind) {
    case Mark::Kind::Point:
        drawPoint(m.x1, m.y1, m.colour);
        break;
    case Mark::Kind::Line:
        drawLine(m.x1, m.y1, m.x2, m.y2, m.colour);
        break;
    case Mark::Kind::Rect:
        drawLine(m.x1, m.y1, m.x2, m.y1, m.colour);
        drawLine(m.x2, m.y1, m.x2, m.y2, m.colour);
        drawLine(m.x2, m.y2, m.x1, m.y2, m.colour);
        drawLine(m.x1, m.y2, m.x1, m.y1, m.colour);
        break;
    case Mark::Kind::Circle:
        drawCircle(m.x1, m.y1, m.x2, m.colour, m.fill, m.filled);
        break;
    case Mark::Kind::Text:
        drawText(m.x1, m.y1, m.text, m.colour, m.font);
        break;
    }
}

void PainterCanvas::drawCircle(double cx, double cy, double radius, Colour outline, Colour fill,
                             bool filled)
{
    if (!nearWindow(cx, cy, kTextMargin) || !std::isfinite(radius))
        return;
    const QPointF centre = pointAt(toPixel(cx, cy));
    const double logicalRadius = std::fabs(radius * logical_.width() / (right_ - left_));
    if (!std::isfinite(logicalRadius) || logicalRadius > kTextMargin)
        return;
    const double r = grid_ > 0 ? logicalRadius * grid_ : logicalRadius;
    QPainter& painter = this->painter();
    painter.setPen(pixelPen(outline));
    if (filled)
        painter.setBrush(toQColor(fill));
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, r, r);
    painter.setBrush(Qt::NoBrush);
}

const PainterCanvas::TextFont& PainterCanvas::textFont(const std::optional<LabelFont>& font)
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
        // The face found, by name: a vector file names one face only, and
        // should name the one the screen shows.
        const QString found = QRawFont::fromFont(t.font).familyName();
        if (!found.isEmpty())
            t.font.setFamilies({found});
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

void PainterCanvas::drawText(double x, double y, const QString& text, Colour c,
                           const std::optional<LabelFont>& font)
{
    if (text.isEmpty() || !nearWindow(x, y, kTextMargin))
        return;
    const TextFont& tf = textFont(font);
    const QPointF at = toPixel(x, y);
    QPainter& painter = this->painter();
    painter.save();
    if (grid_ > 0) {
        painter.translate(at * grid_);
        if (grid_ != 1)
            painter.scale(grid_, grid_); // font sizes stay in logical pixels
    } else {
        painter.translate(at);
    }
    if (font && font->turned)
        painter.rotate(90); // clockwise: the text reads downwards, tops to the right
    painter.scale(tf.stretch, 1.0);
    painter.setFont(tf.font);
    painter.setPen(toQColor(c));
    painter.drawText(QPointF(0, tf.ascent), text);
    painter.restore();
}

} // namespace vendrak

namespace vendrak {

ImageCanvas::ImageCanvas(QImage& image, int border)
    : PainterCanvas(image.deviceIndependentSize(), border, {}, image.devicePixelRatio())
    , image_(image)
{
}

ImageCanvas::~ImageCanvas() { ImageCanvas::flush(); }

void ImageCanvas::flush()
{
    PainterCanvas::flush();
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

QPainter* ImageCanvas::openPainter()
{
    if (!painter_)
        painter_ = std::make_unique<QPainter>(&image_);
    return painter_.get();
}

} // namespace vendrak
