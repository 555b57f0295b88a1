// Version blocks of the modules the stand-in knows.
#include "platform/FileVersionInfo.h"
#include "platform/VersionInfo.h"

#include <QHash>

#include <cstring>

namespace {

// The block starts with a mark of our own, so that VerQueryValue can refuse foreign memory.
constexpr DWORD BlockMark = 0x56455253u; // "VERS"

struct TVersionBlock {
    DWORD Mark = BlockMark;
    DWORD Size = sizeof(TVersionBlock);
    VS_FIXEDFILEINFO Fixed;
};

QString ModuleKey(const UnicodeString &FileName)
{
    QString Name = FileName.trimmed();
    const qsizetype Slash = std::max(Name.lastIndexOf(QLatin1Char('\\')), Name.lastIndexOf(QLatin1Char('/')));
    if (Slash >= 0)
        Name = Name.mid(Slash + 1);
    if (Name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        Name.chop(4);
    return Name.toLower();
}

QHash<QString, Cardinal> &Overrides()
{
    static QHash<QString, Cardinal> o;
    return o;
}

Cardinal VersionOf(const UnicodeString &FileName)
{
    auto it = Overrides().constFind(ModuleKey(FileName));
    return it != Overrides().constEnd() ? it.value() : GetFileVersion(FileName);
}

} // namespace

DWORD GetFileVersionInfoSize(const UnicodeString &FileName, DWORD *Handle)
{
    if (Handle)
        *Handle = 0;
    return VersionOf(FileName) == 0xFFFFFFFFu ? 0 : DWORD(sizeof(TVersionBlock));
}

BOOL GetFileVersionInfo(const UnicodeString &FileName, DWORD, DWORD Len, void *Data)
{
    const Cardinal v = VersionOf(FileName);
    if (v == 0xFFFFFFFFu || !Data || Len < sizeof(TVersionBlock))
        return FALSE;
    TVersionBlock b;
    b.Fixed.dwFileVersionMS = v;
    b.Fixed.dwProductVersionMS = v;
    std::memcpy(Data, &b, sizeof b);
    return TRUE;
}

BOOL VerQueryValue(const void *Block, const UnicodeString &SubBlock, void **Buffer, UINT *Len)
{
    if (!Block || !Buffer || SubBlock != QLatin1String("\\"))
        return FALSE;
    DWORD head[2];
    std::memcpy(head, Block, sizeof head);
    if (head[0] != BlockMark || head[1] != sizeof(TVersionBlock))
        return FALSE;
    *Buffer = const_cast<char *>(static_cast<const char *>(Block) + offsetof(TVersionBlock, Fixed));
    if (Len)
        *Len = sizeof(VS_FIXEDFILEINFO);
    return TRUE;
}

void SetModuleFileVersion(const UnicodeString &Module, Cardinal Version) { Overrides().insert(ModuleKey(Module), Version); }

void ResetModuleFileVersions() { Overrides().clear(); }
