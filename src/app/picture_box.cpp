#include "app/picture_box.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>

namespace vendrak {

PictureBox::PictureBox(QWidget* parent)
    : QFrame(parent)
    , image_(kInteriorWidth, kInteriorHeight, QImage::Format_RGB32)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    clearPicture();
}

PictureBox::~PictureBox()
{
    surface_.setSecond(nullptr);
}

QColor PictureBox::background() { return QApplication::palette().color(QPalette::Base); }

bool PictureBox::matchScreen()
{
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1) {
        if (screenCanvas_) {
            surface_.setSecond(nullptr);
            screenCanvas_.reset();
            screen_ = QImage();
        }
        return false;
    }
    if (screenCanvas_ && screen_.devicePixelRatio() == ratio)
        return false;
    surface_.setSecond(nullptr);
    screenCanvas_.reset();
    screen_ = QImage(QSize(qRound(kInteriorWidth * ratio), qRound(kInteriorHeight * ratio)),
                     QImage::Format_RGB32);
    screen_.setDevicePixelRatio(ratio);
    screen_.fill(background());
    screenCanvas_ = std::make_unique<ImageCanvas>(screen_, kBorder);
    surface_.setSecond(screenCanvas_.get());
    return true;
}

Canvas& PictureBox::surface()
{
    matchScreen();
    return surface_;
}

void PictureBox::clearPicture()
{
    surface_.flush();
    image_.fill(background());
    if (!screen_.isNull())
        screen_.fill(background());
    update();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event); // the border
    if (matchScreen() && redraw_) {
        redraw_(*screenCanvas_);
        screenCanvas_->flush();
    }
    surface_.flush();
    QPainter p(this);
    if (!screen_.isNull())
        p.drawImage(contentsRect().topLeft(), screen_);
    else
        p.drawImage(contentsRect().topLeft(), image_);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit mouseDown(event->button(), event->modifiers(), event->position() - contentsRect().topLeft());
}

void PictureBox::wheelEvent(QWheelEvent* event)
{
    event->accept();
    wheelAngle_ += event->angleDelta().y();
    const int notches = wheelAngle_ / QWheelEvent::DefaultDeltasPerStep;
    if (notches == 0)
        return;
    wheelAngle_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    emit wheelTurned(notches, event->position() - contentsRect().topLeft());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMove(event->buttons(), event->modifiers(), event->position() - contentsRect().topLeft());
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

} // namespace vendrak
