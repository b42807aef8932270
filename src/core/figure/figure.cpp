#include "core/figure/figure.h"

#include "core/series/block_eval.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace vendrak {

namespace {

constexpr int kMaxTicks = 10000;
// Samples of a curve: two a unit of width, enough for a smooth line on any
// device, and never more than this.
constexpr int kMaxSamples = 8000;
// A series of millions of terms gets fewer samples, down to this many, so
// that one curve costs about this many terms summed: seconds at most.
constexpr int kFewestSamples = 200;
constexpr double kTermBudget = 4e8;
const QChar kMinus(0x2212);

QFont scaledFont(const QFont& base, double factor, bool bold = false, bool italic = false)
{
    QFont f(base);
    if (base.pixelSize() > 0)
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(base.pixelSize() * factor))));
    else
        f.setPointSizeF(base.pointSizeF() * factor);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QFont titleFont(const QFont& base) { return scaledFont(base, 1.2, true); }
QFont axisFont(const QFont& base) { return scaledFont(base, 1.1, false, true); }

std::optional<double> valueAt(const Series& series, int order, double x)
{
    try {
        const double y = EvalSelected(series, order, x);
        if (std::isfinite(y))
            return y;
    } catch (const Error&) {
    }
    return std::nullopt;
}

// The abscissas of `count` samples across [low, high], both ends included.
int sampleCount(const Series& series, double wanted)
{
    const double affordable = kTermBudget / std::max(1.0, static_cast<double>(series.Coeffs.size()));
    return static_cast<int>(std::clamp(std::min(wanted, affordable), static_cast<double>(kFewestSamples),
                                       static_cast<double>(kMaxSamples)));
}

double sampleAt(double low, double high, int i, int count)
{
    return i == count - 1 ? high : low + (high - low) * i / (count - 1);
}

// The values at the `count` samples across [low, high], each as valueAt
// gives it.
std::vector<std::optional<double>> valuesAt(const Series& series, int order, double low, double high, int count)
{
    std::vector<double> xs(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        xs[static_cast<std::size_t>(i)] = sampleAt(low, high, i, count);
    const KnownValues known(series, order, xs);
    std::vector<std::optional<double>> ys(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i)
        ys[i] = known[i] ? known[i] : valueAt(series, order, xs[i]);
    return ys;
}

struct Mapping {
    QRectF plot;
    double xLow, xHigh, yLow, yHigh;
    double x(double v) const { return plot.left() + (v - xLow) / (xHigh - xLow) * plot.width(); }
    // Far outside the frame a point is held far away, so that no device
    // meets a coordinate it cannot hold; the line towards it still crosses
    // the frame where the true one does, to well below a pixel.
    double y(double v) const
    {
        const double p = plot.bottom() - (v - yLow) / (yHigh - yLow) * plot.height();
        return std::clamp(p, plot.top() - 1e9, plot.bottom() + 1e9);
    }
    // Held inside the frame.
    double yInside(double v) const { return std::clamp(y(v), plot.top(), plot.bottom()); }
};

double largestOf(const std::vector<double>& ticks)
{
    double m = 0;
    for (double t : ticks)
        m = std::max(m, std::abs(t));
    return m;
}

// Chooses the step so that the texts of neighbouring ticks keep `room` apart
// (what one text needs along the axis, given the texts), and a large figure
// still has no more than about `most` ticks: a reader wants a scale, not a
// ruler.
template <class Room>
double chooseStep(double low, double high, double pixels, double least, double most, Room room)
{
    const double span = high - low;
    least = std::max(least, pixels / most);
    double step = NiceStepAtLeast(span * least / std::max(pixels, 1.0));
    for (int i = 0; i < 64; ++i) {
        const std::vector<double> ticks = TickValues(low, high, step);
        QStringList texts;
        for (double t : ticks)
            texts << TickText(t, step, largestOf(ticks));
        if (step / span * pixels >= std::max(least, room(texts)))
            break;
        step = NiceStepAtLeast(step * 1.000001);
    }
    return step;
}

} // namespace

double NiceStepAtLeast(double least)
{
    if (!(least > 0) || !std::isfinite(least))
        return 1;
    const double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (double m : {1.0, 2.0, 5.0, 10.0, 20.0}) {
        const double step = m * decade;
        if (step >= least * (1 - 1e-12))
            return step;
    }
    return 20 * decade;
}

std::vector<double> TickValues(double low, double high, double step)
{
    std::vector<double> out;
    if (!(step > 0) || !std::isfinite(low) || !std::isfinite(high))
        return out;
    const double first = std::ceil(low / step - 1e-9), last = std::floor(high / step + 1e-9);
    if (!std::isfinite(first) || !std::isfinite(last) || last - first > kMaxTicks)
        return out;
    for (double k = first; k <= last; ++k)
        out.push_back(std::abs(k) < 0.5 ? 0.0 : k * step);
    return out;
}

QString TickText(double value, double step, double largest)
{
    if (value == 0)
        return QStringLiteral("0");
    const int stepDecade = static_cast<int>(std::floor(std::log10(step) + 1e-9));
    const int valueDecade = static_cast<int>(std::floor(std::log10(std::abs(value)) + 1e-9));
    const int axisDecade = static_cast<int>(std::floor(std::log10(std::max(std::abs(largest), std::abs(value))) + 1e-9));
    QString text;
    if (axisDecade >= 6 || axisDecade <= -5) {
        text = QString::number(value, 'e', std::max(0, valueDecade - stepDecade));
        // 1.5e+07 reads as 1.5e7.
        text.replace(QStringLiteral("e+"), QStringLiteral("e"));
        const qsizetype e = text.indexOf(u'e');
        while (e >= 0 && text.size() > e + 2 && (text[e + 1] == u'0' || (text[e + 1] == u'-' && text[e + 2] == u'0'))) {
            text.remove(text[e + 1] == u'0' ? e + 1 : e + 2, 1);
        }
    } else {
        text = QString::number(value, 'f', std::max(0, -stepDecade));
    }
    text.replace(u'-', kMinus);
    return text;
}

QString OrderName(int order)
{
    static const QString primes[] = {QString(), QStringLiteral("\u2032"), QStringLiteral("\u2033"),
                                     QStringLiteral("\u2034")};
    if (order >= 0 && order <= 3)
        return QStringLiteral("f") + primes[order];
    static const char16_t superscripts[] = u"\u2070\u00b9\u00b2\u00b3\u2074\u2075\u2076\u2077\u2078\u2079";
    return QStringLiteral("f\u207d") + QChar(superscripts[order % 10]) + QStringLiteral("\u207e");
}

void FitYRange(const FigureInput& input, double& low, double& high)
{
    low = input.yLow;
    high = input.yHigh;
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    const int fitSamples = sampleCount(input.series, 1001);
    for (int order : input.orders)
        for (const std::optional<double>& y : valuesAt(input.series, order, input.xLow, input.xHigh, fitSamples))
            if (y) {
                lo = std::min(lo, *y);
                hi = std::max(hi, *y);
            }
    if (!(lo <= hi))
        return;
    double margin = (hi - lo) * 0.05;
    // A flat curve still gets a band around it.
    if (!(margin > std::max(std::abs(lo), std::abs(hi)) * 1e-9))
        margin = std::max(std::abs(lo), std::abs(hi)) * 0.1 + (lo == 0 && hi == 0 ? 1 : 0);
    if (std::isfinite(lo - margin) && std::isfinite(hi + margin)) {
        low = lo - margin;
        high = hi + margin;
    }
}

QString FigureProblem(const FigureInput& input)
{
    for (double v : {input.xLow, input.xHigh, input.yLow, input.yHigh})
        if (!std::isfinite(v))
            return QStringLiteral("The plot window holds a number that cannot be drawn.");
    if (!(input.xHigh > input.xLow) || (!input.fitY && !(input.yHigh > input.yLow)))
        return QStringLiteral("Each upper limit of the plot window must be greater than its lower limit.");
    if (!std::isfinite(input.xHigh - input.xLow) || !std::isfinite(input.yHigh - input.yLow))
        return QStringLiteral("The plot window is too large to be drawn.");
    for (std::size_t i = 0; i < input.orders.size(); ++i) {
        const int order = input.orders[i];
        if (order < 0 || order > kFigureMaxOrder)
            return QStringLiteral("There is no curve of order %1: the orders go from 0 to %2.").arg(order).arg(kFigureMaxOrder);
        if (std::count(input.orders.begin(), input.orders.begin() + static_cast<std::ptrdiff_t>(i), order))
            return QStringLiteral("The curve of order %1 is asked for twice.").arg(order);
    }
    return {};
}

FigureLayout LayoutFigure(const FigureInput& input, const QSizeF& size, const QFont& font)
{
    FigureLayout L;
    L.problem = FigureProblem(input);
    L.plot = QRectF(QPointF(0, 0), size);
    if (!L.problem.isEmpty())
        return L;
    L.xLow = input.xLow;
    L.xHigh = input.xHigh;
    if (input.fitY)
        FitYRange(input, L.yLow, L.yHigh);
    else {
        L.yLow = input.yLow;
        L.yHigh = input.yHigh;
    }
    // A window narrower than the doubles can tell apart is no range to draw.
    if (!(L.yHigh > L.yLow) || (L.xHigh - L.xLow) <= std::abs(L.xLow) * 1e-14 ||
        (L.yHigh - L.yLow) <= std::abs(L.yLow) * 1e-14) {
        L.problem = QStringLiteral("The plot window is too small to be drawn.");
        return L;
    }

    const QFontMetricsF fm(font), tfm(titleFont(font)), afm(axisFont(font));
    const double lineH = fm.height(), em = fm.horizontalAdvance(u'M'), pad = 0.6 * lineH, tick = 0.4 * lineH;
    const double W = size.width(), H = size.height();
    const double titleH = input.title.isEmpty() ? 0 : tfm.height() + 0.4 * pad;
    const double top = pad + titleH + 0.5 * lineH; // the top y text sticks out half a line
    const double bottom = tick + 0.3 * pad + lineH + 0.3 * pad + afm.height() + pad;
    const double plotH = std::max(1.0, H - top - bottom);

    L.yStep = chooseStep(L.yLow, L.yHigh, plotH, 1.6 * lineH, 10, [&](const QStringList&) { return 1.6 * lineH; });
    L.yTicks = TickValues(L.yLow, L.yHigh, L.yStep);
    double yTextW = 0;
    for (double t : L.yTicks) {
        L.yTexts << TickText(t, L.yStep, largestOf(L.yTicks));
        yTextW = std::max(yTextW, fm.horizontalAdvance(L.yTexts.back()));
    }
    const double yTitleW = afm.horizontalAdvance(QStringLiteral("y"));
    const double leftForY = pad + yTitleW + pad + yTextW + 0.3 * pad + tick;

    // The outer x texts stand half out of the frame: the margins make room
    // for the widest one, and the step follows the width that is left.
    auto xRoom = [&](const QStringList& texts) {
        double w = 0;
        for (const QString& t : texts)
            w = std::max(w, fm.horizontalAdvance(t));
        return w + 1.5 * em;
    };
    double left = leftForY, right = pad;
    for (int pass = 0; pass < 3; ++pass) {
        const double plotW = std::max(1.0, W - left - right);
        L.xStep = chooseStep(L.xLow, L.xHigh, plotW, 3 * em, 12, xRoom);
        L.xTicks = TickValues(L.xLow, L.xHigh, L.xStep);
        L.xTexts.clear();
        double xTextW = 0;
        for (double t : L.xTicks) {
            L.xTexts << TickText(t, L.xStep, largestOf(L.xTicks));
            xTextW = std::max(xTextW, fm.horizontalAdvance(L.xTexts.back()));
        }
        right = std::max(pad, xTextW / 2 + 0.3 * pad);
        left = std::max(leftForY, xTextW / 2 + 0.3 * pad);
    }
    L.plot = QRectF(left, top, std::max(1.0, W - left - right), plotH);
    const Mapping map{L.plot, L.xLow, L.xHigh, L.yLow, L.yHigh};

    // Texts that would leave the figure (a step chosen for a slightly wider
    // frame, a size too small for any text) are left out.
    const QRectF figure(QPointF(0, 0), size);
    auto keep = [&](std::vector<double>& ticks, QStringList& texts, std::vector<QRectF>& rects) {
        std::vector<double> t2;
        QStringList x2;
        for (std::size_t i = 0; i < ticks.size(); ++i)
            if (figure.contains(rects[i])) {
                t2.push_back(ticks[i]);
                x2 << texts[static_cast<qsizetype>(i)];
            }
        rects.erase(std::remove_if(rects.begin(), rects.end(), [&](const QRectF& r) { return !figure.contains(r); }),
                    rects.end());
        ticks = t2;
        texts = x2;
    };
    for (std::size_t i = 0; i < L.xTicks.size(); ++i) {
        const double w = fm.horizontalAdvance(L.xTexts[static_cast<qsizetype>(i)]);
        L.xTextRects.emplace_back(map.x(L.xTicks[i]) - w / 2, L.plot.bottom() + tick + 0.3 * pad, w, lineH);
    }
    keep(L.xTicks, L.xTexts, L.xTextRects);
    for (std::size_t i = 0; i < L.yTicks.size(); ++i) {
        const double w = fm.horizontalAdvance(L.yTexts[static_cast<qsizetype>(i)]);
        L.yTextRects.emplace_back(L.plot.left() - tick - 0.3 * pad - w, map.y(L.yTicks[i]) - lineH / 2, w, lineH);
    }
    keep(L.yTicks, L.yTexts, L.yTextRects);

    const double xTitleW = afm.horizontalAdvance(QStringLiteral("x"));
    L.xTitleRect = QRectF(L.plot.center().x() - xTitleW / 2, L.plot.bottom() + tick + 0.6 * pad + lineH, xTitleW,
                          afm.height());
    L.yTitleRect = QRectF(pad, L.plot.center().y() - afm.height() / 2, yTitleW, afm.height());
    if (!input.title.isEmpty()) {
        L.title = tfm.elidedText(input.title, Qt::ElideRight, std::max(0.0, W - 2 * pad));
        const double w = tfm.horizontalAdvance(L.title);
        L.titleRect = QRectF((W - w) / 2, pad, w, tfm.height());
    }
    return L;
}

// ---------------------------------------------------------------- styles

FigureStyle FigureStyle::Print(qreal fontPixels)
{
    FigureStyle s;
    s.background = Qt::white;
    s.text = s.frame = s.mark = s.provenMark = s.interval = Qt::black;
    s.grid = QColor(0, 0, 0, 40);
    s.shade = QColor(0, 0, 0, 38);
    s.curves = {Qt::black};
    s.font.setPixelSize(std::max(1, static_cast<int>(std::lround(fontPixels))));
    s.line = fontPixels / 12;
    return s;
}

FigureStyle FigureStyle::Screen(const QPalette& palette, const QFont& font)
{
    FigureStyle s;
    s.background = palette.color(QPalette::Base);
    s.text = s.frame = s.mark = s.provenMark = palette.color(QPalette::Text);
    s.grid = palette.color(QPalette::Text);
    s.grid.setAlphaF(0.14f);
    s.interval = palette.color(QPalette::Link);
    const QColor accent = palette.color(QPalette::Highlight);
    s.shade = accent;
    s.shade.setAlphaF(0.28f);
    // The curves take the accent and turn round the colour wheel from it.
    float h = 0, sat = 0, v = 0;
    accent.getHsvF(&h, &sat, &v);
    if (h < 0)
        h = 0.6f;
    for (int i = 0; i <= kFigureMaxOrder; ++i)
        s.curves.push_back(QColor::fromHsvF(std::fmod(h + 0.37f * static_cast<float>(i), 1.0f), std::max(sat, 0.65f),
                                            std::clamp(v, 0.55f, 0.85f)));
    s.font = font;
    s.line = std::max(1.0, QFontMetricsF(font).height() / 16);
    return s;
}

// ---------------------------------------------------------------- painting

namespace {

// The dash pattern of the i-th curve: solid first, then ever more broken.
Qt::PenStyle curveDash(std::size_t i)
{
    static const Qt::PenStyle dashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::DashDotDotLine};
    return dashes[i % std::size(dashes)];
}

QPen curvePen(const FigureStyle& style, std::size_t i)
{
    QPen pen(style.curves[i % style.curves.size()], style.line * (i < 5 ? 1.6 : 2.6));
    pen.setStyle(curveDash(i));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void drawMarkShape(QPainter& p, FigureMark::Kind kind, QPointF at, double r)
{
    if (kind == FigureMark::Kind::Root) {
        p.drawEllipse(at, r, r);
        return;
    }
    const double s = kind == FigureMark::Kind::Maximum ? -1 : 1;
    const QPointF tri[] = {at + QPointF(0, s * 1.2 * r), at + QPointF(-1.1 * r, -s * 0.8 * r),
                           at + QPointF(1.1 * r, -s * 0.8 * r)};
    p.drawPolygon(tri, 3);
}

void setMarkLook(QPainter& p, const FigureStyle& style, bool proven)
{
    p.setPen(QPen(proven ? style.provenMark : style.mark, style.line * 1.2));
    p.setBrush(proven ? style.provenMark : style.background);
}

// The part of the segment a-b inside `r` (Liang and Barsky); false when
// none of it is. The figure clips its lines itself: not every device (SVG)
// keeps a clip.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF from = a;
    a = from + t0 * QPointF(dx, dy);
    b = from + t1 * QPointF(dx, dy);
    return true;
}

// The curve of one order across [from, to] as runs of samples, cut at the
// frame; a failing sample ends a run.
QPainterPath curvePath(const Series& series, int order, const Mapping& map, double from, double to, int samples)
{
    QPainterPath path;
    QPointF previous, drawnTo;
    bool hasPrevious = false, hasDrawn = false;
    const std::vector<std::optional<double>> ys = valuesAt(series, order, from, to, samples);
    for (int i = 0; i < samples; ++i) {
        const double x = sampleAt(from, to, i, samples);
        const std::optional<double>& y = ys[static_cast<std::size_t>(i)];
        if (!y) {
            hasPrevious = hasDrawn = false;
            continue;
        }
        const QPointF at(map.x(x), map.y(*y));
        QPointF a = hasPrevious ? previous : at, b = at;
        if (clipSegment(a, b, map.plot)) {
            if (!hasDrawn || drawnTo.x() != a.x() || drawnTo.y() != a.y())
                path.moveTo(a);
            path.lineTo(b);
            drawnTo = b;
            hasDrawn = true;
        } else {
            hasDrawn = false;
        }
        previous = at;
        hasPrevious = true;
    }
    return path;
}

// The area between the function and the x-axis (or the frame's edge nearest
// it) over [from, to], inside the frame: one path whatever its pieces.
QPainterPath shadePath(const Series& series, const Mapping& map, double from, double to, int samples)
{
    QPainterPath path;
    const double base = map.yInside(0);
    bool inRun = false;
    double lastX = 0;
    auto endRun = [&] {
        if (inRun) {
            path.lineTo(lastX, base);
            path.closeSubpath();
        }
        inRun = false;
    };
    const std::vector<std::optional<double>> ys = valuesAt(series, 0, from, to, samples);
    for (int i = 0; i < samples; ++i) {
        const double x = sampleAt(from, to, i, samples);
        const std::optional<double>& y = ys[static_cast<std::size_t>(i)];
        if (!y) {
            endRun();
            continue;
        }
        const QPointF at(map.x(x), map.yInside(*y));
        if (!inRun)
            path.moveTo(at.x(), base);
        path.lineTo(at);
        inRun = true;
        lastX = at.x();
    }
    endRun();
    return path;
}

struct LegendEntry {
    enum class Look { Curve, Root, Extremum, Proven, Interval } look;
    QString text;
    std::size_t curve = 0;
};

// The legend goes in the corner of the frame where it hides the fewest
// points of the curves and marks (`drawn`), the top right when all are alike.
void drawLegend(QPainter& p, const std::vector<LegendEntry>& entries, const FigureLayout& L, const FigureStyle& style,
                const std::vector<QPointF>& drawn)
{
    if (entries.empty())
        return;
    const QFontMetricsF fm(style.font);
    const double lineH = fm.height(), pad = 0.4 * lineH, sample = 2.2 * lineH;
    double textW = 0;
    for (const LegendEntry& e : entries)
        textW = std::max(textW, fm.horizontalAdvance(e.text));
    const double colW = sample + 0.4 * lineH + textW + pad;
    const int rowsFit = std::max(1, static_cast<int>((L.plot.height() - 3 * pad) / lineH));
    const int columns = static_cast<int>((entries.size() + static_cast<std::size_t>(rowsFit) - 1) / static_cast<std::size_t>(rowsFit));
    const int rows = static_cast<int>((entries.size() + static_cast<std::size_t>(columns) - 1) / static_cast<std::size_t>(columns));
    const QSizeF boxSize(columns * colW + pad, rows * lineH + pad);
    QRectF box;
    long fewest = -1;
    for (const QPointF corner : {L.plot.topRight() + QPointF(-pad - boxSize.width(), pad),
                                 L.plot.topLeft() + QPointF(pad, pad),
                                 L.plot.bottomRight() + QPointF(-pad - boxSize.width(), -pad - boxSize.height()),
                                 L.plot.bottomLeft() + QPointF(pad, -pad - boxSize.height())}) {
        const QRectF candidate(corner, boxSize);
        const long hidden = std::count_if(drawn.begin(), drawn.end(), [&](const QPointF& q) { return candidate.contains(q); });
        if (fewest < 0 || hidden < fewest) {
            fewest = hidden;
            box = candidate;
        }
    }
    QColor fill = style.background;
    fill.setAlphaF(0.88f);
    p.setPen(QPen(style.frame, style.line * 0.6));
    p.setBrush(fill);
    p.drawRect(box);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LegendEntry& e = entries[i];
        const double x = box.left() + pad + static_cast<double>(i / static_cast<std::size_t>(rows)) * colW;
        const double y = box.top() + pad / 2 + static_cast<double>(i % static_cast<std::size_t>(rows)) * lineH + lineH / 2;
        const QPointF mid(x + sample / 2, y);
        switch (e.look) {
        case LegendEntry::Look::Curve:
            p.setPen(curvePen(style, e.curve));
            p.drawLine(QPointF(x, y), QPointF(x + sample, y));
            break;
        case LegendEntry::Look::Interval: {
            QPen pen(style.interval, style.line);
            pen.setStyle(Qt::DashLine);
            p.setPen(pen);
            p.drawLine(QPointF(mid.x(), y - 0.4 * lineH), QPointF(mid.x(), y + 0.4 * lineH));
            break;
        }
        case LegendEntry::Look::Root:
        case LegendEntry::Look::Proven:
            setMarkLook(p, style, e.look == LegendEntry::Look::Proven);
            drawMarkShape(p, FigureMark::Kind::Root, mid, 0.25 * lineH);
            break;
        case LegendEntry::Look::Extremum:
            setMarkLook(p, style, false);
            drawMarkShape(p, FigureMark::Kind::Maximum, mid, 0.25 * lineH);
            break;
        }
        p.setPen(style.text);
        p.setBrush(Qt::NoBrush);
        p.drawText(QRectF(x + sample + 0.4 * lineH, y - lineH / 2, textW, lineH), Qt::AlignLeft | Qt::AlignVCenter,
                   e.text);
    }
}

} // namespace

void PaintFigure(QPainter& p, const FigureInput& input, const QSizeF& size, const FigureStyle& style)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(QRectF(QPointF(0, 0), size), style.background);
    p.setFont(style.font);
    const FigureLayout L = LayoutFigure(input, size, style.font);
    if (!L.problem.isEmpty()) {
        p.setPen(style.text);
        p.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter | Qt::TextWordWrap, L.problem);
        p.restore();
        return;
    }
    const Mapping map{L.plot, L.xLow, L.xHigh, L.yLow, L.yHigh};
    const QFontMetricsF fm(style.font);
    const double tick = 0.4 * fm.height();
    const int samples = sampleCount(input.series, L.plot.width() * 2);

    // Grid, one path for all its lines.
    QPainterPath grid;
    for (double t : L.xTicks) {
        grid.moveTo(map.x(t), L.plot.top());
        grid.lineTo(map.x(t), L.plot.bottom());
    }
    for (double t : L.yTicks) {
        grid.moveTo(L.plot.left(), map.y(t));
        grid.lineTo(L.plot.right(), map.y(t));
    }
    p.setPen(QPen(style.grid, style.line * 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawPath(grid);

    p.save();
    p.setClipRect(L.plot);
    const bool fDrawn = std::find(input.orders.begin(), input.orders.end(), 0) != input.orders.end();
    const double a = std::max(input.intervalLow, L.xLow), b = std::min(input.intervalHigh, L.xHigh);
    const bool intervalShown = input.hasInterval && a <= b;
    if (input.shade && fDrawn && intervalShown && a < b) {
        const int n = sampleCount(input.series, (map.x(b) - map.x(a)) * 2);
        p.fillPath(shadePath(input.series, map, a, b, n), style.shade);
    }
    // The axes through the origin, where they fall inside.
    QPainterPath axes;
    if (L.yLow < 0 && L.yHigh > 0) {
        axes.moveTo(L.plot.left(), map.y(0));
        axes.lineTo(L.plot.right(), map.y(0));
    }
    if (L.xLow < 0 && L.xHigh > 0) {
        axes.moveTo(map.x(0), L.plot.top());
        axes.lineTo(map.x(0), L.plot.bottom());
    }
    p.setPen(QPen(style.frame, style.line * 0.8));
    p.drawPath(axes);
    if (intervalShown) {
        QPen pen(style.interval, style.line);
        pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        QPainterPath ends;
        for (double x : {input.intervalLow, input.intervalHigh})
            if (x >= L.xLow && x <= L.xHigh) {
                ends.moveTo(map.x(x), L.plot.top());
                ends.lineTo(map.x(x), L.plot.bottom());
            }
        p.drawPath(ends);
    }
    std::vector<QPointF> drawn;
    for (std::size_t i = 0; i < input.orders.size(); ++i) {
        const QPainterPath curve = curvePath(input.series, input.orders[i], map, L.xLow, L.xHigh, samples);
        p.setPen(curvePen(style, i));
        p.drawPath(curve);
        for (int e = 0; e < curve.elementCount(); ++e)
            drawn.emplace_back(curve.elementAt(e));
    }
    bool anyRoot = false, anyExtremum = false, anyProven = false;
    if (fDrawn) {
        const double r = 0.3 * fm.height();
        for (const FigureMark& m : input.marks) {
            const std::optional<double> y =
                m.kind == FigureMark::Kind::Root ? std::optional<double>(0.0) : valueAt(input.series, 0, m.x);
            if (!y || m.x < L.xLow || m.x > L.xHigh || *y < L.yLow || *y > L.yHigh)
                continue;
            setMarkLook(p, style, m.proven);
            drawMarkShape(p, m.kind, QPointF(map.x(m.x), map.y(*y)), r);
            drawn.emplace_back(map.x(m.x), map.y(*y));
            (m.kind == FigureMark::Kind::Root ? anyRoot : anyExtremum) = true;
            anyProven = anyProven || m.proven;
        }
    }
    std::vector<LegendEntry> legend;
    for (std::size_t i = 0; i < input.orders.size(); ++i)
        legend.push_back({LegendEntry::Look::Curve, OrderName(input.orders[i]), i});
    if (anyRoot)
        legend.push_back({LegendEntry::Look::Root, QStringLiteral("roots"), 0});
    if (anyExtremum)
        legend.push_back({LegendEntry::Look::Extremum, QStringLiteral("extrema"), 0});
    if (anyProven)
        legend.push_back({LegendEntry::Look::Proven, QStringLiteral("filled: proven by Verify"), 0});
    if (intervalShown)
        legend.push_back({LegendEntry::Look::Interval, QStringLiteral("study interval"), 0});
    drawLegend(p, legend, L, style, drawn);
    p.restore();

    // Frame, ticks and texts on top.
    p.setPen(QPen(style.frame, style.line));
    p.setBrush(Qt::NoBrush);
    p.drawRect(L.plot);
    QPainterPath ticks;
    for (double t : L.xTicks) {
        ticks.moveTo(map.x(t), L.plot.bottom());
        ticks.lineTo(map.x(t), L.plot.bottom() + tick);
    }
    for (double t : L.yTicks) {
        ticks.moveTo(L.plot.left(), map.y(t));
        ticks.lineTo(L.plot.left() - tick, map.y(t));
    }
    p.drawPath(ticks);
    p.setPen(style.text);
    for (qsizetype i = 0; i < L.xTexts.size(); ++i)
        p.drawText(L.xTextRects[static_cast<std::size_t>(i)], Qt::AlignCenter, L.xTexts[i]);
    for (qsizetype i = 0; i < L.yTexts.size(); ++i)
        p.drawText(L.yTextRects[static_cast<std::size_t>(i)], Qt::AlignRight | Qt::AlignVCenter, L.yTexts[i]);
    p.setFont(axisFont(style.font));
    p.drawText(L.xTitleRect, Qt::AlignCenter, QStringLiteral("x"));
    p.drawText(L.yTitleRect, Qt::AlignCenter, QStringLiteral("y"));
    if (!L.title.isEmpty()) {
        p.setFont(titleFont(style.font));
        p.drawText(L.titleRect, Qt::AlignCenter, L.title);
    }
    p.restore();
}

} // namespace vendrak
