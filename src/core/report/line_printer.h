#pragma once
// A small line printer on any paged device (a printer, a PDF file): a
// vertical text position in twips that moves down line by line, a new page
// when the next line does not fit, a font name, a text colour, pictures.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>
#include <QRectF>
#include <QSizeF>
#include <functional>

class QImage;
class QPagedPaintDevice;

namespace vendrak {

class LinePrinter {
public:
    static constexpr int kTwipsPerInch = 1440;
    static constexpr double kPointSize = 10.0;

    explicit LinePrinter(QPagedPaintDevice& device);
    ~LinePrinter();
    LinePrinter(const LinePrinter&) = delete;
    LinePrinter& operator=(const LinePrinter&) = delete;

    // False when the device could not be opened for painting (no printer,
    // unwritable file).
    bool isActive() const { return painter_.isActive(); }

    QString fontName() const { return font_.family(); }
    void setFontName(const QString& name);

    int currentY() const { return y_; }
    void setCurrentY(int twips) { y_ = twips; }
    int pageCount() const { return pages_; }

    void setTextColor(const QColor& colour) { colour_ = colour; }

    // Shows a picture at its own size (96 pixels per inch) with its top left
    // corner at the given position.
    void drawImage(const QImage& image, int leftTwips, int topTwips);
    // Places a picture of `pixels` logical size (96 to the inch) as drawImage
    // would, drawn at the device's own resolution: `paint` gets the painter
    // and the rectangle, in its coordinates, that the picture covers.
    void drawPicture(QSizeF pixels, int leftTwips, int topTwips,
                     const std::function<void(QPainter&, const QRectF&)>& paint);

    // Prints text at the current position without ending the line.
    void printText(const QString& text);
    // Prints text and moves to the start of the next line.
    void printLine(const QString& text = {});

    // Sends the document; false when the device reported a failure.
    bool end();

private:
    double toDevice(double twips) const;
    QRectF pictureRect(QSizeF pixels, int leftTwips, int topTwips) const;
    int lineHeightTwips() const;
    void breakPageIfFull();

    QPagedPaintDevice& device_;
    QPainter painter_;
    QFont font_;
    QColor colour_ = Qt::black;
    int y_ = 0;
    int x_ = 0;  // twips from the left of the current line
    int pages_ = 1;
};

} // namespace vendrak
