#include "app/install_layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vendrak {

QString InstalledData(const QString& relative)
{
    const QString path = QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                                         QLatin1String(VENDRAK_LIBEXEC_TO_DATA) + u'/' + relative);
    return QFileInfo::exists(path) ? path : QString();
}

QString DefaultHelpFile()
{
    const QString installed = InstalledData(QStringLiteral("help/index.html"));
    if (!installed.isEmpty())
        return installed;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/help/index.html");
}

QString GraphicalProgram(const QString& programFolder)
{
    return programFolder + u'/' + QStringLiteral(VENDRAK_GUI_PROGRAM);
}

} // namespace vendrak
