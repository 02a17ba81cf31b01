#pragma once

#include <QString>

// Gives a control the name the screen knows it by (its objectName), so
// handlers, tests and the layout all find it by that name.
template <typename T>
T* Named(T* object, const QString& name)
{
    object->setObjectName(name);
    return object;
}

template <typename T>
T* Named(T* object, const char* name)
{
    return Named(object, QString::fromLatin1(name));
}
