#pragma once
// Dialogs a test answers: scripted answers in, every box shown recorded.
#include "app/dialogs.h"

#include <QApplication>
#include <QPrinter>
#include <QStringList>
#include <deque>
#include <functional>
#include <utility>

namespace vendrak::test {

class FakeDialogs : public Dialogs {
public:
    struct Shown {
        QString title;
        QString text;
        Icon icon;
    };

    std::vector<Shown> messages;          // every box shown, in order
    std::deque<Answer> answers;           // answers to askYesNoCancel
    std::deque<QString> openNames, saveNames;
    std::deque<std::pair<QString, QString>> exportNames; // name and filter
    std::deque<int> itemAnswers;          // chooseItem (-1 cancels)
    QStringList itemsOffered;             // the items of the last chooseItem
    QString startFolder;
    QString pdfPath;                      // when set, an accepted Print goes to this PDF
    int openAsked = 0, saveAsked = 0, printAsked = 0;
    bool printAccept = true;
    bool busyAtMessage = false;           // the hourglass was still up when a box appeared

    void message(const QString& title, const QString& text, Icon icon) override
    {
        busyAtMessage = busyAtMessage || QApplication::overrideCursor() != nullptr;
        messages.push_back({title, text, icon});
    }
    Answer askYesNoCancel(const QString& title, const QString& text, Icon icon) override
    {
        messages.push_back({title, text, icon});
        return next(answers, Answer::Cancel);
    }
    void setStartFolder(const QString& folder) override { startFolder = folder; }
    QString openFileName() override { return ++openAsked, next(openNames); }
    QString saveFileName() override { return ++saveAsked, next(saveNames); }
    bool printerSetup(QPrinter& printer) override
    {
        ++printAsked;
        if (!pdfPath.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfPath);
        }
        return printAccept;
    }
    QString exportFileName(const QStringList& filters, QString* selectedFilter) override
    {
        const auto [name, filter] = next(exportNames);
        if (selectedFilter)
            *selectedFilter = filter.isEmpty() ? filters.value(0) : filter;
        return name;
    }
    int chooseItem(const QString&, const QString&, const QStringList& items, int) override
    {
        itemsOffered = items;
        return next(itemAnswers, -1);
    }

private:
    template <typename T> static T next(std::deque<T>& q, T none = {})
    {
        if (q.empty())
            return none;
        T v = std::move(q.front());
        q.pop_front();
        return v;
    }
};

} // namespace vendrak::test
