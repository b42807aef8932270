#include "app/plot_setup_frame.h"

#include "app/frame_host.h"
#include "app/window_controls.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <array>
#include <cmath>
#include <optional>

namespace vendrak {

namespace {

// The leading number of a field, or nothing when it is beyond the double range.
std::optional<double> leadingOf(const QLineEdit* field)
{
    try {
        return LeadingNumber(field->text());
    } catch (const Error&) {
        return std::nullopt;
    }
}

// True when the upper limit's text does not lie above the lower limit's (a
// text beyond the number range counts as out of order too).
bool limitsOutOfOrder(const QLineEdit* lower, const QLineEdit* upper)
{
    const std::optional<double> lo = leadingOf(lower);
    const std::optional<double> hi = leadingOf(upper);
    return !lo || !hi || *hi <= *lo;
}

bool isChecked(const QCheckBox* box) { return box->checkState() != Qt::Unchecked; }

} // namespace

PlotSetupFrame::PlotSetupFrame(QWidget* client, const ControlFactory& make, FrameHost& host)
    : host_(host)
{
    build(client, make);
    wire();
}

void PlotSetupFrame::build(QWidget* client, const ControlFactory& make)
{
    fraPlotSpecs = make.frame(client, "fraPlotSpecs", "Plot setup", 6000, 1380, 3495, 2010);
    txtWindowlx = make.textBox(fraPlotSpecs, "txtWindowlx", "-20", "Lower limit for x (plotting)", 0,
                               195, 1425, 285);
    lblWindowx = make.label(fraPlotSpecs, "lblWindowx", "<=x<=", "", 1410, 195, 630, 285);
    txtWindowgx = make.textBox(fraPlotSpecs, "txtWindowgx", "20", "Upper limit for x (plotting)", 2030,
                               195, 1425, 285);
    txtWindowly = make.textBox(fraPlotSpecs, "txtWindowly", "-15", "Lower limit for y (plotting)", 0,
                               495, 1425, 285);
    lblWindowy = make.label(fraPlotSpecs, "lblWindowy", "<=y<=", "", 1410, 495, 630, 285);
    txtWindowgy = make.textBox(fraPlotSpecs, "txtWindowgy", "15", "Upper limit for y (plotting)", 2030,
                               495, 1425, 285);
    lblPlotStep = make.label(fraPlotSpecs, "lblPlotStep", "Plot step:", "", 0, 795, 885, 285);
    txtPlotStep = make.textBox(fraPlotSpecs, "txtPlotStep", "1", "Enter integer between 1 and 80", 870,
                               795, 270, 285);
    chkGrid = make.checkBox(fraPlotSpecs, "chkGrid", "Grid", "Check if you want a grid on graph", true,
                            1170, 795, 600, 285);
    chkShade = make.checkBox(fraPlotSpecs, "chkShade", "Shade", "Check if you want the area shaded",
                             true, 1800, 795, 810, 285);
    chkPersist = make.checkBox(fraPlotSpecs, "chkPersist", "Persist",
                               "Check if you want persistent graphics", false, 2660, 795, 780, 285);
    chkWindow = make.checkBox(fraPlotSpecs, "chkWindow", "Label window",
                              "Check to label the window edges", true, 300, 1110, 1275, 285);
    chkDivisions = make.checkBox(fraPlotSpecs, "chkDivisions", "Label divisons",
                                 "Check to label the divisions", true, 1860, 1110, 1305, 285);
    lblXorigin = make.label(fraPlotSpecs, "lblXorigin", "x-origin:", "", 0, 1410, 750, 285);
    txtXorigin = make.textBox(fraPlotSpecs, "txtXorigin", "0", "Position of y-axis", 735, 1410, 765,
                              285);
    lblDivx = make.label(fraPlotSpecs, "lblDivx", "x-divisions:", "", 1515, 1410, 1095, 285);
    txtDivx = make.textBox(fraPlotSpecs, "txtDivx", "1", "Size of divisions on x-axis", 2590, 1410, 855,
                           285);
    lblYorigin = make.label(fraPlotSpecs, "lblYorigin", "y-origin:", "", 0, 1705, 750, 285);
    txtYorigin = make.textBox(fraPlotSpecs, "txtYorigin", "0", "Position of x-axis", 735, 1705, 765,
                              285);
    lblDivy = make.label(fraPlotSpecs, "lblDivy", "y-divisions:", "", 1515, 1705, 1095, 285);
    txtDivy = make.textBox(fraPlotSpecs, "txtDivy", "1", "Size of divisions on y-axis", 2590, 1705, 855,
                           285);
}

void PlotSetupFrame::wire()
{
    // Any edit blanks the graph; the check boxes wait for the next Plot.
    for (QLineEdit* e : {txtWindowlx, txtWindowgx, txtWindowly, txtWindowgy, txtXorigin, txtYorigin,
                         txtDivx, txtDivy, txtPlotStep})
        connect(e, &QLineEdit::textChanged, this,
                [this] { host_.runGuarded([this] { host_.InvalidateGraph(); }); });

    const auto selectAll = [this](QLineEdit* e) {
        return std::function<void()>([this, e] { host_.SelectAllText(e); });
    };
    // A limit left out of order with its partner sends the focus to the partner.
    for (const auto& [lower, upper] : {std::pair{txtWindowlx, txtWindowgx}, {txtWindowly, txtWindowgy}})
        for (const auto& [left, other] : {std::pair{lower, upper}, {upper, lower}})
            host_.addField(left, selectAll(left), {}, [this, lower, upper, other] {
                if (limitsOutOfOrder(lower, upper))
                    host_.setFocusLater(other);
            });
    host_.addField(txtPlotStep, selectAll(txtPlotStep),
                   [this](bool& cancel) { txtPlotStep_Validate(cancel); }, {});
    host_.addField(txtXorigin, selectAll(txtXorigin), {}, {});
    host_.addField(txtYorigin, selectAll(txtYorigin), {}, {});
    host_.addField(txtDivx, selectAll(txtDivx), [this](bool& cancel) { txtDivx_Validate(cancel); }, {});
    host_.addField(txtDivy, selectAll(txtDivy), [this](bool& cancel) { txtDivy_Validate(cancel); }, {});

    for (QLineEdit* e : {txtWindowlx, txtWindowgx, txtWindowly, txtWindowgy, txtXorigin, txtYorigin,
                         txtDivx, txtDivy})
        host_.addDecimalField(e);
}

PlotSetupTexts PlotSetupFrame::texts() const
{
    return {txtWindowlx->text(), txtWindowgx->text(), txtWindowly->text(), txtWindowgy->text(),
            txtPlotStep->text(), txtXorigin->text(),  txtYorigin->text(),  txtDivx->text(),
            txtDivy->text()};
}

QStringList PlotSetupFrame::windowTexts() const
{
    return {txtWindowlx->text(), txtWindowgx->text(), txtWindowly->text(), txtWindowgy->text()};
}

void PlotSetupFrame::showWindow(const QStringList& limits)
{
    const std::array<QLineEdit*, 4> fields{txtWindowlx, txtWindowgx, txtWindowly, txtWindowgy};
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->setText(limits.value(static_cast<qsizetype>(i)));
}

void PlotSetupFrame::showXWindow(const QString& lower, const QString& upper)
{
    txtWindowlx->setText(lower);
    txtWindowgx->setText(upper);
}

void PlotSetupFrame::restore(const StudySettingsTexts& saved)
{
    txtWindowlx->setText(saved.windowlx);
    txtWindowgx->setText(saved.windowgx);
    txtWindowly->setText(saved.windowly);
    txtWindowgy->setText(saved.windowgy);
    txtXorigin->setText(saved.xorigin);
    txtYorigin->setText(saved.yorigin);
    txtPlotStep->setText(saved.plotStep);
    txtDivx->setText(saved.divx);
    txtDivy->setText(saved.divy);
}

bool PlotSetupFrame::gridChecked() const { return isChecked(chkGrid); }
bool PlotSetupFrame::persistChecked() const { return isChecked(chkPersist); }

GraphOptions PlotSetupFrame::graphOptions() const
{
    GraphOptions options;
    options.shade = isChecked(chkShade);
    options.labelWindow = isChecked(chkWindow);
    options.labelDivisions = isChecked(chkDivisions);
    options.divxText = txtDivx->text();
    options.divyText = txtDivy->text();
    return options;
}

void PlotSetupFrame::txtDivx_Validate(bool& cancel)
{
    const std::optional<double> v = leadingOf(txtDivx);
    cancel = !v || *v == 0;
}

void PlotSetupFrame::txtDivy_Validate(bool& cancel)
{
    const std::optional<double> v = leadingOf(txtDivy);
    cancel = !v || *v == 0;
}

void PlotSetupFrame::txtPlotStep_Validate(bool& cancel)
{
    const std::optional<double> v = leadingOf(txtPlotStep);
    cancel = !v || *v != std::floor(*v) || *v < 1 || *v > 80;
}

std::vector<QWidget*> PlotSetupFrame::tabOrder() const
{
    return {txtWindowlx, txtWindowgx, txtWindowly, txtWindowgy, txtPlotStep, txtXorigin, txtYorigin,
            txtDivx,     txtDivy,     chkGrid,     chkShade,    chkPersist,  chkWindow,  chkDivisions};
}

} // namespace vendrak
