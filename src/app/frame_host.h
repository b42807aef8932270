#pragma once
// What a frame of the main window may ask of the window: the study, the
// window's rules for running handlers and commands, its focus handling, and
// the few window-wide effects a field edit has. The frames see the window
// only through this.
#include "core/analysis/study_commands.h"
#include "core/graph/navigation.h"

#include <functional>

class QLineEdit;
class QObject;
class QWidget;

namespace vendrak {

struct Dimension;

class FrameHost {
public:
    virtual Dimension& dim() = 0;

    // A handler run the way the window runs its own: a run-time error it did
    // not trap is shown and the program goes on. False when one escaped.
    virtual bool runGuarded(const std::function<void()>& handler) = 0;
    // A command: ignored while pending events are let through, and run only
    // once the focused field has let go (the exempt field is not asked).
    virtual void runCommand(QObject* exempt, const std::function<void()>& handler) = 0;

    // The events of one field, run by the window as the focus moves: got
    // focus, validation (may refuse to let the focus go), lost focus. Any of
    // them may be empty.
    virtual void addField(QWidget* field, std::function<void()> gotFocus,
                          std::function<void(bool&)> validate, std::function<void()> lostFocus) = 0;
    // A field for a decimal number, where a typed comma is a decimal point.
    virtual void addDecimalField(QLineEdit* field) = 0;
    virtual void setFocusLater(QWidget* widget) = 0;
    virtual void SelectAllText(QLineEdit* field) = 0;

    // A changed study setting: the results found so far no longer hold.
    virtual void ClearResults() = 0;
    // A changed plot setting: the graph shown no longer matches it.
    virtual void InvalidateGraph() = 0;
    // One navigation step (a ViewAction) from the window shown.
    virtual void ChangeView(ViewAction action) = 0;
    // The study fields and the derivative chosen, as the commands read them.
    virtual StudySpecTexts studySpecTexts() const = 0;

protected:
    ~FrameHost() = default;
};

} // namespace vendrak
