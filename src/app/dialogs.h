#pragma once
// Message boxes and file/printer dialogs behind one small interface, so tests
// can answer them.
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace vendrak {

class Dialogs {
public:
    enum class Answer { Ok, Yes, No, Cancel };
    enum class Icon { None, Information, Warning, Critical };

    virtual ~Dialogs() = default;

    // A box with an OK button only.
    virtual void message(const QString& title, const QString& text, Icon icon = Icon::None) = 0;
    // Yes, No and Cancel; closing the box counts as Cancel.
    virtual Answer askYesNoCancel(const QString& title, const QString& text, Icon icon) = 0;
    // The folder the file dialogs open in next.
    virtual void setStartFolder(const QString& folder) { (void)folder; }
    // Empty when the user cancels.
    virtual QString openFileName() = 0;
    virtual QString saveFileName() = 0;
    // False when the user cancels the printer dialog.
    virtual bool printerSetup(QPrinter& printer) = 0;
    // A file to export to, offered with the given filters; the filter the
    // user chose comes back in `selectedFilter`. Empty when the user cancels.
    virtual QString exportFileName(const QStringList& filters, QString* selectedFilter) = 0;
    // The index of the item the user picks, or -1 when they cancel.
    virtual int chooseItem(const QString& title, const QString& label, const QStringList& items,
                           int current) = 0;
};

// The real dialogs, parented to the given window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const QString& title, const QString& text, Icon icon) override;
    void setStartFolder(const QString& folder) override { folder_ = folder; }
    Answer askYesNoCancel(const QString& title, const QString& text, Icon icon) override;
    QString openFileName() override;
    QString saveFileName() override;
    bool printerSetup(QPrinter& printer) override;
    QString exportFileName(const QStringList& filters, QString* selectedFilter) override;
    int chooseItem(const QString& title, const QString& label, const QStringList& items,
                   int current) override;

private:
    QWidget* parent_;
    QString folder_;
};

} // namespace vendrak
