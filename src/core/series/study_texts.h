#pragma once
// What the window shows of an opened or saved study, as texts, so the window
// and the batch front end open and save a study alike.
#include "core/series/series_file.h"
#include "core/study/dimension.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace vendrak {

// The series description beside the graph.
struct SeriesDescriptionTexts {
    QString type;        // "Trig" or "Power"
    QString termCaption; // "# of terms:" or "Degree:"
    QString terms, xlvalid, xuvalid, expansion;
    bool periodShown = false;
    QString period;      // "2π" for the starred period
};
SeriesDescriptionTexts DescribeSeries(const Series& s);

// The setting boxes of a window that has just started.
StudySettingsTexts StartUpSettings();

// The setting boxes after Open: the interval of validity as study interval
// and x-window, then the saved study's settings when the file held one; the
// other boxes keep what they held before.
StudySettingsTexts OpenedSettings(const Dimension& d, StudySettingsTexts before);


// Save: the study file, then, once it is on disk, the graph as FILE.bmp
// beside it when `graph` is not null. A study that cannot be written leaves
// both files as they were. The warning of each part that could not be
// written, in that order.
struct SaveReport {
    bool studySaved = false;
    QStringList warnings;
};
SaveReport SaveStudyFiles(const Dimension& d, const QImage& graph, const StudySettingsTexts& texts);

} // namespace vendrak
