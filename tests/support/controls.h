#pragma once
// A window's controls as a user knows them: by their names. A name that no
// control of the type asked for carries fails the test that asked.
#include <QObject>

#include <stdexcept>
#include <string>

namespace vendrak::test {

template <class T> T* Control(const QObject& root, const char* name)
{
    for (QObject* o : root.findChildren<QObject*>(QString::fromLatin1(name)))
        if (T* control = dynamic_cast<T*>(o))
            return control;
    throw std::logic_error("no control named " + std::string(name) + " of the type asked for in "
                           + root.objectName().toStdString());
}

} // namespace vendrak::test
