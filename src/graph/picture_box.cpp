#include "graph/picture_box.h"

#include <QApplication>
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
    canvas_.flush();
    // The system's window-background colour: the colour of a window's content.
    image_.fill(QApplication::palette().color(QPalette::Base));
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    canvas_.flush();
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
