#pragma once
// The picture steps of a batch run, for the program with the graphical side.
#include "app/batch.h"

#include <QImage>

namespace vendrak {

class DrawnPictures final : public BatchPictures {
public:
    Graph drawGraph(const Dimension& d, const GraphOptions& options) override;
    bool hasGraph() const override { return !graph_.isNull(); }
    QString exportGraph(const Dimension& d, const StudySpecs& study, const GraphOptions& options,
                        const QString& path) override;
    QStringList save(const Dimension& d, const StudySettingsTexts& settings) override;
    QString writeFigure(const BatchOptions& options, const Dimension& d, const GraphOptions& graphOptions,
                        const VerifyReport* proven) override;

private:
    QImage graph_; // the graph area's picture; null until drawn
};

} // namespace vendrak
