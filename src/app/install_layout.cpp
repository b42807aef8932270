#include "app/install_layout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vendrak {

QString InstalledData(const QString& relative)
{
    const QString dir = QCoreApplication::applicationDirPath();
    // `vendrak` runs from bin/, the window's program from libexec/vendrak/.
    for (const char* toData : {VENDRAK_BIN_TO_DATA, VENDRAK_LIBEXEC_TO_DATA}) {
        const QString path = QDir::cleanPath(dir + u'/' + QLatin1String(toData) + u'/' + relative);
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

QString DefaultHelpFile()
{
    const QString installed = InstalledData(QStringLiteral("help/index.html"));
    if (!installed.isEmpty())
        return installed;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/help/index.html");
}

QStringList GraphicalProgramPlaces(const QString& programFolder)
{
    const QString name = QStringLiteral(VENDRAK_GUI_PROGRAM);
    return {programFolder + u'/' + name,
            QDir::cleanPath(programFolder + u'/' + QLatin1String(VENDRAK_BIN_TO_LIBEXEC) + u'/' + name)};
}

} // namespace vendrak
