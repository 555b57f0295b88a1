#pragma once
// The lines of a string list as one value, so that a test compares a whole list at once.

#include "platform/Classes.h"

#include <QStringList>

inline QStringList Items(const TStrings &List)
{
    QStringList r;
    for (int i = 0; i < List.Count(); ++i)
        r << List.Strings(i);
    return r;
}
