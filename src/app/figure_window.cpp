#include "app/figure_window.h"

#include "app/figure_export.h"
#include "core/figure/figure_input.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vendrak {

namespace {

const QString kTitle = QStringLiteral("Vendrak");

bool sameSeries(const Series& a, const Series& b)
{
    return a.Kind == b.Kind && a.TermCount == b.TermCount && a.Centre == b.Centre && a.Period == b.Period &&
           a.Coeffs == b.Coeffs;
}

QSpinBox* sizeBox(QWidget* parent, const char* name, int value, int most)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(kFigureMinSide, most);
    box->setValue(value);
    return box;
}

} // namespace

FigureView::FigureView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picFigure"));
    setMinimumSize(300, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void FigureView::setInput(const FigureInput& input)
{
    input_ = input;
    hasStudy_ = true;
    picture_ = QPixmap();
    update();
}

void FigureView::clearStudy()
{
    hasStudy_ = false;
    picture_ = QPixmap();
    update();
}

void FigureView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        picture_ = QPixmap();
    QWidget::changeEvent(event);
}

void FigureView::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (picture_.isNull() || picture_.deviceIndependentSize() != QSizeF(size()) || picture_.devicePixelRatio() != ratio) {
        picture_ = QPixmap((QSizeF(size()) * ratio).toSize());
        picture_.setDevicePixelRatio(ratio);
        QPainter p(&picture_);
        const FigureStyle style = FigureStyle::Screen(palette(), font());
        if (hasStudy_) {
            PaintFigure(p, input_, QSizeF(size()), style);
        } else {
            p.fillRect(rect(), style.background);
            p.setPen(style.text);
            p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                       QStringLiteral("No graph has been drawn yet: Plot draws one here too."));
        }
    }
    QPainter(this).drawPixmap(0, 0, picture_);
}

FigureWindow::FigureWindow(Dialogs& dialogs, QWidget* owner) : QWidget(owner, Qt::Window), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmFigure"));
    setWindowTitle(QStringLiteral("Vendrak figure"));
    view = new FigureView(this);

    // Two rows of curves and two of sizes keep the window narrow enough for
    // a small figure.
    auto* controls = new QGridLayout;
    controls->addWidget(new QLabel(QStringLiteral("Curves:"), this), 0, 0);
    for (int order = 0; order <= kFigureMaxOrder; ++order) {
        auto* box = new QCheckBox(OrderName(order), this);
        box->setObjectName(QStringLiteral("chkCurve%1").arg(order));
        box->setChecked(order == 0);
        connect(box, &QCheckBox::toggled, this, &FigureWindow::refresh);
        chkCurve[static_cast<std::size_t>(order)] = box;
        controls->addWidget(box, order / 5, 1 + order % 5);
    }
    chkFitY = new QCheckBox(QStringLiteral("Fit y"), this);
    chkFitY->setObjectName(QStringLiteral("chkFitY"));
    connect(chkFitY, &QCheckBox::toggled, this, &FigureWindow::refresh);
    controls->addWidget(chkFitY, 0, 6);
    controls->setColumnStretch(7, 1);

    const QSize png = DefaultFigureSize(ExportFormat::Png), page = DefaultFigureSize(ExportFormat::Pdf);
    spnPixelWidth = sizeBox(this, "spnPixelWidth", png.width(), kFigureMaxPixels);
    spnPixelHeight = sizeBox(this, "spnPixelHeight", png.height(), kFigureMaxPixels);
    spnPointWidth = sizeBox(this, "spnPointWidth", page.width(), kFigureMaxPoints);
    spnPointHeight = sizeBox(this, "spnPointHeight", page.height(), kFigureMaxPoints);
    cmdFigureExport = new QPushButton(QStringLiteral("&Export…"), this);
    cmdFigureExport->setObjectName(QStringLiteral("cmdFigureExport"));
    connect(cmdFigureExport, &QPushButton::clicked, this, &FigureWindow::cmdFigureExport_Click);
    auto* sizes = new QGridLayout;
    const struct { const char* format; QSpinBox* w; QSpinBox* h; const char* unit; } rows[] = {
        {"PNG:", spnPixelWidth, spnPixelHeight, "pixels"}, {"SVG, PDF:", spnPointWidth, spnPointHeight, "points"}};
    for (int row = 0; row < 2; ++row) {
        sizes->addWidget(new QLabel(QLatin1String(rows[row].format), this), row, 0);
        sizes->addWidget(rows[row].w, row, 1);
        sizes->addWidget(new QLabel(QStringLiteral("×"), this), row, 2);
        sizes->addWidget(rows[row].h, row, 3);
        sizes->addWidget(new QLabel(QLatin1String(rows[row].unit), this), row, 4);
    }
    sizes->setColumnStretch(5, 1);
    sizes->addWidget(cmdFigureExport, 1, 6);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);
    layout->addLayout(controls);
    layout->addLayout(sizes);
    resize(760, 560);
}

void FigureWindow::showStudy(const Dimension& drawn, bool shade)
{
    study_ = drawn;
    shade_ = shade;
    refresh();
}

void FigureWindow::showResults(const Results& results)
{
    if (!study_)
        return;
    study_->results = results;
    refresh();
}

void FigureWindow::showProof(const VerifyReport& report, const Series& series)
{
    proof_ = report;
    proofSeries_ = series;
    refresh();
}

FigureInput FigureWindow::figureInput() const
{
    std::vector<int> orders;
    for (int order = 0; order <= kFigureMaxOrder; ++order)
        if (chkCurve[static_cast<std::size_t>(order)]->isChecked())
            orders.push_back(order);
    if (!study_)
        return {};
    const bool proofHolds = proof_ && sameSeries(proofSeries_, study_->series);
    return FigureInputOf(study_->series, study_->plot, study_->study, study_->results, study_->window.FileName, orders,
                         chkFitY->isChecked(), shade_, proofHolds ? &*proof_ : nullptr);
}

void FigureWindow::refresh()
{
    if (study_)
        view->setInput(figureInput());
    else
        view->clearStudy();
}

QString FigureWindow::exportFigure(const QString& path, ExportFormat format, const QSize& size) const
{
    if (!study_)
        return QStringLiteral("no graph has been drawn yet");
    return WriteFigureFile(path, format, size, figureInput());
}

void FigureWindow::cmdFigureExport_Click()
{
    if (!study_) {
        dialogs_.message(kTitle, QStringLiteral("There is no figure to export: plot a graph first."),
                         Dialogs::Icon::Information);
        return;
    }
    const std::optional<ExportTarget> target = AskExportTarget(dialogs_);
    if (!target)
        return;
    const auto& [name, format] = *target;
    const QSize size = format == ExportFormat::Png ? QSize(spnPixelWidth->value(), spnPixelHeight->value())
                                                   : QSize(spnPointWidth->value(), spnPointHeight->value());
    const QString why = exportFigure(name, format, size);
    if (!why.isEmpty())
        dialogs_.message(kTitle,
                         QStringLiteral("The figure could not be exported to %1: %2")
                             .arg(QDir::toNativeSeparators(name), why),
                         Dialogs::Icon::Warning);
}

} // namespace vendrak
