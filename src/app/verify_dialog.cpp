#include "app/verify_dialog.h"

#include "core/study/number_text.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vendrak {

namespace {

QString extremumName(bool maximum) { return maximum ? QStringLiteral("MAX") : QStringLiteral("MIN"); }

} // namespace

VerifyDialog::VerifyDialog(const ScanLists& lists, const VerifyReport& r, const ScanCheck& c, QWidget* parent)
    : QDialog(parent), text_(VerifyLines(lists, r, c).join(u'\n') + u'\n')
{
    setObjectName(QStringLiteral("frmVerify"));
    setWindowTitle(QStringLiteral("Verify roots and extrema"));

    QStringList summary = c.summary;
    if (!r.message.isEmpty())
        summary.prepend(r.message);
    if (r.integralDone)
        summary << QStringLiteral("Integral: %1 ± %2")
                       .arg(QString::number(r.integral, 'g', 17), QString::number(r.integralRadius, 'g', 3));
    lblVerifySummary = new QLabel(summary.join(u'\n'), this);
    lblVerifySummary->setObjectName(QStringLiteral("lblVerifySummary"));
    lblVerifySummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblVerifySummary->setWordWrap(true);

    lstVerifyScan = new QListWidget(this);
    lstVerifyScan->setObjectName(QStringLiteral("lstVerifyScan"));
    for (size_t i = 0; i < lists.roots.size() && i < c.rootMarks.size(); ++i)
        lstVerifyScan->addItem(QStringLiteral("ROOT %1: %2").arg(NumberText(lists.roots[i]), MarkText(c.rootMarks[i])));
    for (size_t i = 0; i < lists.extrema.size() && i < c.extremumMarks.size(); ++i)
        lstVerifyScan->addItem(QStringLiteral("%1 %2: %3")
                                   .arg(extremumName(lists.extrema[i].maximum), NumberText(lists.extrema[i].x),
                                        c.extremumMarks[i] == ScanMark::NotFound ? QStringLiteral("not an extremum")
                                                                                : MarkText(c.extremumMarks[i])));
    for (const double x : c.rootsMissed)
        lstVerifyScan->addItem(QStringLiteral("missed: ROOT %1").arg(NumberText(x)));
    for (size_t j = 0; j < r.extrema.size() && j < c.extremumProvenFound.size(); ++j)
        if (!c.extremumProvenFound[j])
            lstVerifyScan->addItem(QStringLiteral("missed: %1 %2")
                                       .arg(extremumName(r.extrema[j].maximum),
                                            NumberText(r.extrema[j].x.lo + (r.extrema[j].x.hi - r.extrema[j].x.lo) / 2)));

    lstVerifyProven = new QListWidget(this);
    lstVerifyProven->setObjectName(QStringLiteral("lstVerifyProven"));
    for (const Span& s : r.roots)
        lstVerifyProven->addItem(QStringLiteral("ROOT IN ") + SpanText(s));
    for (const Span& s : r.rootsUndecided)
        lstVerifyProven->addItem(QStringLiteral("ROOTS UNDECIDED IN %1").arg(SpanText(s)));
    for (const ProvenExtremum& e : r.extrema)
        lstVerifyProven->addItem(
            QStringLiteral("%1 IN %2, f IN %3").arg(extremumName(e.maximum), SpanText(e.x), SpanText(e.value)));
    for (const Span& s : r.extremaUndecided)
        lstVerifyProven->addItem(QStringLiteral("EXTREMA UNDECIDED IN %1").arg(SpanText(s)));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copyButton = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    copyButton->setObjectName(QStringLiteral("cmdVerifyCopy"));
    connect(copyButton, &QPushButton::clicked, this, &VerifyDialog::copy);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblVerifySummary, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Listed by the scans"), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Proven"), this), 1, 1);
    grid->addWidget(lstVerifyScan, 2, 0);
    grid->addWidget(lstVerifyProven, 2, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setRowStretch(2, 1);
    grid->addWidget(buttons, 3, 0, 1, 2);
    resize(920, 440);
}

void VerifyDialog::copy() const
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text_);
}

} // namespace vendrak
