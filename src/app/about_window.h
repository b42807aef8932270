#pragma once
// The About window frmAbout: black, large light orange text, no controls; a
// click anywhere closes it.
#include <QStringList>
#include <QWidget>

namespace vendrak {

// The maker's notice: what the program is, its licence, where it lives.
inline QString MakerWebAddress() { return QStringLiteral("https://vendrak.example.org"); }
inline QStringList MakerNoticeLines()
{
    return {QStringLiteral("Studies functions given as series"),
            QStringLiteral("Free software, MIT License"),
            MakerWebAddress()};
}

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* owner = nullptr);

    // Writes the lines at the current text position, one below the other;
    // the position then stays below the last of them.
    void printLines(const QStringList& lines);
    // Everything written so far, in order.
    const QStringList& lines() const { return lines_; }

    // The lines the About command writes.
    static QStringList aboutLines();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QStringList lines_;
};

} // namespace vendrak
