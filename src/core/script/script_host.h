#pragma once
// A small script host of our own: statements of the form `name = expression`,
// where the expression may use numbers, + - * / ^, parentheses, the built-in
// functions Atn, Exp, Sin, Cos, Tan, Sqr, Log, Abs, and the members of the
// object added with global members. No other script is ever run, so this is
// all the program needs of a script engine.
#include "core/study/class1.h"

#include <QString>
#include <functional>

namespace vendrak {

class ScriptHost {
public:
    // Raised after a failing statement with the error's number and description.
    std::function<void(int number, const QString& description)> onError;
    // Told when a function of the object fails within a statement: the
    // function has set the object's ierr to `number` and given 0, and the
    // statement goes on.
    std::function<void(int number)> onMathError;

    // Makes the object's members visible under their bare names.
    void AddObject(const QString& name, Class1* object, bool addMembers);

    // Runs one statement; true when it succeeded. A failure raises the error
    // event (and leaves the last error readable).
    bool ExecuteStatement(const QString& statement);

    int lastErrorNumber() const { return lastError_; }
    QString lastErrorDescription() const { return lastDescription_; }

private:
    QString objectName_;
    Class1* object_ = nullptr;
    bool global_ = false;
    int lastError_ = 0;
    QString lastDescription_;
};

} // namespace vendrak
