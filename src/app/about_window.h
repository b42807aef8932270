#pragma once
// The About window frmAbout: black, large light orange text, no controls; a
// click anywhere closes it.
#include <QStringList>
#include <QWidget>

namespace vendrak {

// The maker's notice: what the program is, its licence and the version of
// this build. The project has no web site of its own, so no address is
// given; where one is asked for, the help document is the place to look.
QStringList MakerNoticeLines();
// Where to read more: the help document's section named by `anchor`.
QString MakerWebAddress(const QString& anchor);

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
