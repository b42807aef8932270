#include "app/about_window.h"

#include "app/help_viewer.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace vendrak {

QStringList MakerNoticeLines()
{
    return {QStringLiteral("Studies functions given as series"), QStringLiteral("Free software, MIT License"),
            QStringLiteral("Version " VENDRAK_VERSION)};
}

QString MakerWebAddress(const QString& anchor)
{
    QUrl help = QUrl::fromLocalFile(DefaultHelpFile());
    help.setFragment(anchor);
    return help.toString();
}

AboutWindow::AboutWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vendrak"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(640, 480);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, QColor(255, 192, 128));
    setPalette(pal);
    setAutoFillBackground(true);
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                   QStringLiteral("Sans Serif")});
    f.setPixelSize(32); // 24 points at 96 dots per inch
    f.setBold(true);
    setFont(f);
}

QStringList AboutWindow::aboutLines()
{
    QStringList lines{QString(), QString(), QString(), QStringLiteral("Vendrak"), QString()};
    const QStringList notice = MakerNoticeLines();
    for (qsizetype i = 0; i < notice.size(); ++i) {
        if (i > 0)
            lines << QString();
        lines << notice.at(i);
    }
    return lines;
}

void AboutWindow::printLines(const QStringList& lines)
{
    lines_ << lines;
    update();
}

void AboutWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics fm(font());
    int y = fm.ascent();
    for (const QString& line : lines_) {
        if (y - fm.ascent() > height())
            break;
        p.drawText(0, y, line);
        y += fm.lineSpacing();
    }
}

void AboutWindow::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    close();
}

} // namespace vendrak
