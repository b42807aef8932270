#include "app/window_controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace vendrak {

void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(px(left), px(top), px(width), px(height));
}

QColor lightCyan() { return QColor(192, 255, 255); }
QColor lightGreen() { return QColor(192, 255, 192); }
QColor lightYellow() { return QColor(255, 255, 192); }
QColor lightOrange() { return QColor(255, 192, 128); }
QColor lightPink() { return QColor(255, 192, 192); }

void setRole(QWidget* w, QPalette::ColorRole role, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

QFont windowFont(bool bold)
{
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                   QStringLiteral("Sans Serif")});
    f.setPixelSize(11);
    f.setBold(bold);
    return f;
}

ControlFactory::ControlFactory()
    : bold(windowFont(true))
    , regular(windowFont(false))
    , appPalette(QApplication::palette())
{
}

QGroupBox* ControlFactory::frame(QWidget* parent, const char* name, const char* caption, int l,
                                 int t, int w, int h) const
{
    auto* g = new QGroupBox(QString::fromUtf8(caption), parent);
    g->setObjectName(QString::fromUtf8(name));
    g->setFont(bold);
    // An etched line round the frame with the caption on it, as frames
    // are drawn on this window; the children keep their places.
    g->setStyleSheet(QStringLiteral(
        "QGroupBox#%1 { border: 1px solid #7f9f9f; margin-top: 6px; }"
        "QGroupBox#%1::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 4px; padding: 0px 1px; background-color: rgb(192, 255, 255); }")
                         .arg(g->objectName()));
    g->setFocusPolicy(Qt::NoFocus);
    place(g, l, t, w, h);
    return g;
}

QLineEdit* ControlFactory::textBox(QWidget* parent, const char* name, const char* text,
                                   const char* tip, int l, int t, int w, int h) const
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    e->setText(QString::fromUtf8(text));
    e->setToolTip(QString::fromUtf8(tip));
    e->setFont(regular);
    setRole(e, QPalette::Base, lightGreen());
    place(e, l, t, w, h);
    return e;
}

QLabel* ControlFactory::label(QWidget* parent, const char* name, const char* caption,
                              const char* tip, int l, int t, int w, int h) const
{
    auto* lb = new QLabel(parent);
    lb->setObjectName(QString::fromUtf8(name));
    lb->setTextFormat(Qt::PlainText);
    lb->setText(QString::fromUtf8(caption));
    lb->setToolTip(QString::fromUtf8(tip));
    lb->setFont(bold);
    lb->setFocusPolicy(Qt::NoFocus);
    lb->setAutoFillBackground(true);
    setRole(lb, QPalette::Window, appPalette.color(QPalette::ToolTipBase));
    setRole(lb, QPalette::WindowText, appPalette.color(QPalette::WindowText));
    place(lb, l, t, w, h);
    return lb;
}

QLabel* ControlFactory::valueLabel(QWidget* parent, const char* name, const char* tip, int l,
                                   int t, int w, int h) const
{
    QLabel* lb = label(parent, name, "", tip, l, t, w, h);
    setRole(lb, QPalette::Window, lightYellow());
    lb->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lb->setIndent(1); // the narrow ones ("Power" in lblType) need every pixel
    return lb;
}

QPushButton* ControlFactory::button(QWidget* parent, const char* name, const char* caption,
                                    const char* tip, const QColor& colour, int l, int t, int w,
                                    int h) const
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setToolTip(QString::fromUtf8(tip));
    b->setFont(regular);
    b->setAutoDefault(false);
    setRole(b, QPalette::Button, colour);
    place(b, l, t, w, h);
    return b;
}

QCheckBox* ControlFactory::checkBox(QWidget* parent, const char* name, const char* caption,
                                    const char* tip, bool checked, int l, int t, int w,
                                    int h) const
{
    auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
    c->setObjectName(QString::fromUtf8(name));
    c->setToolTip(QString::fromUtf8(tip));
    c->setChecked(checked);
    c->setFont(regular);
    c->setAutoFillBackground(true);
    setRole(c, QPalette::Window, lightGreen());
    c->setStyleSheet(QStringLiteral("QCheckBox { spacing: 2px; }"));
    place(c, l, t, w, h);
    return c;
}

QListWidget* ControlFactory::listBox(QWidget* parent, const char* name, const char* tip, int l,
                                     int t, int w, int h) const
{
    auto* lst = new QListWidget(parent);
    lst->setObjectName(QString::fromUtf8(name));
    lst->setToolTip(QString::fromUtf8(tip));
    lst->setFont(regular);
    setRole(lst, QPalette::Base, lightYellow());
    place(lst, l, t, w, h);
    return lst;
}

} // namespace vendrak
