#include "app/picture_box.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace vendrak {

PictureBox::PictureBox(QWidget* parent)
    : QFrame(parent)
    , image_(400 - 2 * kBorder, 300 - 2 * kBorder, QImage::Format_RGB32)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
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

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event); // the border
    canvas_.flush();
    QPainter p(this);
    p.drawImage(contentsRect().topLeft(), image_);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->button(), event->modifiers(), event->position() - contentsRect().topLeft());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(event->buttons(), event->modifiers(), event->position() - contentsRect().topLeft());
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

} // namespace vendrak
