#include "app/help_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace vendrak {

HelpViewer::HelpViewer(QWidget* owner)
    : QTextBrowser(owner)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Vendrak Help"));
    setOpenExternalLinks(true);
    resize(680, 560);
}

void HelpViewer::showContents(const QString& path)
{
    const QFileInfo info(path);
    missing_ = !info.isFile() || !info.isReadable();
    if (missing_) {
        setPlainText(QStringLiteral("The help file %1 is missing or cannot be read.")
                         .arg(QDir::toNativeSeparators(info.absoluteFilePath())));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (source() == url)
        reload();
    else
        setSource(url);
    scrollToAnchor(QStringLiteral("contents"));
}

} // namespace vendrak
