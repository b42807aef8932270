#pragma once
// The plot set-up frame: the window of the graph, the plot step, the axes'
// origins and divisions, and the drawing options. An edited field blanks the
// graph shown; the window limits keep their order as they are left.
#include "core/graph/graph_drawing.h"
#include "core/series/series_file.h"

#include <QObject>
#include <QStringList>

#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace vendrak {

class ControlFactory;
class FrameHost;

// The frame's field texts.
struct PlotSetupTexts {
    QString windowlx, windowgx, windowly, windowgy, plotStep;
    QString xorigin, yorigin, divx, divy;
};

class PlotSetupFrame : public QObject {
public:
    // Builds the frame inside the window's client area and wires its fields.
    PlotSetupFrame(QWidget* client, const ControlFactory& make, FrameHost& host);

    PlotSetupTexts texts() const;
    // The four window limits in their order: lx, gx, ly, gy.
    QStringList windowTexts() const;
    // Writes the four window limits in their order, each a change of its field.
    void showWindow(const QStringList& limits);
    // The x-window: a newly opened series' interval of validity.
    void showXWindow(const QString& lower, const QString& upper);
    // The plot settings of a saved study, as texts.
    void restore(const StudySettingsTexts& saved);

    bool gridChecked() const;
    bool persistChecked() const;
    // What the drawing takes from the frame besides the plot settings.
    GraphOptions graphOptions() const;
    // The frame's controls in the order the Tab key visits them.
    std::vector<QWidget*> tabOrder() const;

private:
    QGroupBox* fraPlotSpecs = nullptr;
    QLineEdit* txtWindowlx = nullptr;
    QLabel* lblWindowx = nullptr;
    QLineEdit* txtWindowgx = nullptr;
    QLineEdit* txtWindowly = nullptr;
    QLabel* lblWindowy = nullptr;
    QLineEdit* txtWindowgy = nullptr;
    QLabel* lblPlotStep = nullptr;
    QLineEdit* txtPlotStep = nullptr;
    QCheckBox* chkGrid = nullptr;
    QCheckBox* chkShade = nullptr;
    QCheckBox* chkPersist = nullptr;
    QCheckBox* chkWindow = nullptr;
    QCheckBox* chkDivisions = nullptr;
    QLabel* lblXorigin = nullptr;
    QLineEdit* txtXorigin = nullptr;
    QLabel* lblDivx = nullptr;
    QLineEdit* txtDivx = nullptr;
    QLabel* lblYorigin = nullptr;
    QLineEdit* txtYorigin = nullptr;
    QLabel* lblDivy = nullptr;
    QLineEdit* txtDivy = nullptr;

    void build(QWidget* client, const ControlFactory& make);
    void wire();

    // The checks made as the field is left; true in cancel refuses the text.
    void txtDivx_Validate(bool& cancel);
    void txtDivy_Validate(bool& cancel);
    void txtPlotStep_Validate(bool& cancel);

    FrameHost& host_;
};

} // namespace vendrak
