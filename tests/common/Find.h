// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// A widget by the object name the product gives it; a missing one ends the test
// with its name instead of a crash somewhere later.
template <typename T> T* find(const QObject* parent, const QString& name)
{
    T* found = parent->findChild<T*>(name);
    if (!found)
        qFatal("%s has no child named %s of the expected type",
               qPrintable(parent->objectName().isEmpty() ? parent->metaObject()->className()
                                                         : parent->objectName()),
               qPrintable(name));
    return found;
}
