#pragma once
// Graph export shared by File > Export graph and the batch front end: the
// graph drawn afresh through the drawing steps into a PNG at a scale, or into
// an SVG or PDF as lines, circles and text, and written whole or not at all.
#include "app/export_formats.h"
#include "core/graph/image_canvas.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vendrak {

class Dialogs;
struct ExportTarget {
    QString path; // absolute
    ExportFormat format;
};
// Asks where to export to. The typed extension decides the format; without a
// known one the chosen filter does, and its extension is added to the name.
// None when the user cancels.
std::optional<ExportTarget> AskExportTarget(Dialogs& dialogs);

// Draws through `draw` (false: nothing could be drawn) onto a canvas of the
// graph area's interior and writes the file; PNG at `scale` device pixels to
// a logical pixel. Empty when written, otherwise why not; a failure leaves an
// earlier file of that name as it was and no partial file.
QString WriteGraphExport(const QString& path, ExportFormat format, int scale, const QString& description,
                         const std::function<bool(PainterCanvas&)>& draw);

} // namespace vendrak
