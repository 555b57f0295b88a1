// Pictures chosen by their content rather than by a file extension, and the program's raw-data
// resources kept in the Qt resources.

#include "platform/Graphics.h"
#include "platform/Jpeg.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

bool StartsWith(const QByteArray &Data, const char *Magic, qsizetype Size)
{
    return Data.size() >= Size && std::memcmp(Data.constData(), Magic, static_cast<size_t>(Size)) == 0;
}

// Raw-data resources are small by nature; a bound keeps a damaged resource file from exhausting memory.
constexpr qint64 MaxResourceSize = 64 * 1024 * 1024;

bool ReadResource(const QString &Path, QByteArray &Data)
{
    QFile f(Path);
    if (!f.open(QIODevice::ReadOnly) || f.size() > MaxResourceSize)
        return false;
    Data = f.readAll();
    return true;
}

} // namespace

std::unique_ptr<TGraphic> LoadGraphicFromBytes(const QByteArray &Data)
{
    std::unique_ptr<TGraphic> g;
    if (StartsWith(Data, "BM", 2))
        g = std::make_unique<TBitmap>();
    else if (StartsWith(Data, "GIF8", 4))
        g = std::make_unique<TGIFImage>();
    else if (StartsWith(Data, "\x89PNG\r\n\x1a\n", 8))
        g = std::make_unique<TPngImage>();
    else if (StartsWith(Data, "\xFF\xD8\xFF", 3))
        g = std::make_unique<TJPEGImage>();
    else if (StartsWith(Data, "\0\0\1\0", 4))
        g = std::make_unique<TIcon>();
    else
        throw EInvalidGraphic(QStringLiteral("Unknown picture format"));
    try {
        g->LoadFromBytes(Data);
    } catch (const EInvalidGraphic &) {
        throw;
    } catch (const Exception &e) {
        throw EInvalidGraphic(e.Message());
    }
    if (g->Empty())
        throw EInvalidGraphic(QStringLiteral("Damaged picture data"));
    return g;
}

bool FindResourceData(const UnicodeString &Name, QByteArray &Data)
{
    if (Name.isEmpty())
        return false;
    const QString folder = QStringLiteral(":/rcdata");
    const QString exact = folder + QLatin1Char('/') + Name;
    if (QFileInfo(exact).isFile())
        return ReadResource(exact, Data);
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString &n : names)
        if (n.compare(Name, Qt::CaseInsensitive) == 0)
            return ReadResource(folder + QLatin1Char('/') + n, Data);
    return false;
}

bool FindResourceData(int ID, QByteArray &Data)
{
    const QString path = QStringLiteral(":/rcdata/%1").arg(ID);
    return QFileInfo(path).isFile() && ReadResource(path, Data);
}
