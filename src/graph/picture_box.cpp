#include "graph/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace vendrak {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
    , image_(400, 300, QImage::Format_RGB32)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    clearPicture();
}

void PictureBox::clearPicture()
{
    image_.fill(palette().color(QPalette::Window));
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->button(), event->modifiers(), event->position());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(event->buttons(), event->modifiers(), event->position());
}

} // namespace vendrak
