// Column widths and positions as the grid reads them back from its INI file or from the
// registry's stand-in file: whatever the file holds, the grid keeps each of its columns exactly
// once, and the layout it took saves and reads back into another grid as the same layout.
//
// Input: the first byte picks the store (bit 0: registry) and a column hidden before the load;
// the rest is the file.
#include "support/FuzzSupport.h"

#include "grid/core/ExtGrid.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

const int Columns = 5;

void Prepare(TExtStringGrid &G, const TColumnSize &Store)
{
    G.SetColCount(Columns);
    G.SetRowCount(2);
    for (int c = 0; c < Columns; ++c)
        G.SetCells(c, 0, QString(QChar(u'A' + c)));
    G.ColumnSize()->Location = Store.Location;
    G.ColumnSize()->Key = Store.Key;
    G.ColumnSize()->Section = Store.Section;
}

QString Layout(TExtStringGrid &G)
{
    QStringList parts;
    for (int c = 0; c < G.ColCount(); ++c)
        parts << G.Cells(c, 0) + QString::number(G.ColWidths(c));
    return parts.join(u' ');
}

QString Headers(TExtStringGrid &G)
{
    QString all;
    for (int c = 0; c < G.AllColCount(); ++c)
        all += G.AllCells(c, 0);
    std::sort(all.begin(), all.end());
    return all;
}

// Points the registry's stand-in at a file of the fuzz folder while it lives.
class TRegistryFile {
public:
    explicit TRegistryFile(const QString &Path)
    {
        if (const char *old = std::getenv("FABRICOR_REGISTRY_FILE"))
            FSaved = QByteArray(old);
        setenv("FABRICOR_REGISTRY_FILE", Path.toLocal8Bit().constData(), 1);
    }
    ~TRegistryFile()
    {
        if (FSaved)
            setenv("FABRICOR_REGISTRY_FILE", FSaved->constData(), 1);
        else
            unsetenv("FABRICOR_REGISTRY_FILE");
    }

private:
    std::optional<QByteArray> FSaved;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1 || Size > 64 * 1024)
        return 0;
    Fuzz::NeedApplication();
    Fuzz::CleanDir();
    const bool registry = (Data[0] & 1) != 0;
    Fuzz::WriteFile(QStringLiteral("store.ini"), Fuzz::Bytes(Data + 1, Size - 1));
    const TRegistryFile file(Fuzz::PathOf(QStringLiteral("store.ini")));
    TColumnSize store(nullptr);
    store.Location = registry ? clRegistry : clIniFile;
    store.Key = registry ? QStringLiteral("Software\\Fabricor\\Grid") : Fuzz::PathOf(QStringLiteral("store.ini"));
    store.Section = QStringLiteral("Main");

    TExtStringGrid a(nullptr);
    Prepare(a, store);
    const int hidden = (Data[0] >> 1) % 8;
    if (hidden < Columns)
        a.HideColumn(hidden);
    const QString headers = Headers(a);
    a.LoadColPositions();
    a.LoadColSizes();
    Fuzz::CheckSame(Headers(a), headers, "the stored layout lost or doubled a column");
    if (hidden < Columns)
        a.UnHideColumnsAll();
    const QString layout = Layout(a);

    a.SaveColPositions();
    a.SaveColSizes();
    TExtStringGrid b(nullptr);
    Prepare(b, store);
    b.LoadColPositions();
    b.LoadColSizes();
    Fuzz::CheckSame(Layout(b), layout, "a saved layout does not read back");
    return 0;
}
