#include "platform/System.h"

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <typeinfo>

UnicodeString TObject::ClassName() const
{
    const char *mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void *)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    QString name = QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
    const int scope = name.lastIndexOf(QLatin1String("::"));
    return scope >= 0 ? name.mid(scope + 2) : name;
}

void Abort()
{
    throw EAbort(QStringLiteral("Operation aborted"));
}
