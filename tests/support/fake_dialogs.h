#pragma once
// Dialogs a test answers: scripted answers in, every box shown recorded.
#include "app/dialogs.h"

#include <QStringList>
#include <deque>
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
    std::deque<Answer> answers;           // answers to askYesNoCancel, in order
    std::deque<QString> openNames;        // what the Open dialog returns
    std::deque<QString> saveNames;        // what the Save dialog returns
    QString startFolder;                  // where the last file dialog was told to start
    int openAsked = 0;
    int saveAsked = 0;
    int printAsked = 0;
    bool printAccept = true;
    std::deque<std::pair<QString, QString>> exportNames; // name and filter the Export dialog returns
    std::deque<int> itemAnswers;          // what chooseItem returns (-1 cancels)
    QStringList itemsOffered;             // the items of the last chooseItem

    void message(const QString& title, const QString& text, Icon icon) override
    {
        messages.push_back({title, text, icon});
    }
    Answer askYesNoCancel(const QString& title, const QString& text, Icon icon) override
    {
        messages.push_back({title, text, icon});
        if (answers.empty())
            return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void setStartFolder(const QString& folder) override { startFolder = folder; }
    QString openFileName() override
    {
        ++openAsked;
        if (openNames.empty())
            return {};
        QString n = openNames.front();
        openNames.pop_front();
        return n;
    }
    QString saveFileName() override
    {
        ++saveAsked;
        if (saveNames.empty())
            return {};
        QString n = saveNames.front();
        saveNames.pop_front();
        return n;
    }
    bool printerSetup(QPrinter&) override
    {
        ++printAsked;
        return printAccept;
    }
    QString exportFileName(const QStringList& filters, QString* selectedFilter) override
    {
        if (exportNames.empty())
            return {};
        const auto [name, filter] = exportNames.front();
        exportNames.pop_front();
        if (selectedFilter)
            *selectedFilter = filter.isEmpty() ? filters.value(0) : filter;
        return name;
    }
    int chooseItem(const QString&, const QString&, const QStringList& items, int) override
    {
        itemsOffered = items;
        if (itemAnswers.empty())
            return -1;
        const int a = itemAnswers.front();
        itemAnswers.pop_front();
        return a;
    }
};

} // namespace vendrak::test
