#include "core/report/line_printer.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <cmath>

namespace vendrak {

LinePrinter::LinePrinter(QPagedPaintDevice& device)
    : device_(device)
{
    font_.setFamily(QStringLiteral("Arial"));
    font_.setPointSizeF(kPointSize);
    painter_.begin(&device_);
    if (painter_.isActive())
        painter_.setFont(font_);
}

LinePrinter::~LinePrinter()
{
    if (painter_.isActive())
        painter_.end();
}

void LinePrinter::setFontName(const QString& name)
{
    font_.setFamily(name);
    font_.setPointSizeF(kPointSize);
    if (painter_.isActive())
        painter_.setFont(font_);
}

double LinePrinter::toDevice(double twips) const
{
    return twips * device_.logicalDpiY() / kTwipsPerInch;
}

int LinePrinter::lineHeightTwips() const
{
    if (!painter_.isActive())
        return 240;
    const QFontMetricsF fm(font_, &device_);
    return static_cast<int>(std::ceil(fm.lineSpacing() * kTwipsPerInch / device_.logicalDpiY()));
}

void LinePrinter::breakPageIfFull()
{
    if (!painter_.isActive())
        return;
    const double pageHeightTwips = device_.height() * static_cast<double>(kTwipsPerInch) / device_.logicalDpiY();
    if (y_ + lineHeightTwips() > pageHeightTwips && y_ > 0) {
        device_.newPage();
        ++pages_;
        y_ = 0;
        x_ = 0;
    }
}

QRectF LinePrinter::pictureRect(QSizeF pixels, int leftTwips, int topTwips) const
{
    const double w = pixels.width() * 15.0;   // 15 twips to a 96-dpi pixel
    const double h = pixels.height() * 15.0;
    return QRectF(toDevice(leftTwips), toDevice(topTwips), toDevice(w), toDevice(h));
}

void LinePrinter::drawImage(const QImage& image, int leftTwips, int topTwips)
{
    if (!painter_.isActive())
        return;
    painter_.drawImage(pictureRect(image.size(), leftTwips, topTwips), image);
}

void LinePrinter::drawPicture(QSizeF pixels, int leftTwips, int topTwips,
                              const std::function<void(QPainter&, const QRectF&)>& paint)
{
    if (!painter_.isActive() || !paint)
        return;
    painter_.save();
    paint(painter_, pictureRect(pixels, leftTwips, topTwips));
    painter_.restore();
}

void LinePrinter::printText(const QString& text)
{
    if (!painter_.isActive() || text.isEmpty())
        return;
    if (x_ == 0)
        breakPageIfFull();
    const QFontMetricsF fm(font_, &device_);
    painter_.setPen(colour_);
    painter_.drawText(QPointF(toDevice(x_), toDevice(y_) + fm.ascent()), text);
    x_ += static_cast<int>(std::lround(fm.horizontalAdvance(text) * kTwipsPerInch / device_.logicalDpiY()));
}

void LinePrinter::printLine(const QString& text)
{
    if (x_ == 0)
        breakPageIfFull();
    printText(text);
    y_ += lineHeightTwips();
    x_ = 0;
}

bool LinePrinter::end()
{
    if (!painter_.isActive())
        return false;
    return painter_.end();
}

} // namespace vendrak
