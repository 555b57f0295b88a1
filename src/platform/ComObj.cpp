#include "platform/ComObj.h"

#include <charconv>
#include <cmath>
#include <map>

UnicodeString OleVariant::ToString() const
{
    switch (FKind) {
    case varEmpty:
        return {};
    case varString:
        return FText;
    case varBoolean:
        return AsBoolean() ? QStringLiteral("True") : QStringLiteral("False");
    case varNumber: {
        if (std::isnan(FNumber))
            return QStringLiteral("NAN");
        if (std::isinf(FNumber))
            return FNumber > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, FNumber);
        return QString::fromLatin1(buf, int(res.ptr - buf));
    }
    case varError:
    case varDispatch:
        break;
    }
    throw EInvalidCast(QStringLiteral("Invalid variant type conversion"));
}

TVariantArray::TVariantArray(int Rows, int Cols)
    : FRows(Rows > 0 && Cols > 0 ? Rows : 0), FCols(Rows > 0 && Cols > 0 ? Cols : 0),
      FItems(std::size_t(FRows) * std::size_t(FCols))
{
}

OleVariant &TVariantArray::At(int Row, int Col)
{
    return const_cast<OleVariant &>(static_cast<const TVariantArray *>(this)->At(Row, Col));
}

const OleVariant &TVariantArray::At(int Row, int Col) const
{
    if (Row < 1 || Col < 1 || Row > FRows || Col > FCols)
        throw EArgumentOutOfRangeException(QStringLiteral("Variant array index out of bounds"));
    return FItems[std::size_t(Row - 1) * std::size_t(FCols) + std::size_t(Col - 1)];
}

namespace {

struct TServerTable {
    std::map<QString, TOleServerFactory> Servers;
    std::map<QString, IDispatchPtr> Running;
};

TServerTable BuiltInTable()
{
    TServerTable t;
    t.Servers[QStringLiteral("excel.application")] = [] { return IDispatchPtr(CreateWorkbookServer()); };
    return t;
}

TServerTable &Table()
{
    static TServerTable table = BuiltInTable();
    return table;
}

QString Key(const UnicodeString &ProgID) { return ProgID.trimmed().toLower(); }

} // namespace

struct TOleServerTableScope::TSaved {
    TServerTable Table;
};

TOleServerTableScope::TOleServerTableScope() : FSaved(std::make_unique<TSaved>())
{
    std::swap(FSaved->Table, Table());
}

TOleServerTableScope::~TOleServerTableScope()
{
    std::swap(FSaved->Table, Table());
}

void RegisterOleServer(const UnicodeString &ProgID, TOleServerFactory Factory)
{
    if (Factory)
        Table().Servers[Key(ProgID)] = std::move(Factory);
    else
        Table().Servers.erase(Key(ProgID));
}

void RegisterActiveOleObject(const UnicodeString &ProgID, IDispatchPtr Object)
{
    if (Object)
        Table().Running[Key(ProgID)] = std::move(Object);
    else
        Table().Running.erase(Key(ProgID));
}

IDispatchPtr CreateOleObject(const UnicodeString &ClassName)
{
    const auto it = Table().Servers.find(Key(ClassName));
    if (it == Table().Servers.end())
        throw EOleSysError(QStringLiteral("Invalid class string"));
    // Copied first: a factory may register servers itself.
    const TOleServerFactory factory = it->second;
    IDispatchPtr obj = factory();
    if (!obj)
        throw EOleSysError(QStringLiteral("Server execution failed"));
    return obj;
}

IDispatchPtr GetActiveOleObject(const UnicodeString &ClassName)
{
    const auto it = Table().Running.find(Key(ClassName));
    if (it == Table().Running.end())
        throw EOleSysError(QStringLiteral("Operation unavailable"));
    return it->second;
}
