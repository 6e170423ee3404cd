#ifndef PART_H
#define PART_H

#include <QObject>
#include <QtGlobal>

// The named child of a window; a test that names a widget the form lacks
// stops here, loudly, instead of crashing on a null pointer later.
template <typename T> T* part(const QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

#endif
