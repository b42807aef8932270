#pragma once
// View > Figure: the study as a figure for handouts and papers, in a window
// of its own that any size suits. It follows the study: every graph the Plot
// command draws (navigation and Open included) replaces the one shown, the
// scans' results and Verify's proofs become its marks. A field edit that
// blanks the graph area leaves the figure on the study last drawn.
#include "app/dialogs.h"
#include "app/graph_export.h"
#include "core/figure/figure.h"
#include "core/verify/verify.h"

#include <QPixmap>
#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vendrak {

// The figure itself, in the application's palette and font.
class FigureView : public QWidget {
    Q_OBJECT
public:
    explicit FigureView(QWidget* parent = nullptr);
    void setInput(const FigureInput& input);
    const FigureInput& input() const { return input_; }
    bool hasStudy() const { return hasStudy_; }
    void clearStudy();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    FigureInput input_;
    bool hasStudy_ = false;
    // The last picture painted: covering and uncovering the window costs no
    // evaluation of the series, which may have millions of terms.
    QPixmap picture_;
};

class FigureWindow : public QWidget {
    Q_OBJECT
public:
    FigureWindow(Dialogs& dialogs, QWidget* owner);

    // The study as a plot has just drawn it; `shade` is the graph's option.
    void showStudy(const Dimension& drawn, bool shade);
    // The results of the scans, for the study shown.
    void showResults(const Results& results);
    // What Verify proved of `series` on its interval.
    void showProof(const VerifyReport& report, const Series& series);

    // What the figure draws now: the study shown with the curves ticked.
    FigureInput figureInput() const;
    bool hasStudy() const { return study_.has_value(); }

    // Writes the figure to `path` in `format` at `size` (pixels for PNG,
    // points otherwise). Empty when written, otherwise why not.
    QString exportFigure(const QString& path, ExportFormat format, const QSize& size) const;
    // Export…: asks for the file; the size is the one set for its format.
    void cmdFigureExport_Click();

    FigureView* view = nullptr;
    std::array<QCheckBox*, kFigureMaxOrder + 1> chkCurve{};
    QCheckBox* chkFitY = nullptr;
    QSpinBox* spnPixelWidth = nullptr;
    QSpinBox* spnPixelHeight = nullptr;
    QSpinBox* spnPointWidth = nullptr;
    QSpinBox* spnPointHeight = nullptr;
    QPushButton* cmdFigureExport = nullptr;

private:
    void refresh();

    Dialogs& dialogs_;
    std::optional<Dimension> study_;
    bool shade_ = true;
    std::optional<VerifyReport> proof_;
    Series proofSeries_;
};

} // namespace vendrak
