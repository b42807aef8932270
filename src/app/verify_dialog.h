#pragma once
// What Verify proved, beside what the scans listed: two lists side by side,
// the counts, the integral, and Copy for all of it as text.
#include "core/verify/verify.h"

#include <QDialog>

class QListWidget;
class QLabel;

namespace vendrak {

class VerifyDialog : public QDialog {
    Q_OBJECT
public:
    VerifyDialog(const ScanLists& lists, const VerifyReport& report, const ScanCheck& check,
                 QWidget* parent = nullptr);

    // Everything the dialog shows, one line each, as Copy puts it on the
    // clipboard.
    QString text() const { return text_; }

    QListWidget* lstVerifyScan = nullptr;   // the scans' entries and their marks
    QListWidget* lstVerifyProven = nullptr; // the proven roots and extrema
    QLabel* lblVerifySummary = nullptr;

public slots:
    void copy() const;

private:
    QString text_;
};

} // namespace vendrak
