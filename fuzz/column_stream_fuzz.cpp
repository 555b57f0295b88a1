// The column stream reader: any bytes either load as column definitions or raise the reader's
// error, and a failed load leaves the grid's columns as they were. What loaded saves again and
// reads back to the same bytes.
#include "support/FuzzSupport.h"

#include "grid/core/ExtColumnGrid.h"
#include "platform/Filer.h"

namespace {

QByteArray Save(TExtColumnGrid &G)
{
    TMemoryStream s;
    G.SaveColumnsToStream(&s);
    return s.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::NeedApplication();
    const QByteArray input = Fuzz::Bytes(Data, Size);
    TExtColumnGrid g(nullptr);
    g.SetColCount(3);
    g.SetFixedRows(1);
    const QByteArray before = Save(g);
    TMemoryStream s;
    s.Write(input.constData(), int(input.size()));
    s.SetPosition(0);
    try {
        g.LoadColumnsFromStream(&s);
    } catch (const EReadError &) {
        if (Save(g) != before)
            __builtin_trap();
        return 0;
    }
    const QByteArray once = Save(g);
    TMemoryStream again;
    again.Write(once.constData(), int(once.size()));
    again.SetPosition(0);
    g.LoadColumnsFromStream(&again);
    if (Save(g) != once)
        __builtin_trap();
    return 0;
}
