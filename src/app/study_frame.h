#pragma once
// The study frame (fraStudySpecs): the interval studied, the number of
// subintervals, the error bound and the iteration limit. Its fields check
// and correct themselves as they are left; an edit clears the results.
#include "core/analysis/study_commands.h"
#include "core/series/series_file.h"

#include <QObject>

#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace vendrak {

class ControlFactory;
class FrameHost;

class StudySpecsFrame : public QObject {
public:
    // Builds the frame inside the window's client area and wires its fields.
    StudySpecsFrame(QWidget* client, const ControlFactory& make, FrameHost& host);

    // The fields' texts; the derivative is not the frame's and stays "Function".
    StudySpecTexts texts() const;
    // The interval studied: a newly opened series' interval of validity.
    void showInterval(const QString& lower, const QString& upper);
    // The study settings of a saved study, as texts.
    void restore(const StudySettingsTexts& saved);
    // Counts restored from a file get the fields' own corrections, as if
    // typed and left, and the study takes them as corrected.
    void correctRestoredCounts();
    // The frame's controls in the order the Tab key visits them.
    std::vector<QWidget*> tabOrder() const;
    // The subintervals field's tip, which the window sets as it loads.
    void setSubintervalsTip(const QString& tip);

private:
    QGroupBox* fraStudySpecs = nullptr;
    QLineEdit* txtXlower = nullptr;
    QLabel* lblXinterval = nullptr;
    QLineEdit* txtXupper = nullptr;
    QLabel* lblSubintervals = nullptr;
    QLineEdit* txtSubintervals = nullptr;
    QLabel* lblError = nullptr;
    QLineEdit* txtError = nullptr;
    QLabel* lblMaxcy = nullptr;
    QLineEdit* txtMaxcy = nullptr;

    void build(QWidget* client, const ControlFactory& make);
    void wire();

    void txtXlower_LostFocus();
    void txtXupper_LostFocus();
    void txtError_GotFocus();
    void txtError_Validate(bool& cancel);
    void txtError_LostFocus();
    void txtSubintervals_Validate(bool& cancel);
    void txtSubintervals_LostFocus();
    void txtMaxcy_Validate(bool& cancel);

    FrameHost& host_;
};

} // namespace vendrak
