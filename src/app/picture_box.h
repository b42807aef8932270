#pragma once
// The graph area: a 400 x 300 canvas with a sunken border, whose interior
// picture is kept in an image, so a covered window never loses the graph.
// Drawing goes through its canvas, in the user coordinates the last graph set
// over the interior.
//
// The kept image has one pixel per logical pixel: it is what the clipboard,
// the companion bitmap and the mouse mapping use. On a high-density screen a
// second image at the screen's pixel ratio gets the same drawing steps, and
// that one is shown, so the graph is as sharp as the screen.
#include "core/graph/image_canvas.h"
#include "core/graph/tee_canvas.h"

#include <QImage>
#include <QFrame>
#include <functional>
#include <memory>

namespace vendrak {

class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    ~PictureBox() override;

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    ImageCanvas& canvas() { return canvas_; }

    // What the graph is drawn on: the kept image and, on a high-density
    // screen, the screen image too.
    Canvas& surface();
    // The image shown at the screen's pixel ratio; null at a ratio of 1.
    const QImage& screenImage() const { return screen_; }

    // Blanks the picture to the background colour.
    void clearPicture();
    // The system's window-background colour: the colour of a window's content.
    static QColor background();

    // Draws the graph afresh when the screen image must be remade at another
    // pixel ratio (the window moved to another screen).
    void setRedraw(std::function<void(PainterCanvas&)> redraw) { redraw_ = std::move(redraw); }

    // The border on each side; the image is the interior.
    static constexpr int kBorder = 2;
    static constexpr int kInteriorWidth = 400 - 2 * kBorder;
    static constexpr int kInteriorHeight = 300 - 2 * kBorder;

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
    // Whole wheel notches turned over the interior: up (positive) or down.
    void wheelTurned(int notches, QPointF pixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // The second press of a double-click arrives as this event alone; it is
    // not a press of its own, so nothing is re-centred twice.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int wheelAngle_ = 0; // eighths of a degree not yet a whole notch (touchpads)
    // Makes the screen image match the screen's pixel ratio; true when it
    // had to be made afresh (blank).
    bool matchScreen();

    QImage image_;
    ImageCanvas canvas_{image_, kBorder};
    QImage screen_;
    std::unique_ptr<ImageCanvas> screenCanvas_;
    TeeCanvas surface_{canvas_, nullptr};
    std::function<void(PainterCanvas&)> redraw_;
    bool autoRedraw_ = false;
};

} // namespace vendrak
