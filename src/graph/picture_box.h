#pragma once
// The graph area: a 400 x 300 canvas whose picture is kept in an image, so a
// covered window never loses the graph.
#include <QImage>
#include <QWidget>

namespace vendrak {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    // Blanks the picture to the background colour.
    void clearPicture();

signals:
    // Pixel position inside the widget; the graph code maps it to user units.
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF pixel);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF pixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage image_;
};

} // namespace vendrak
