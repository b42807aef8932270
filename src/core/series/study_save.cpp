#include "core/series/study_texts.h"

#include "core/study/whole_file.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>

// Save apart from the settings texts: the bitmap is Qt Gui's, and a program
// that only reads studies links without it.
namespace vendrak {

SaveReport SaveStudyFiles(const Dimension& d, const QImage& graph, const StudySettingsTexts& texts)
{
    SaveReport report;
    if (const std::optional<Error> failed = WriteSeriesFile(d, d.window.FileName, texts)) {
        // The bitmap belongs to the file: one that was refused or failed
        // leaves the earlier bitmap beside it, not a picture of another study.
        report.warnings << failed->message();
        return report;
    }
    report.studySaved = true;
    if (!graph.isNull()) {
        const QString bitmap = d.window.FileName + QStringLiteral(".bmp");
        // Made whole in memory first, so a failed write names the system's
        // reason rather than the encoder's.
        QBuffer data;
        data.open(QIODevice::WriteOnly);
        QString why = QImageWriter(&data, "BMP").write(graph) ? QString() : QStringLiteral("the picture could not be made");
        if (why.isEmpty())
            why = WriteWholeFile(bitmap, data.data());
        // The study itself is saved; only its picture is not.
        if (!why.isEmpty())
            report.warnings << QStringLiteral("The graph could not be saved as %1: %2")
                                   .arg(QDir::toNativeSeparators(bitmap), why);
    }
    return report;
}

} // namespace vendrak
