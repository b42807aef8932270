#pragma once
// "New series from expression": the user types an expression and the kind of
// series, sees the first coefficients and a plot while typing, and saves the
// series as a file the window then opens.
#include "core/builder/series_builder.h"

#include <QDialog>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vendrak {

class SeriesPlot;

class NewSeriesDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewSeriesDialog(QWidget* parent = nullptr);

    // Asked on Create; an empty answer means the user cancelled.
    std::function<QString()> askSaveFileName;
    // Called with the saved file once it is on disk, before the dialog closes.
    std::function<void(const QString& path)> opened;

    // The series the fields describe now; throws BuildError saying which
    // field is wrong.
    BuiltSeries build() const;
    QString errorText() const;

signals:
    void seriesCreated(const QString& path);

public slots:
    void create();
    void refreshPreview();

private:
    void kindChanged();

    QLineEdit* expression_;
    QComboBox* kind_;
    QLineEdit* centre_;
    QLabel* termsLabel_;
    QLineEdit* terms_;
    QLineEdit* period_;
    QLineEdit* lower_;
    QLineEdit* upper_;
    QLabel* preview_;
    SeriesPlot* plot_;
    QLabel* error_;
    QPushButton* createButton_;
    QTimer* debounce_;
};

} // namespace vendrak
