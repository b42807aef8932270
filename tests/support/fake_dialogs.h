#pragma once
// Dialogs a test answers: scripted answers in, every box shown recorded.
#include "app/dialogs.h"

#include <QStringList>
#include <deque>

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
};

} // namespace vendrak::test
