// The class registry by which form streams create components from their class names.
#include "platform/Classes.h"

#include <QHash>

namespace {

// Class names are identifiers of the program; they compare without regard to case, as the
// streams that name them were written by hand as often as by the designer.
QHash<QString, TPersistentFactory> &Registry()
{
    static QHash<QString, TPersistentFactory> r;
    return r;
}

} // namespace

void RegisterClass(const UnicodeString &ClassName, TPersistentFactory Factory)
{
    const QString key = ClassName.toUpper();
    if (Registry().contains(key))
        throw EClassRegistered(QStringLiteral("Class %1 already registered").arg(ClassName));
    Registry().insert(key, std::move(Factory));
}

void UnRegisterClass(const UnicodeString &ClassName) { Registry().remove(ClassName.toUpper()); }

TPersistentFactory GetClass(const UnicodeString &ClassName) { return Registry().value(ClassName.toUpper()); }

TPersistentFactory FindClass(const UnicodeString &ClassName)
{
    TPersistentFactory f = GetClass(ClassName);
    if (!f)
        throw EClassNotFound(QStringLiteral("Class %1 not found").arg(ClassName));
    return f;
}
