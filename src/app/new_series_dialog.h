#pragma once
// "New series from expression": the user types an expression and the kind of
// series, sees the first coefficients and a plot while typing, and saves the
// series as a file the window then opens. Builds run in a process of their
// own, so the dialog answers while one runs and drops it at once when the
// fields change or the dialog goes.
#include "core/builder/series_builder.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QTimer;

namespace vendrak {

class BuildProcess;
class SeriesPlot;

class NewSeriesDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewSeriesDialog(QWidget* parent = nullptr);

    // Asked on Create; an empty answer means the user cancelled.
    std::function<QString()> askSaveFileName;
    // Called with the saved file once it is on disk, before the dialog closes.
    std::function<void(const QString& path)> opened;

    QString errorText() const;

signals:
    void seriesCreated(const QString& path);

public slots:
    void create();
    void refreshPreview();
    void done(int result) override;

private:
    // What the fields ask for; two equal requests build the same series.
    struct Request {
        bool fourier = false;
        QString expression, period;
        double centre = 0;
        int terms = 0;
        std::optional<Interval> interval;
        bool operator==(const Request& o) const;
    };

    void kindChanged();
    // Throws Error saying which field is wrong.
    Request request() const;
    void startBuild(const Request& r);
    void built();
    void showPreview(const Request& r, const BuiltSeries& s);
    void showFailure(const QString& message);
    void save(const BuiltSeries& s);
    void showProgress();
    void closeProgress();
    void cancelCreate();
    void dropBuild();

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

    BuildProcess* build_ = nullptr; // the build running, for buildFor_
    Request buildFor_;
    std::optional<std::pair<Request, BuiltSeries>> last_; // the last build finished
    bool createWaits_ = false; // Create saves what the running build makes
    QTimer* progressDelay_;
    QProgressDialog* progress_ = nullptr;
};

} // namespace vendrak
