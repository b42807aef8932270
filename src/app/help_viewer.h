#pragma once
// The help window: our own HTML help document, opened at its contents.
#include "app/install_layout.h"

#include <QTextBrowser>

namespace vendrak {

class HelpViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* owner = nullptr);

    // Shows the document at its table of contents; a missing or unreadable
    // file is said so in the window itself.
    void showContents(const QString& path);
    bool fileMissing() const { return missing_; }

private:
    bool missing_ = false;
};

} // namespace vendrak
