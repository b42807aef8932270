#pragma once
// How the main window's controls are made and placed: the faces, colours and
// twip geometry shared by the window and each of its frames, so every frame
// looks as the rest of the window does.
#include <QColor>
#include <QFont>
#include <QPalette>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace vendrak {

// Positions and sizes are laid out in twips, 15 to the pixel.
constexpr int px(int twips) { return (twips + 7) / 15; }

void place(QWidget* w, int left, int top, int width, int height);

QColor lightCyan();
QColor lightGreen();
QColor lightYellow();
QColor lightOrange();
QColor lightPink();

void setRole(QWidget* w, QPalette::ColorRole role, const QColor& colour);

// A bold 8.25-point sans face for frames and labels (11 pixels at 96 dots
// per inch), the same face regular for everything else.
QFont windowFont(bool bold);

// Makes the window's controls, each named, tipped, coloured and placed.
class ControlFactory {
public:
    ControlFactory();

    QGroupBox* frame(QWidget* parent, const char* name, const char* caption, int l, int t, int w,
                     int h) const;
    QLineEdit* textBox(QWidget* parent, const char* name, const char* text, const char* tip, int l,
                       int t, int w, int h) const;
    QLabel* label(QWidget* parent, const char* name, const char* caption, const char* tip, int l,
                  int t, int w, int h) const;
    // A sunken yellow label that shows a value.
    QLabel* valueLabel(QWidget* parent, const char* name, const char* tip, int l, int t, int w,
                       int h) const;
    QPushButton* button(QWidget* parent, const char* name, const char* caption, const char* tip,
                        const QColor& colour, int l, int t, int w, int h) const;
    QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption, const char* tip,
                        bool checked, int l, int t, int w, int h) const;
    QListWidget* listBox(QWidget* parent, const char* name, const char* tip, int l, int t, int w,
                         int h) const;

    const QFont bold;
    const QFont regular;
    // The application's colours as the window is built: labels take the
    // tool-tip background.
    const QPalette appPalette;
};

} // namespace vendrak
