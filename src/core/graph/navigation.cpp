#include "core/graph/navigation.h"

#include "core/series/block_eval.h"
#include "core/series/evaluators.h"
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/study/errors.h"
#include "core/study/number_text.h"

namespace vendrak {

const QString kViewRangeMessage =
    QStringLiteral("Cannot change the view: the plot window would leave the range of numbers "
                   "the graph can hold.");

namespace {

// A value as the window fields would show it: single precision, written with
// seven digits and read back.
double shown(double v) { return LeadingNumber(NumberText(toSingle(v))); }

} // namespace

ViewLimits ReadView(const QString& lx, const QString& gx, const QString& ly, const QString& gy)
{
    return {toSingle(LeadingNumber(lx)), toSingle(LeadingNumber(gx)), toSingle(LeadingNumber(ly)),
            toSingle(LeadingNumber(gy))};
}

ViewLimits ShownView(const ViewLimits& view)
{
    return ReadView(NumberText(view.lx), NumberText(view.gx), NumberText(view.ly), NumberText(view.gy));
}

ViewLimits ChangeViewLimits(const ViewLimits& view, ViewAction action)
{
    // Each value is worked out in double from the stored singles and stored
    // in single precision.
    const double LX = view.lx;
    const double GX = view.gx;
    const double LY = view.ly;
    const double GY = view.gy;
    const float cx = toSingle((GX + LX) / 2);
    const float cy = toSingle((GY + LY) / 2);
    const double CX = cx;
    const double CY = cy;
    const double HW = toSingle((GX - LX) / 2);
    const double HH = toSingle((GY - LY) / 2);

    ViewLimits v = view;
    switch (action) {
    case ViewAction::ZoomOut:
        v.lx = toSingle(LX - HW);
        v.gx = toSingle(HW + GX);
        v.ly = toSingle(LY - HH);
        v.gy = toSingle(HH + GY);
        break;
    case ViewAction::Quadrant1:
        v.lx = cx;
        v.ly = cy;
        break;
    case ViewAction::Quadrant2:
        v.gx = cx;
        v.ly = cy;
        break;
    case ViewAction::Quadrant3:
        v.gx = cx;
        v.gy = cy;
        break;
    case ViewAction::Quadrant4:
        v.lx = cx;
        v.gy = cy;
        break;
    case ViewAction::ZoomIn:
        v.lx = toSingle((CX + LX) / 2);
        v.gx = toSingle((CX + GX) / 2);
        v.ly = toSingle((CY + LY) / 2);
        v.gy = toSingle((CY + GY) / 2);
        break;
    case ViewAction::PanRight:
        v.lx = toSingle(HW / 2 + LX);
        v.gx = toSingle(HW / 2 + GX);
        break;
    case ViewAction::PanUp:
        v.ly = toSingle(HH / 2 + LY);
        v.gy = toSingle(HH / 2 + GY);
        break;
    case ViewAction::PanLeft:
        v.lx = toSingle(LX - HW / 2);
        v.gx = toSingle(GX - HW / 2);
        break;
    case ViewAction::PanDown:
        v.ly = toSingle(LY - HH / 2);
        v.gy = toSingle(GY - HH / 2);
        break;
    // The window-size steps pass each operand through the field text, so a
    // narrower-then-wider pair lands where the texts say, not where exact
    // arithmetic would.
    case ViewAction::WiderX:
        v.lx = toSingle(shown(LX) - shown(HW / 2));
        v.gx = toSingle(shown(GX) + shown(HW / 2));
        break;
    case ViewAction::NarrowerX:
        v.lx = toSingle(shown(LX) + shown(HW / 3));
        v.gx = toSingle(shown(GX) - shown(HW / 3));
        break;
    case ViewAction::WiderY:
        v.ly = toSingle(shown(LY) - shown(HH / 2));
        v.gy = toSingle(shown(GY) + shown(HH / 2));
        break;
    case ViewAction::NarrowerY:
        v.ly = toSingle(shown(LY) + shown(HH / 3));
        v.gy = toSingle(shown(GY) - shown(HH / 3));
        break;
    }
    return v;
}

ViewLimits CentreOnClickLimits(const PlotSetup& plot, float x, float y)
{
    const float width = toSingle(static_cast<double>(plot.WindowGX) - plot.WindowLX);
    const float height = toSingle(static_cast<double>(plot.WindowGY) - plot.WindowLY);
    ViewLimits v;
    v.lx = toSingle(x - width / 2.0);
    v.gx = toSingle(x + width / 2.0);
    v.ly = toSingle(y - height / 2.0);
    v.gy = toSingle(y + height / 2.0);
    return v;
}

ViewLimits ZoomAboutLimits(const PlotSetup& plot, float x, float y, double factor)
{
    ViewLimits v;
    v.lx = toSingle(x - (x - static_cast<double>(plot.WindowLX)) * factor);
    v.gx = toSingle(x + (plot.WindowGX - static_cast<double>(x)) * factor);
    v.ly = toSingle(y - (y - static_cast<double>(plot.WindowLY)) * factor);
    v.gy = toSingle(y + (plot.WindowGY - static_cast<double>(y)) * factor);
    return v;
}

std::optional<YRange> FitYLimits(const Series& series, int order, float lx, float gx, int plotStep, int width)
{
    const double step = (static_cast<double>(gx) - lx) / width * std::max(plotStep, 1);
    if (!(step > 0) || !std::isfinite(step))
        return std::nullopt;
    double low = INFINITY;
    double high = -INFINITY;
    const long long samples = static_cast<long long>((static_cast<double>(gx) - lx) / step) + 1;
    std::vector<double> xs;
    for (long long i = 0; i <= samples; ++i)
        xs.push_back(std::min(static_cast<double>(gx), lx + i * step));
    const KnownValues known(series, order, xs);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        try {
            const double y = known[i] ? *known[i] : EvalSelected(series, order, xs[i]);
            low = std::min(low, y);
            high = std::max(high, y);
        } catch (const Error&) {
            // A gap in the curve, as the plot leaves one.
        }
    }
    if (!(low <= high))
        return std::nullopt;
    double pad = (high - low) * 0.05;
    if (pad == 0)
        pad = low == 0 ? 1 : std::fabs(low) * 0.05;
    low -= pad;
    high += pad;
    // Two significant digits of the height: readable window labels.
    const double unit = std::pow(10.0, std::floor(std::log10(high - low)) - 1);
    if (std::isfinite(unit) && unit > 0) {
        // A whisker for the rounding of the widening: 1.1 stays 1.1.
        low = std::floor(low / unit + 1e-9) * unit;
        high = std::ceil(high / unit - 1e-9) * unit;
    }
    if (!std::isfinite(low) || !std::isfinite(high) || !(low < high))
        return std::nullopt;
    return YRange{low, high};
}

QString CoordinateTip(float x, float y)
{
    return u'(' + NumberText(x) + QStringLiteral(", ") + NumberText(y)
        + QStringLiteral("): Click to center graph here");
}

} // namespace vendrak
