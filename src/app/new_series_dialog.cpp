#include "app/new_series_dialog.h"

#include "app/build_process.h"

#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

namespace vendrak {

// The expression and its series over the interval, so the user sees at once
// where the series stops following the function.
class SeriesPlot : public QWidget {
public:
    explicit SeriesPlot(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("picPreview"));
        setMinimumSize(320, 160);
    }

    void setCurves(std::optional<Expression> e, std::optional<Series> d, double a, double b)
    {
        expr_ = std::move(e);
        series_ = std::move(d);
        a_ = a;
        b_ = b;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        if (!expr_ || !series_ || !(a_ < b_))
            return;
        constexpr int kPoints = 240;
        std::vector<double> xs, fs, ss;
        double lo = INFINITY, hi = -INFINITY;
        for (int i = 0; i <= kPoints; ++i) {
            const double x = a_ + (b_ - a_) * i / kPoints;
            double s = NAN;
            try {
                s = EvalSeries(*series_, x);
            } catch (const Error&) {
            }
            const double f = (*expr_)(x);
            xs.push_back(x);
            fs.push_back(f);
            ss.push_back(s);
            // The function sets the scale; a diverging series must not
            // flatten it.
            if (std::isfinite(f)) {
                lo = std::min(lo, f);
                hi = std::max(hi, f);
            }
        }
        if (!(lo <= hi))
            return;
        const double pad = hi > lo ? (hi - lo) * 0.1 : 1.0;
        lo -= pad;
        hi += pad;
        auto draw = [&](const std::vector<double>& ys, QColor colour) {
            QPainterPath path;
            bool pen = false;
            for (size_t i = 0; i < xs.size(); ++i) {
                const double y = ys[i];
                if (!std::isfinite(y) || y < lo - 10 * (hi - lo) || y > hi + 10 * (hi - lo)) {
                    pen = false;
                    continue;
                }
                const QPointF pt((xs[i] - a_) / (b_ - a_) * (width() - 1), (hi - y) / (hi - lo) * (height() - 1));
                if (pen)
                    path.lineTo(pt);
                else
                    path.moveTo(pt);
                pen = true;
            }
            p.setPen(QPen(colour, 1.5));
            p.drawPath(path);
        };
        p.setRenderHint(QPainter::Antialiasing);
        p.setClipRect(rect());
        const QColor function(30, 90, 200), series(210, 60, 40);
        draw(fs, function);
        draw(ss, series);
        // Which curve is which, in the corner.
        p.setRenderHint(QPainter::Antialiasing, false);
        const int line = p.fontMetrics().height();
        p.setPen(function);
        p.drawText(6, line, QStringLiteral("expression"));
        p.setPen(series);
        p.drawText(6, 2 * line, QStringLiteral("series"));
    }

private:
    std::optional<Expression> expr_;
    std::optional<Series> series_;
    double a_ = 0, b_ = 0;
};

namespace {

double numberField(const QLineEdit* e, const QString& what, std::optional<double> empty = std::nullopt)
{
    const QString t = e->text().trimmed();
    if (t.isEmpty() && empty)
        return *empty;
    try {
        return ConstantValue(t); // pi/2 as well as 1.5707963267949
    } catch (const Error& e) {
        throw Error::build(QStringLiteral("%1 \"%2\" is not a number: %3").arg(what, t, e.message()));
    }
}

} // namespace

NewSeriesDialog::NewSeriesDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNewSeries"));
    setWindowTitle(QStringLiteral("New series from expression"));

    expression_ = new QLineEdit(this);
    expression_->setObjectName(QStringLiteral("txtExpression"));
    expression_->setPlaceholderText(QStringLiteral("e.g. exp(sin(x))/(1+x^2)"));
    expression_->setToolTip(QStringLiteral("An expression in x. Vendrak knows: %1").arg(KnownNames()));
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("cboKind"));
    kind_->addItems({QStringLiteral("Taylor series"), QStringLiteral("Fourier series")});
    centre_ = new QLineEdit(QStringLiteral("0"), this);
    centre_->setObjectName(QStringLiteral("txtCentre"));
    termsLabel_ = new QLabel(this);
    terms_ = new QLineEdit(QStringLiteral("20"), this);
    terms_->setObjectName(QStringLiteral("txtTerms"));
    period_ = new QLineEdit(QStringLiteral("*"), this);
    period_->setObjectName(QStringLiteral("txtPeriod"));
    period_->setToolTip(QStringLiteral("A positive number or constant expression such as 2*pi, or * for 2π"));
    lower_ = new QLineEdit(this);
    lower_->setObjectName(QStringLiteral("txtLower"));
    upper_ = new QLineEdit(this);
    upper_->setObjectName(QStringLiteral("txtUpper"));
    lower_->setPlaceholderText(QStringLiteral("default"));
    upper_->setPlaceholderText(QStringLiteral("default"));
    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("lblPreview"));
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    preview_->setWordWrap(true);
    plot_ = new SeriesPlot(this);
    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("lblError"));
    error_->setStyleSheet(QStringLiteral("color: #b00000"));
    error_->setWordWrap(true);

    auto* interval = new QHBoxLayout;
    interval->addWidget(lower_);
    interval->addWidget(new QLabel(QStringLiteral("to"), this));
    interval->addWidget(upper_);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("f(x) ="), expression_);
    form->addRow(QStringLiteral("Kind:"), kind_);
    form->addRow(QStringLiteral("Centre:"), centre_);
    form->addRow(termsLabel_, terms_);
    form->addRow(QStringLiteral("Period:"), period_);
    form->addRow(QStringLiteral("Interval:"), interval);

    auto* buttons = new QDialogButtonBox(this);
    createButton_ = buttons->addButton(QStringLiteral("Create"), QDialogButtonBox::AcceptRole);
    createButton_->setObjectName(QStringLiteral("cmdCreate"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    // Create validates and saves first; accepting is its last step.
    connect(createButton_, &QPushButton::clicked, this, &NewSeriesDialog::create);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(preview_);
    layout->addWidget(plot_, 1);
    layout->addWidget(error_);
    layout->addWidget(buttons);

    debounce_ = new QTimer(this);
    debounce_->setSingleShot(true);
    debounce_->setInterval(200);
    connect(debounce_, &QTimer::timeout, this, &NewSeriesDialog::refreshPreview);
    for (QLineEdit* e : {expression_, centre_, terms_, period_, lower_, upper_})
        connect(e, &QLineEdit::textChanged, debounce_, qOverload<>(&QTimer::start));
    connect(kind_, &QComboBox::currentIndexChanged, this, &NewSeriesDialog::kindChanged);
    // A Create that is over quickly shows no progress at all.
    progressDelay_ = new QTimer(this);
    progressDelay_->setSingleShot(true);
    progressDelay_->setInterval(500);
    connect(progressDelay_, &QTimer::timeout, this, &NewSeriesDialog::showProgress);
    kindChanged();
}

void NewSeriesDialog::kindChanged()
{
    const bool fourier = kind_->currentIndex() == 1;
    termsLabel_->setText(fourier ? QStringLiteral("Harmonics:") : QStringLiteral("Degree:"));
    period_->setEnabled(fourier);
    debounce_->start();
}

bool NewSeriesDialog::Request::operator==(const Request& o) const
{
    return fourier == o.fourier && expression == o.expression && period == o.period && centre == o.centre &&
           terms == o.terms && interval.has_value() == o.interval.has_value() &&
           (!interval || (interval->lower == o.interval->lower && interval->upper == o.interval->upper));
}

NewSeriesDialog::Request NewSeriesDialog::request() const
{
    Request r;
    r.fourier = kind_->currentIndex() == 1;
    r.expression = expression_->text();
    r.period = period_->text();
    r.centre = numberField(centre_, QStringLiteral("the centre"), 0.0);
    const QString termsWhat = r.fourier ? QStringLiteral("the number of harmonics") : QStringLiteral("the degree");
    bool ok = false;
    r.terms = terms_->text().trimmed().toInt(&ok);
    if (!ok)
        throw Error::build(QStringLiteral("%1 \"%2\" is not a whole number").arg(termsWhat, terms_->text().trimmed()));
    const bool hasLower = !lower_->text().trimmed().isEmpty(), hasUpper = !upper_->text().trimmed().isEmpty();
    if (hasLower != hasUpper)
        throw Error::build(QStringLiteral("give both ends of the interval, or neither for the default"));
    if (hasLower)
        r.interval = Interval{numberField(lower_, QStringLiteral("the interval's lower end")),
                              numberField(upper_, QStringLiteral("the interval's upper end"))};
    return r;
}

QString NewSeriesDialog::errorText() const { return error_->text(); }

void NewSeriesDialog::refreshPreview()
{
    debounce_->stop();
    Request r;
    try {
        r = request();
    } catch (const Error& e) {
        dropBuild();
        showFailure(e.message());
        return;
    }
    if (build_ && buildFor_ == r)
        return; // already on its way
    dropBuild();
    if (last_ && last_->first == r)
        showPreview(r, last_->second);
    else
        startBuild(r);
}

void NewSeriesDialog::startBuild(const Request& r)
{
    build_ = new BuildProcess(this);
    buildFor_ = r;
    connect(build_, &BuildProcess::finished, this, &NewSeriesDialog::built);
    build_->start([r](const BuildControl* control) {
        if (r.fourier)
            return BuildFourier(r.expression, r.centre, r.period, r.terms, r.interval, control);
        return BuildTaylor(r.expression, r.centre, r.terms, r.interval, control);
    });
    preview_->setText(QStringLiteral("Building…"));
    plot_->setCurves(std::nullopt, std::nullopt, 0, 0);
    error_->clear();
}

// A build that is dropped is ended at once, and so is the Create waiting
// for it; its process answers nobody.
void NewSeriesDialog::dropBuild()
{
    delete std::exchange(build_, nullptr);
    if (std::exchange(createWaits_, false))
        closeProgress();
}

void NewSeriesDialog::built()
{
    BuildProcess* const done = std::exchange(build_, nullptr);
    done->deleteLater();
    const bool create = std::exchange(createWaits_, false);
    closeProgress();
    if (!done->series()) {
        showFailure(done->error());
        return;
    }
    last_.emplace(buildFor_, *done->series());
    showPreview(last_->first, last_->second);
    if (create)
        save(last_->second);
}

void NewSeriesDialog::showPreview(const Request& r, const BuiltSeries& s)
{
    QStringList shown;
    for (size_t k = 0; k < std::min<size_t>(8, s.coeffs.size()); ++k)
        shown << NumberText(s.coeffs[k]);
    if (s.coeffs.size() > 8)
        shown << QStringLiteral("…");
    QString text = QStringLiteral("Coefficients: %1\nInterval: %2 to %3")
                       .arg(shown.join(QStringLiteral(", ")), NumberText(s.lower), NumberText(s.upper));
    text += QStringLiteral("\nLargest difference from the expression there: %1 (largest |f|: %2)")
                .arg(std::isfinite(s.agreement) ? NumberText(s.agreement) : QStringLiteral("not finite"), NumberText(s.scale));
    if (s.kind == SeriesKind::Trigonometric)
        text += QStringLiteral("\n%1 error of the coefficients: %2\nLargest difference over the period: %3")
                    .arg(s.errorProven ? QStringLiteral("Proven") : QStringLiteral("Estimated"), NumberText(s.errorEstimate),
                         std::isfinite(s.seriesError) ? NumberText(s.seriesError) : QStringLiteral("not finite"));
    for (const QString& note : s.notes)
        text += u'\n' + note.left(1).toUpper() + note.mid(1) + u'.';
    preview_->setText(text);
    plot_->setCurves(Expression::parse(r.expression), ToSeries(s), s.lower, s.upper);
    error_->clear();
}

void NewSeriesDialog::showFailure(const QString& message)
{
    preview_->clear();
    plot_->setCurves(std::nullopt, std::nullopt, 0, 0);
    error_->setText(message);
}

// Create saves what the fields describe: the finished preview when it is of
// these fields, else what the build running for them (or a new one) makes.
void NewSeriesDialog::create()
{
    debounce_->stop();
    Request r;
    try {
        r = request();
    } catch (const Error& e) {
        dropBuild();
        showFailure(e.message());
        return;
    }
    if (last_ && last_->first == r) {
        dropBuild();
        showPreview(r, last_->second);
        save(last_->second);
        return;
    }
    if (!build_ || !(buildFor_ == r)) {
        dropBuild();
        startBuild(r);
    }
    createWaits_ = true;
    if (!progress_ && !progressDelay_->isActive())
        progressDelay_->start();
}

void NewSeriesDialog::showProgress()
{
    if (!createWaits_ || !build_ || progress_)
        return;
    progress_ = new QProgressDialog(QStringLiteral("Building the series…"), QStringLiteral("Cancel"), 0, 0, this);
    progress_->setObjectName(QStringLiteral("dlgBuildProgress"));
    progress_->setWindowTitle(QStringLiteral("Vendrak"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setAutoReset(false);
    progress_->setAutoClose(false);
    progress_->setMinimumDuration(0);
    // Esc may close the dialog as a dialog rather than press Cancel.
    connect(progress_, &QProgressDialog::canceled, this, &NewSeriesDialog::cancelCreate);
    connect(progress_, &QDialog::rejected, this, &NewSeriesDialog::cancelCreate);
    // A builder that says how far it is gets a bar; else the bar only moves.
    auto* poll = new QTimer(progress_);
    connect(poll, &QTimer::timeout, this, [this] {
        const double f = build_ ? build_->fraction() : 0.0;
        if (progress_ && f > 0) {
            progress_->setMaximum(1000);
            progress_->setValue(static_cast<int>(f * 1000));
        }
    });
    poll->start(100);
    progress_->show();
}

void NewSeriesDialog::closeProgress()
{
    progressDelay_->stop();
    if (QProgressDialog* p = std::exchange(progress_, nullptr)) {
        p->disconnect(this);
        p->hide();
        p->deleteLater();
    }
}

// Back to the dialog with nothing written.
void NewSeriesDialog::cancelCreate()
{
    if (!createWaits_)
        return;
    dropBuild();
    preview_->setText(QStringLiteral("Build cancelled."));
}

void NewSeriesDialog::done(int result)
{
    debounce_->stop();
    dropBuild();
    QDialog::done(result);
}

void NewSeriesDialog::save(const BuiltSeries& s)
{
    const QString path = askSaveFileName ? askSaveFileName() : QString();
    if (path.isEmpty())
        return;
    if (const std::optional<Error> failed = WriteBuiltSeries(s, path)) {
        error_->setText(failed->message());
        return;
    }
    error_->clear();
    emit seriesCreated(path);
    if (opened)
        opened(path);
    accept();
}

} // namespace vendrak
