#pragma once
// The series file: a header describing one series, its coefficients, and,
// once this program has saved it, the study (settings and results).
//
// Fields are separated by commas or line ends; text fields are quoted; numbers
// always use a point; booleans are #TRUE# / #FALSE#. The writer puts each
// record on one line ending in CR LF.
#include "core/study/dimension.h"

#include "core/study/errors.h"

#include <QString>
#include <optional>

namespace vendrak {

// The texts of the fourteen setting boxes as the window shows them. The
// writer stores the leading number of each.
struct StudySettingsTexts {
    QString xlower, xupper, subintervals, error, maxcy;
    QString windowlx, windowgx, windowly, windowgy, plotStep;
    QString xorigin, yorigin, divx, divy;
};

inline const char* const kMultiVariableMessage = "SERIES IS MULTIVARIABLE.";

// A study saved with the series: its settings, results and plot set-up. What
// the file does not carry (the derivative order, the grid option, the value
// of an integral not done) is as the study held it before.
struct SavedStudy {
    StudySpecs study;
    Results results;
    PlotSetup plot;
};

// What a series file holds.
struct SeriesFile {
    Series series;
    std::optional<SavedStudy> saved;
};

// Reads the series and the saved study, when present. A header that says no
// coefficients follow takes those of the series `before` holds. A failure is
// a file Error that names the file and says what was wrong, or, for a
// multivariable header, says only "SERIES IS MULTIVARIABLE.".
Outcome<SeriesFile> ReadSeriesFile(const Dimension& before, const QString& path);
bool IsMultiVariable(const Error& e);

// The record once the file is opened: the series replaced, RestoringStudy set
// (the Open command clears it when the window has been restored),
// StudyLoaded telling whether a study was saved, whose settings and results
// replace the study's; without one, the results are cleared.
Dimension Opened(Dimension d, SeriesFile file);

// Writes header, coefficients and study part. The file is replaced only once
// the new content is completely on disk; on failure the old file is intact and
// the file Error names the file and the reason.
std::optional<Error> WriteSeriesFile(const Dimension& d, const QString& path, const StudySettingsTexts& texts);

// The series alone (header and coefficients, no study), as a file made by
// another program would hold it; a period whose text is "*" is written as
// "*". SeriesOnlyContent fails with the reason when the series cannot be
// written.
Outcome<QByteArray> SeriesOnlyContent(const Series& s);
std::optional<Error> WriteSeriesOnlyFile(const Series& s, const QString& path);

// The number a series file written with `value` in a number field reads back
// as (the writer keeps 15 significant digits). A value no file can hold comes
// back as it is.
double AsWritten(double value);

// The count the window shows beside "# of terms:" / "Degree:" and the file
// carries in its header: the number of coefficients of a trigonometric series,
// the degree of a power series.
int ShownTermCount(const Series& s);

} // namespace vendrak
