#pragma once
// The graph area: a 400 x 300 canvas with a sunken border, whose interior
// picture is kept in an image, so a covered window never loses the graph.
// Drawing goes through its canvas, in the user coordinates the last graph set
// over the interior.
#include "core/graph/image_canvas.h"

#include <QImage>
#include <QFrame>

namespace vendrak {

class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    ImageCanvas& canvas() { return canvas_; }

    // Blanks the picture to the background colour.
    void clearPicture();

    // The border on each side; the image is the interior.
    static constexpr int kBorder = 2;

    // Pixel position -> user coordinates of the mapping in force.
    QPointF toUser(QPointF pixel) const { return canvas_.toUser(pixel); }

    // Persistent graphics as the Plot command sets them. The picture is kept
    // in the image either way; the setting is remembered for the study.
    void setAutoRedraw(bool on) { autoRedraw_ = on; }
    bool autoRedraw() const { return autoRedraw_; }

signals:
    // Pixel position inside the interior; the graph code maps it to user units.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF pixel);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF pixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // The second press of a double-click arrives as this event alone; it is
    // not a press of its own, so nothing is re-centred twice.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage image_;
    ImageCanvas canvas_{image_, kBorder};
    bool autoRedraw_ = false;
};

} // namespace vendrak
