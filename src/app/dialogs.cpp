#include "app/dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace vendrak {

namespace {

QMessageBox::Icon toQt(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Warning: return QMessageBox::Warning;
    case Dialogs::Icon::Critical: return QMessageBox::Critical;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Message texts break their lines with a carriage return alone, which a Qt
// label would not show as a line break.
QString displayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

} // namespace

void QtDialogs::message(const QString& title, const QString& text, Icon icon)
{
    QMessageBox box(toQt(icon), title, displayText(text), QMessageBox::Ok, parent_);
    box.exec();
}

Dialogs::Answer QtDialogs::askYesNoCancel(const QString& title, const QString& text, Icon icon)
{
    QMessageBox box(toQt(icon), title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent_);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

namespace {

const QString kSeriesFilters = QStringLiteral("Series files (*.txt);;All files (*)");

} // namespace

QString QtDialogs::openFileName()
{
    return QFileDialog::getOpenFileName(parent_, QString(), folder_, kSeriesFilters);
}

QString QtDialogs::saveFileName()
{
    return QFileDialog::getSaveFileName(parent_, QString(), folder_, kSeriesFilters);
}

bool QtDialogs::printerSetup(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

QString QtDialogs::exportFileName(const QStringList& filters, QString* selectedFilter)
{
    return QFileDialog::getSaveFileName(parent_, QStringLiteral("Export graph"), QString(),
                                        filters.join(QStringLiteral(";;")), selectedFilter);
}

int QtDialogs::chooseItem(const QString& title, const QString& label, const QStringList& items,
                          int current)
{
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent_, title, label, items, current, false, &ok);
    return ok ? static_cast<int>(items.indexOf(chosen)) : -1;
}

} // namespace vendrak
