#include "core/graph/graph_drawing.h"

#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace vendrak {

const QString kEmptyWindowMessage = QStringLiteral(
    "Cannot plot: each upper limit of the plot window must be greater than its lower limit.");
const QString kHugeWindowMessage =
    QStringLiteral("Cannot plot: the plot window is too large to be drawn.");
const QString kTinyWindowMessage =
    QStringLiteral("Cannot plot: the plot window is too small to be drawn.");
const QString kPlotStepMessage =
    QStringLiteral("Cannot plot: the plot step must be a whole number between 1 and 80.");
const QString kBadSettingMessage =
    QStringLiteral("Cannot plot: a plot setting holds a number that cannot be drawn.");

namespace {

// A loop whose counter starts this many steps before the part of the window
// it draws in jumps ahead instead of stepping there one by one.
constexpr double kJumpAhead = 4096;
// No loop of the drawing runs more often than this; the window is only a few
// hundred pixels wide, so only a runaway loop ever gets near it.
constexpr long long kMaxIterations = 200000;

// A counted loop in single precision: the counter starts at `from`, the body
// runs while it has not passed `to` (<= for a positive step, >= for a
// negative one) and the step is added after each body. The body gets the
// counter and the number of the pass (1, 2, ...). `usefulFrom` is where the
// window begins as seen from `from`; a counter that starts very far before it
// jumps ahead (keeping the pass numbers) rather than stepping there. A step
// too small to move the counter ends the loop.
template <class Body>
void CountedLoop(float from, float to, float step, float usefulFrom, Body body)
{
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step) || step == 0.0f)
        return;
    float v = from;
    long long pass = 0;
    const double ahead = (static_cast<double>(usefulFrom) - from) / step;
    if (std::isfinite(ahead) && ahead > kJumpAhead) {
        const double k = std::floor(ahead) - 1;
        v = single(from + k * static_cast<double>(step));
        pass = static_cast<long long>(k);
        if (!std::isfinite(v))
            return;
    }
    for (long long i = 0; i < kMaxIterations; ++i) {
        if (step > 0 ? !(v <= to) : !(v >= to))
            break;
        ++pass;
        body(v, pass);
        const float next = v + step;
        if (next == v)
            break;
        v = next;
    }
}

// The window label of a value: a blank for the sign of a value that is not
// negative, the digits, a blank.
QString windowLabelText(float v)
{
    const QString t = NumberText(v);
    return t.startsWith(u'-') ? t + u' ' : u' ' + t + u' ';
}

int labelEvery(float pixel, float step)
{
    const double every = std::floor(static_cast<double>(pixel) * 7 / step + 1);
    if (!std::isfinite(every) || every < 1)
        return 1;
    return every > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                   : static_cast<int>(every);
}

// The abscissas a loop walks: `first`, then each the last plus `step` as the
// loop adds it while `goOn` holds for it, at most `count`.
template <class GoOn>
std::vector<double> walkedAbscissas(double first, double step, long long count, GoOn goOn)
{
    std::vector<double> xs;
    for (double x = first; static_cast<long long>(xs.size()) < count; x = x + step) {
        if (!xs.empty() && !goOn(x))
            break;
        xs.push_back(x);
    }
    return xs;
}

} // namespace

float single(double v)
{
    if (std::isnan(v))
        return std::numeric_limits<float>::quiet_NaN();
    if (v > FLT_MAX || v < -FLT_MAX) {
        // Values that round to the largest single are still that single.
        const float f = static_cast<float>(std::clamp(v, -static_cast<double>(FLT_MAX),
                                                      static_cast<double>(FLT_MAX)));
        const double halfUlp = 0.5 * (static_cast<double>(FLT_MAX) - std::nextafter(FLT_MAX, 0.0f));
        if (std::fabs(v) - FLT_MAX < halfUlp)
            return f;
        return v > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(v);
}

QString plotSettingsProblem(const PlotSetup& plot, int width, int height)
{
    const float values[] = {plot.WindowLX, plot.WindowGX, plot.WindowLY, plot.WindowGY,
                            plot.XOrigin, plot.YOrigin, plot.DivX, plot.DivY};
    for (float v : values)
        if (!std::isfinite(v))
            return kBadSettingMessage;
    if (!(plot.WindowGX > plot.WindowLX) || !(plot.WindowGY > plot.WindowLY))
        return kEmptyWindowMessage;
    const double w = static_cast<double>(plot.WindowGX) - plot.WindowLX;
    const double h = static_cast<double>(plot.WindowGY) - plot.WindowLY;
    if (!std::isfinite(single(w)) || !std::isfinite(single(h)))
        return kHugeWindowMessage;
    if (width <= 0 || height <= 0)
        return kTinyWindowMessage;
    if (single(w / width) == 0.0f || single(h / height) == 0.0f)
        return kTinyWindowMessage;
    if (plot.PlotStep < 1)
        return kPlotStepMessage;
    if (!std::isfinite(single(w / width * plot.PlotStep)))
        return kHugeWindowMessage;
    return {};
}

QString LabelPattern(const QString& divisionText)
{
    const QString t = divisionText.trimmed();
    const qsizetype dot = t.indexOf(u'.');
    if (dot < 0)
        return QStringLiteral("######");
    return QStringLiteral("######.") + QString(t.size() - dot - 1, u'0');
}

QString FormatLabel(double value, const QString& pattern)
{
    const qsizetype dot = pattern.indexOf(u'.');
    const bool hasPoint = dot >= 0;
    const int decimals = hasPoint ? static_cast<int>(pattern.size() - dot - 1) : 0;
    const double magnitude = std::fabs(value);

    QString whole;
    QString fraction;
    bool zero = true;
    const double scale = std::pow(10.0, decimals);
    const double scaled = magnitude * scale;
    if (decimals <= 15 && std::isfinite(scaled) && scaled < 4.0e15) {
        const long long r = static_cast<long long>(std::floor(scaled + 0.5));
        const long long unit = static_cast<long long>(scale);
        const long long w = unit > 0 ? r / unit : r;
        const long long f = unit > 0 ? r % unit : 0;
        zero = r == 0;
        if (w != 0)
            whole = QString::number(w);
        if (decimals > 0)
            fraction = QStringLiteral("%1").arg(f, decimals, 10, QChar(u'0'));
    } else {
        // Too many digits for whole-number arithmetic: let the decimal
        // conversion round; the "#" rule still drops a zero whole part.
        const QString t = QString::number(magnitude, 'f', std::min(decimals, 300));
        const qsizetype p = t.indexOf(u'.');
        whole = p < 0 ? t : t.left(p);
        fraction = p < 0 ? QString() : t.mid(p + 1);
        zero = std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c == u'0' || c == u'.'; });
        if (whole == u'0')
            whole.clear();
    }
    QString out;
    if (value < 0 && !zero)
        out += u'-';
    out += whole;
    if (hasPoint)
        out += u'.' + fraction;
    return out;
}

bool GraphDrawing::draw(const GraphOptions& options, const std::function<bool()>& handOver)
{
    if (!plotSettingsProblem(plot_, canvas_.outerWidth(), canvas_.outerHeight()).isEmpty())
        return false;
    work_.PlottedOrder = study_.DerivOrder;
    SetUpMapping();
    DrawFrame();
    ShadeArea(options.shade);
    DrawTicks();
    DrawIntervalMarkers();
    DrawAxes();
    MarkOrigin();
    if (options.labelWindow)
        LabelWindow();
    if (options.labelDivisions)
        LabelDivisions(options.divxText, options.divyText);
    canvas_.flush();
    const bool goOn = !handOver || handOver();
    if (goOn) {
        PlotCurve();
        canvas_.flush();
    }
    return true;
}

void GraphDrawing::SetUpMapping()
{
    const double w = canvas_.outerWidth();
    const double h = canvas_.outerHeight();
    const double width = static_cast<double>(plot_.WindowGX) - plot_.WindowLX;
    const double height = static_cast<double>(plot_.WindowGY) - plot_.WindowLY;
    work_.SampleStep = single(width / w * plot_.PlotStep);
    work_.PixelX = single(width / w);
    work_.PixelY = single(height / h);
    canvas_.setScale(plot_.WindowLX, plot_.WindowGY, plot_.WindowGX, plot_.WindowLY);
    work_.TickLenX = single(width);
    work_.TickLenY = single(height);
    if (!plot_.GridOn) {
        work_.TickLenX = single(work_.TickLenX / 20.0);
        work_.TickLenY = single(work_.TickLenY / 20.0);
    }
}

void GraphDrawing::DrawFrame()
{
    canvas_.rectangle(plot_.WindowLX, static_cast<double>(plot_.WindowLY) + work_.PixelY,
                      static_cast<double>(plot_.WindowGX) - work_.PixelX, plot_.WindowGY,
                      colours::Yellow);
}

GraphDrawing::Sample GraphDrawing::evaluate(double x)
{
    if (const std::optional<double> known = evaluator_ ? std::nullopt : samples_.next(x))
        return {*known, 0};
    try {
        return {evaluator_ ? evaluator_(x) : EvalSelected(series_, study_.DerivOrder, x), 0};
    } catch (const Error& e) {
        return {0, errorCode(e.number()) != 0 ? errorCode(e.number()) : errorCode(ErrorNumber::Overflow)};
    }
}

double GraphDrawing::clampToWindow(double y) const
{
    if (y > plot_.WindowGY)
        return plot_.WindowGY;
    if (y < plot_.WindowLY)
        return plot_.WindowLY;
    return y;
}

void GraphDrawing::ShadeArea(bool shadeChecked)
{
    if (!shadeChecked || study_.DerivOrder >= 1)
        return;
    const double lx = plot_.WindowLX;
    const double gx = plot_.WindowGX;
    if (study_.XLower <= gx && study_.XLower < lx)
        study_.XLower = lx;
    ierr_ = 0;
    canvas_.pset(study_.XLower, plot_.YOrigin, colours::Shade);
    double x = study_.XLower;
    const double stride = work_.SampleStep * 0.999;
    if (!evaluator_)
        samples_ = KnownValues(series_, study_.DerivOrder,
                               walkedAbscissas(x, stride, kMaxIterations,
                                               [&](double at) { return at < gx && at < study_.XUpper; }));
    for (long long i = 0; i < kMaxIterations; ++i) {
        const Sample s = evaluate(x);
        if (s.error != 0) {
            ierr_ = s.error;
            break;
        }
        canvas_.lineTo(x, clampToWindow(s.y), colours::Shade);
        x = x + stride;
        if (!(x < gx) || !(x < study_.XUpper))
            break;
        canvas_.pset(x, plot_.YOrigin, colours::Blue);
    }
    if (study_.XUpper <= gx) {
        x = study_.XUpper;
        const Sample s = evaluate(x);
        if (s.error != 0)
            ierr_ = s.error;
        if (ierr_ == 0)
            canvas_.lineTo(x, clampToWindow(s.y), colours::Shade);
    }
}

void GraphDrawing::DrawTicks()
{
    // Never two marks closer than one pixel. A negative division counts by its size.
    const auto tickStep = [](float div, float pixel) {
        const float d = std::fabs(div);
        return d < pixel ? pixel : d;
    };
    work_.DivStepX = tickStep(plot_.DivX, work_.PixelX);
    work_.DivStepY = tickStep(plot_.DivY, work_.PixelY);
    const float lx = plot_.WindowLX;
    const float gx = plot_.WindowGX;
    const float ly = plot_.WindowLY;
    const float gy = plot_.WindowGY;

    // From the origin up to the high end, then down to the low end; only the
    // marks inside the window are drawn.
    const auto fromOrigin = [](float origin, float low, float high, float step, const auto& mark) {
        CountedLoop(origin, high, step, low, [&](float v, long long) {
            if (v >= low)
                mark(v);
        });
        CountedLoop(origin, low, -step, high, [&](float v, long long) {
            if (v <= high)
                mark(v);
        });
    };
    const double y0 = plot_.GridOn ? ly : plot_.YOrigin - work_.TickLenY / 2.0;
    fromOrigin(plot_.XOrigin, lx, gx, work_.DivStepX, [&](float x) {
        canvas_.lineBy(x, y0, 0, work_.TickLenY, colours::Green);
    });
    const double x0 = plot_.GridOn ? lx : plot_.XOrigin - work_.TickLenX / 2.0;
    fromOrigin(plot_.YOrigin, ly, gy, work_.DivStepY, [&](float y) {
        canvas_.lineBy(x0, y, work_.TickLenX, 0, colours::Green);
    });
}

void GraphDrawing::DrawIntervalMarkers()
{
    for (const double end : {study_.XLower, study_.XUpper}) {
        if (!(plot_.WindowLX <= end && end <= plot_.WindowGX))
            continue;
        ierr_ = 0;
        canvas_.pset(end, plot_.YOrigin, colours::Blue);
        const Sample s = evaluate(end);
        if (s.error != 0) {
            ierr_ = s.error;
            continue;
        }
        canvas_.lineTo(end, clampToWindow(s.y), colours::Blue);
    }
}

void GraphDrawing::DrawAxes()
{
    canvas_.line(plot_.WindowLX, plot_.YOrigin, plot_.WindowGX, plot_.YOrigin, colours::Red);
    canvas_.line(plot_.XOrigin, plot_.WindowLY, plot_.XOrigin, plot_.WindowGY, colours::Red);
}

void GraphDrawing::MarkOrigin()
{
    const float radius = single((static_cast<double>(plot_.WindowGX) - plot_.WindowLX) / 100);
    canvas_.circle(0, 0, radius, colours::Magenta, colours::Red, true);
}

void GraphDrawing::LabelWindow()
{
    canvas_.setForeColour(colours::WindowLabel);
    const std::optional<LabelFont> previous = canvas_.selectFont(LabelFont{20, 16, false});
    const float midX = single((static_cast<double>(plot_.WindowLX) + plot_.WindowGX) / 2);
    const float midY = single((static_cast<double>(plot_.WindowLY) + plot_.WindowGY) / 2);
    const double px = work_.PixelX;
    const double py = work_.PixelY;
    const auto halfLength = [](float v) { return NumberText(v).size() / 2.0 + 0.5; };

    // Bottom and top, centred across the window.
    canvas_.moveTo(midX - halfLength(plot_.WindowLY) * 16 * px, plot_.WindowLY + 20 * py + py);
    canvas_.print(windowLabelText(plot_.WindowLY));
    canvas_.moveTo(midX - halfLength(plot_.WindowGY) * 16 * px, plot_.WindowGY + 20 * py * 0.2);
    canvas_.print(windowLabelText(plot_.WindowGY));

    // Left and right, reading downwards, centred along the window's height.
    canvas_.selectFont(LabelFont{20, 16, true});
    canvas_.moveTo(plot_.WindowLX + 20 * px + 2 * px, midY + halfLength(plot_.WindowLX) * 16 * py);
    canvas_.print(windowLabelText(plot_.WindowLX));
    canvas_.moveTo(plot_.WindowGX + 20 * px * 0.2, midY + halfLength(plot_.WindowGX) * 16 * py);
    canvas_.print(windowLabelText(plot_.WindowGX));

    canvas_.selectFont(previous);
}

void GraphDrawing::LabelDivisions(const QString& divxText, const QString& divyText)
{
    // A label step is a whole multiple of the division, at least one pixel. A
    // negative division counts by its size; a zero one gets no labels.
    const auto labelStep = [](float div, float pixel) -> float {
        const float d = std::fabs(div);
        if (d == 0.0f)
            return 0.0f;
        if (d < pixel)
            return single(std::nearbyint(static_cast<double>(pixel) / d + 0.5) * d);
        return d;
    };
    work_.DivStepX = labelStep(plot_.DivX, work_.PixelX);
    work_.DivStepY = labelStep(plot_.DivY, work_.PixelY);
    canvas_.setForeColour(colours::Black);
    const std::optional<LabelFont> previous = canvas_.selectFont(LabelFont{7, 5, false});
    const float lx = plot_.WindowLX;
    const float gx = plot_.WindowGX;
    const float ly = plot_.WindowLY;
    const float gy = plot_.WindowGY;
    const double px = work_.PixelX;
    const double py = work_.PixelY;
    const bool labelX = work_.DivStepX > 0 && std::isfinite(work_.DivStepX);
    const bool labelY = work_.DivStepY > 0 && std::isfinite(work_.DivStepY);
    work_.LabelEveryX = labelX ? labelEvery(work_.PixelX, work_.DivStepX) : 0;
    work_.LabelEveryY = labelY ? labelEvery(work_.PixelY, work_.DivStepY) : 0;

    QString format;
    const auto labelText = [&](float v) { return FormatLabel(v, format).trimmed(); };

    // One direction of one axis: each LabelEvery-th division mark from the
    // origin towards `end` that lies inside the window gets its label, moved
    // to where `place` puts it.
    const auto labelMarks = [&](float origin, float step, float end, float from, int every, const auto& place) {
        CountedLoop(single(static_cast<double>(origin) + step), end, step, from, [&](float v, long long pass) {
            if (pass % every != 0 || !(step > 0 ? v >= from : v <= from))
                return;
            const QString t = labelText(v);
            place(v, t);
            canvas_.print(t);
        });
    };

    format = LabelPattern(divyText);
    if (labelY) {
        const double textY = 7 * py / 2;
        labelMarks(plot_.YOrigin, work_.DivStepY, gy, ly, work_.LabelEveryY, [&](float y, const QString&) {
            canvas_.moveTo(plot_.XOrigin + 1.5 * 5 * px, y + textY);
        });
        labelMarks(plot_.YOrigin, -work_.DivStepY, ly, gy, work_.LabelEveryY,
                   [&](float y, const QString& t) { canvas_.moveTo(plot_.XOrigin - (t.size() + 1.5) * 5 * px, y + textY); });
    }

    canvas_.selectFont(LabelFont{7, 5, true});
    format = LabelPattern(divxText);
    if (labelX) {
        const double textX = 7 * px / 2 + 2 * px;
        labelMarks(plot_.XOrigin, work_.DivStepX, gx, lx, work_.LabelEveryX, [&](float x, const QString&) {
            canvas_.moveTo(x + textX, plot_.YOrigin - 5 * 1.5 * py);
        });
        labelMarks(plot_.XOrigin, -work_.DivStepX, lx, gx, work_.LabelEveryX,
                   [&](float x, const QString& t) { canvas_.moveTo(x + textX, plot_.YOrigin + (t.size() + 1.5) * 5 * py); });
    }

    canvas_.selectFont(previous);
}

void GraphDrawing::PlotCurve()
{
    const float gx = plot_.WindowGX;
    const double step = work_.SampleStep;
    if (!(step > 0) || !std::isfinite(step))
        return;
    // One sample per step across the window, and a few beyond.
    const double expected = (static_cast<double>(gx) - plot_.WindowLX) / step + 16;
    const long long maxSamples =
        std::isfinite(expected) ? std::min<long long>(kMaxIterations, static_cast<long long>(expected))
                                : kMaxIterations;

    double x = static_cast<double>(plot_.WindowLX) - step;
    // The error trap: the math object's number wins over the raised one.
    const auto trap = [&](int number) {
        ierr_ = number;
        if (const int script = takeScriptError_ ? takeScriptError_() : 0)
            ierr_ = script;
        // A recoverable failure left of the right edge skips the sample and
        // starts a new run; anything else ends the curve.
        return isRecoverableEvalError(ierr_) && single(x) < gx;
    };

    if (!evaluator_)
        samples_ = KnownValues(series_, study_.DerivOrder,
                               walkedAbscissas(x + step, step, maxSamples, [](double) { return true; }));
    bool startRun = true;
    for (long long i = 0; i < maxSamples; ++i) {
        if (startRun)
            ierr_ = 0;
        x = x + step;
        const Sample s = evaluate(x);
        if (s.error != 0) {
            if (!trap(s.error))
                break;
            startRun = true;
            continue;
        }
        if (startRun) {
            canvas_.pset(x, s.y);
            if (single(x) == gx)
                break;
            startRun = false;
            continue;
        }
        CurveSegmentTo(x, s.y);
        if (!(single(x) <= gx))
            break;
    }
}

void GraphDrawing::CurveSegmentTo(double x, double y)
{
    const float y0 = single(canvas_.currentY());
    const float ys = single(y);
    const float gy = plot_.WindowGY;
    const float ly = plot_.WindowLY;
    if ((ys > gy && y0 > gy) || (ys < ly && y0 < ly))
        canvas_.moveTo(x, y);
    else
        canvas_.lineTo(x, y, colours::Black);
}

} // namespace vendrak
