#include "platform/Registry.h"

#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/SysUtils.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>

#include <map>
#include <mutex>
#include <sys/stat.h>
#include <vector>

namespace {

struct TRegValue {
    TRegDataType Type = rdUnknown;
    UnicodeString Text;
    int Int = 0;
};

UnicodeString RootName(HKEY Root)
{
    switch (Root) {
    case HKEY_CLASSES_ROOT:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER:
        return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKEY_USERS:
        return QStringLiteral("HKEY_USERS");
    case HKEY_CURRENT_CONFIG:
        return QStringLiteral("HKEY_CURRENT_CONFIG");
    default:
        return QStringLiteral("HKEY_%1").arg(static_cast<qulonglong>(Root), 8, 16, QLatin1Char('0'));
    }
}

// "\A\\B\" and "A/B" both become "A\B".
UnicodeString NormalizePath(const UnicodeString &Path)
{
    UnicodeString p = Path;
    p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const QStringList parts = p.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

UnicodeString SectionOf(HKEY Root, const UnicodeString &Path)
{
    return Path.isEmpty() ? RootName(Root) : RootName(Root) + QLatin1Char('\\') + Path;
}

bool IsBelow(const UnicodeString &Section, const UnicodeString &Parent)
{
    return Section.size() > Parent.size() + 1 && Section.startsWith(Parent, Qt::CaseInsensitive) && Section[Parent.size()] == u'\\';
}

// Value names become INI keys: the default value (empty name) is "@", and the characters the
// INI reader would take for structure are written as %XX.
UnicodeString EncodeName(const UnicodeString &Name)
{
    if (Name.isEmpty())
        return QStringLiteral("@");
    UnicodeString r;
    for (QChar c : Name) {
        const char16_t u = c.unicode();
        if (u <= u' ' || u == u'%' || u == u'=' || u == u';' || u == u'#' || u == u'[' || u == u'@' || u == 0x7F)
            r += QStringLiteral("%%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0')).toUpper();
        else
            r += c;
    }
    return r;
}

UnicodeString DecodeName(const UnicodeString &Key)
{
    if (Key == QLatin1String("@"))
        return UnicodeString();
    UnicodeString r;
    for (qsizetype i = 0; i < Key.size(); ++i) {
        if (Key[i] == u'%' && i + 2 < Key.size()) {
            bool ok = false;
            const int v = Key.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                r += QChar(char16_t(v));
                i += 2;
                continue;
            }
        }
        r += Key[i];
    }
    return r;
}

UnicodeString EncodeValue(const TRegValue &V)
{
    if (V.Type == rdInteger)
        return QStringLiteral("dword:%1").arg(static_cast<quint32>(V.Int), 8, 16, QLatin1Char('0'));
    UnicodeString r = QStringLiteral("\"");
    for (QChar c : V.Text) {
        if (c == u'\\')
            r += QLatin1String("\\\\");
        else if (c == u'\r')
            r += QLatin1String("\\r");
        else if (c == u'\n')
            r += QLatin1String("\\n");
        else
            r += c;
    }
    r += QLatin1Char('"');
    return r;
}

// Tolerant of hand-edited files: text without quotes is taken as it is.
TRegValue DecodeValue(const UnicodeString &S)
{
    TRegValue v;
    if (S.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        bool ok = false;
        const quint32 n = S.mid(6).trimmed().toUInt(&ok, 16);
        if (ok) {
            v.Type = rdInteger;
            v.Int = static_cast<int>(n);
            return v;
        }
    }
    v.Type = rdString;
    if (S.size() < 2 || S.front() != u'"' || S.back() != u'"') {
        v.Text = S;
        return v;
    }
    for (qsizetype i = 1; i + 1 < S.size(); ++i) {
        const QChar c = S[i];
        if (c == u'\\' && i + 2 < S.size()) {
            const QChar n = S[i + 1];
            if (n == u'\\' || n == u'r' || n == u'n') {
                v.Text += n == u'r' ? QChar(u'\r') : (n == u'n' ? QChar(u'\n') : QChar(u'\\'));
                ++i;
                continue;
            }
        }
        v.Text += c;
    }
    return v;
}

// What tells us that the file changed: an atomic rewrite gives a new inode even within the
// resolution of the modification time.
struct TFileSig {
    Int64 Inode = -1;
    Int64 Size = -1;
    Int64 MTimeNs = -1;
    bool operator==(const TFileSig &) const = default;
};

TFileSig SigOf(const UnicodeString &Path)
{
    struct stat st {};
    if (::stat(NativePath(Path).toLocal8Bit().constData(), &st) != 0)
        return {};
    return {static_cast<Int64>(st.st_ino), static_cast<Int64>(st.st_size),
            static_cast<Int64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

struct TWatcher {
    UnicodeString Section;
    std::function<void()> OnChange;
    UnicodeString Snapshot;
};

using TCallbacks = std::vector<std::function<void()>>;

// The registry file of the process: read when it changed on disk, written after each change,
// and the watchers that want to hear of changes. Every access holds the mutex; callbacks run
// after it is released.
class TRegistryStore {
public:
    static TRegistryStore &Instance()
    {
        static TRegistryStore store;
        return store;
    }

    std::recursive_mutex Mutex;

    TMemIniFile &Ini()
    {
        const UnicodeString name = RegistryFileName();
        const TFileSig sig = SigOf(name);
        if (!FIni || FStale || name != FFile || !(sig == FSig)) {
            try {
                FIni = std::make_unique<TMemIniFile>(name, TEncoding::UTF8());
            } catch (const Exception &) {
                // An unreadable file counts as an empty registry; it is not overwritten unless
                // something is written.
                FIni = std::make_unique<TMemIniFile>(UnicodeString(), TEncoding::UTF8());
                FIni->Rename(name, false);
            }
            FFile = name;
            FSig = sig;
            FStale = false;
        }
        return *FIni;
    }

    // Writes the file; false (and the file as it was) when that fails.
    bool Save()
    {
        TMemIniFile &ini = Ini();
        try {
            const UnicodeString folder = ExtractFilePath(FFile);
            if (!folder.isEmpty())
                ForceDirectories(folder);
            ini.UpdateFile();
        } catch (const Exception &) {
            FStale = true; // memory and file differ now: read the file again next time
            return false;
        }
        FSig = SigOf(FFile);
        WatchFile();
        return true;
    }

    UnicodeString Snapshot(const UnicodeString &Section)
    {
        TMemIniFile &ini = Ini();
        TStringList sections, values;
        ini.ReadSections(&sections);
        UnicodeString r;
        for (int i = 0; i < sections.Count(); ++i) {
            const UnicodeString s = sections.Strings(i);
            if (!SameText(s, Section) && !IsBelow(s, Section))
                continue;
            ini.ReadSectionValues(s, &values);
            r += QLatin1Char('[') + s.toLower() + QLatin1String("]\n") + values.Text();
        }
        return r;
    }

    // The callbacks of the watchers whose keys look different now.
    TCallbacks Changed()
    {
        TCallbacks fired;
        for (auto &[id, w] : FWatchers) {
            UnicodeString snap = Snapshot(w.Section);
            if (snap != w.Snapshot) {
                w.Snapshot = std::move(snap);
                fired.push_back(w.OnChange);
            }
        }
        return fired;
    }

    int AddWatcher(HKEY Root, const UnicodeString &KeyPath, std::function<void()> OnChange)
    {
        const int id = ++FNextId;
        TWatcher w;
        w.Section = SectionOf(Root, NormalizePath(KeyPath));
        w.OnChange = std::move(OnChange);
        w.Snapshot = Snapshot(w.Section);
        FWatchers.emplace(id, std::move(w));
        WatchFile();
        return id;
    }

    void RemoveWatcher(int Id) { FWatchers.erase(Id); }

private:
    // Changes written by other programs arrive through a file-system watcher on the main
    // thread; the folder is watched too, as each atomic write replaces the file.
    void WatchFile()
    {
        if (FWatchers.empty())
            return;
        QCoreApplication *app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread())
            return;
        if (!FFileWatcher) {
            FFileWatcher = new QFileSystemWatcher(app);
            auto react = [this](const QString &) { ExternalChange(); };
            QObject::connect(FFileWatcher, &QFileSystemWatcher::fileChanged, FFileWatcher, react);
            QObject::connect(FFileWatcher, &QFileSystemWatcher::directoryChanged, FFileWatcher, react);
        }
        const QString file = QFileInfo(NativePath(FFile)).absoluteFilePath();
        const QString dir = QFileInfo(file).absolutePath();
        QStringList wanted;
        if (QFileInfo::exists(file))
            wanted << file;
        if (QFileInfo::exists(dir))
            wanted << dir;
        QStringList stale;
        const QStringList watched = FFileWatcher->files() + FFileWatcher->directories();
        for (const QString &p : watched)
            if (!wanted.contains(p))
                stale << p;
        if (!stale.isEmpty())
            FFileWatcher->removePaths(stale);
        QStringList missing;
        for (const QString &p : wanted)
            if (!watched.contains(p))
                missing << p;
        if (!missing.isEmpty())
            FFileWatcher->addPaths(missing);
    }

    void ExternalChange()
    {
        TCallbacks fired;
        {
            std::lock_guard<std::recursive_mutex> lock(Mutex);
            Ini();
            fired = Changed();
            WatchFile();
        }
        for (auto &f : fired)
            if (f)
                f();
    }

    std::unique_ptr<TMemIniFile> FIni;
    UnicodeString FFile;
    TFileSig FSig;
    bool FStale = false;
    std::map<int, TWatcher> FWatchers;
    int FNextId = 0;
    QPointer<QFileSystemWatcher> FFileWatcher;
};

void Fire(const TCallbacks &Callbacks)
{
    for (const auto &f : Callbacks)
        if (f)
            f();
}

[[noreturn]] void RegError(const char *Fmt, const UnicodeString &Name)
{
    throw ERegistryException(QString::fromLatin1(Fmt).arg(Name));
}

bool KeyExistsAt(HKEY Root, const UnicodeString &Path)
{
    if (Path.isEmpty())
        return true;
    auto &store = TRegistryStore::Instance();
    std::lock_guard<std::recursive_mutex> lock(store.Mutex);
    TMemIniFile &ini = store.Ini();
    const UnicodeString section = SectionOf(Root, Path);
    if (ini.SectionExists(section))
        return true;
    // A key also exists through its subkeys, as in a file edited by hand.
    TStringList sections;
    ini.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i)
        if (IsBelow(sections.Strings(i), section))
            return true;
    return false;
}

// Adds the sections of Path and of every missing parent; true when any was missing.
bool EnsureKey(TMemIniFile &Ini, HKEY Root, const UnicodeString &Path)
{
    bool created = false;
    UnicodeString path;
    for (const QString &part : Path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        path = path.isEmpty() ? part : path + QLatin1Char('\\') + part;
        const UnicodeString section = SectionOf(Root, path);
        if (!Ini.SectionExists(section)) {
            // An empty section is how an empty key is kept; "@@" is never a stored value name
            // ("@" is written as %40).
            Ini.WriteString(section, QStringLiteral("@@"), UnicodeString());
            Ini.DeleteKey(section, QStringLiteral("@@"));
            created = true;
        }
    }
    return created;
}

bool CreateKeyAt(HKEY Root, const UnicodeString &Path)
{
    auto &store = TRegistryStore::Instance();
    TCallbacks fired;
    {
        std::lock_guard<std::recursive_mutex> lock(store.Mutex);
        if (!EnsureKey(store.Ini(), Root, Path))
            return true;
        if (!store.Save())
            return false;
        fired = store.Changed();
    }
    Fire(fired);
    return true;
}

bool DeleteKeyAt(HKEY Root, const UnicodeString &Path)
{
    auto &store = TRegistryStore::Instance();
    TCallbacks fired;
    bool existed = false;
    {
        std::lock_guard<std::recursive_mutex> lock(store.Mutex);
        TMemIniFile &ini = store.Ini();
        const UnicodeString section = SectionOf(Root, Path);
        TStringList sections;
        ini.ReadSections(&sections);
        for (int i = 0; i < sections.Count(); ++i) {
            const UnicodeString s = sections.Strings(i);
            if (SameText(s, section) || IsBelow(s, section)) {
                ini.EraseSection(s);
                existed = true;
            }
        }
        if (existed) {
            if (!store.Save())
                return false;
            fired = store.Changed();
        }
    }
    Fire(fired);
    return existed;
}

QStringList SubKeysAt(HKEY Root, const UnicodeString &Path)
{
    auto &store = TRegistryStore::Instance();
    std::lock_guard<std::recursive_mutex> lock(store.Mutex);
    const UnicodeString section = SectionOf(Root, Path);
    TStringList sections;
    store.Ini().ReadSections(&sections);
    QStringList result;
    for (int i = 0; i < sections.Count(); ++i) {
        const UnicodeString s = sections.Strings(i);
        if (!IsBelow(s, section))
            continue;
        // Only names that open: a hand-written section with an empty part ("A\\B", "A\") names
        // no key that OpenKey reaches, and listed it would send a walk down the keys into the
        // same key again or into one that is not there.
        const UnicodeString rest = s.mid(section.size() + 1);
        const qsizetype cut = rest.indexOf(QLatin1Char('\\'));
        const UnicodeString child = rest.left(cut);
        if (child.isEmpty() || (cut >= 0 && (cut + 1 >= rest.size() || rest[cut + 1] == u'\\')))
            continue;
        if (!result.contains(child, Qt::CaseInsensitive))
            result << child;
    }
    return result;
}

QStringList ValueNamesAt(HKEY Root, const UnicodeString &Path)
{
    auto &store = TRegistryStore::Instance();
    std::lock_guard<std::recursive_mutex> lock(store.Mutex);
    TStringList keys;
    store.Ini().ReadSection(SectionOf(Root, Path), &keys);
    QStringList result;
    for (int i = 0; i < keys.Count(); ++i)
        result << DecodeName(keys.Strings(i));
    return result;
}

// The INI key of a value: its encoded name, or, in a file edited by hand, a key written without
// the encoding (a name with blanks, say) that GetValueNames lists under this name.
UnicodeString KeyOf(TMemIniFile &Ini, const UnicodeString &Section, const UnicodeString &Name)
{
    const UnicodeString key = EncodeName(Name);
    if (Ini.ValueExists(Section, key))
        return key;
    TStringList keys;
    Ini.ReadSection(Section, &keys);
    for (int i = 0; i < keys.Count(); ++i)
        if (SameText(DecodeName(keys.Strings(i)), Name))
            return keys.Strings(i);
    return key;
}

bool ReadValueAt(HKEY Root, const UnicodeString &Path, const UnicodeString &Name, TRegValue &Value)
{
    auto &store = TRegistryStore::Instance();
    std::lock_guard<std::recursive_mutex> lock(store.Mutex);
    TMemIniFile &ini = store.Ini();
    const UnicodeString section = SectionOf(Root, Path);
    const UnicodeString key = KeyOf(ini, section, Name);
    if (!ini.ValueExists(section, key))
        return false;
    Value = DecodeValue(ini.ReadString(section, key, UnicodeString()));
    return true;
}

void WriteValueAt(HKEY Root, const UnicodeString &Path, const UnicodeString &Name, const TRegValue &Value)
{
    auto &store = TRegistryStore::Instance();
    TCallbacks fired;
    {
        std::lock_guard<std::recursive_mutex> lock(store.Mutex);
        TMemIniFile &ini = store.Ini();
        const bool created = EnsureKey(ini, Root, Path);
        const UnicodeString section = SectionOf(Root, Path);
        const UnicodeString key = KeyOf(ini, section, Name);
        const UnicodeString text = EncodeValue(Value);
        // Writing what is already there changes nothing and wakes no watcher.
        if (!created && ini.ValueExists(section, key) && ini.ReadString(section, key, UnicodeString()) == text)
            return;
        ini.WriteString(section, key, text);
        if (!store.Save())
            RegError("Failed to set data for '%1'", Name);
        fired = store.Changed();
    }
    Fire(fired);
}

bool DeleteValueAt(HKEY Root, const UnicodeString &Path, const UnicodeString &Name)
{
    auto &store = TRegistryStore::Instance();
    TCallbacks fired;
    {
        std::lock_guard<std::recursive_mutex> lock(store.Mutex);
        TMemIniFile &ini = store.Ini();
        const UnicodeString section = SectionOf(Root, Path);
        const UnicodeString key = KeyOf(ini, section, Name);
        if (!ini.ValueExists(section, key))
            return false;
        ini.DeleteKey(section, key);
        if (!store.Save())
            return false;
        fired = store.Changed();
    }
    Fire(fired);
    return true;
}

void FillStrings(TStrings *Strings, const QStringList &Items)
{
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        for (const QString &s : Items)
            Strings->Add(s);
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

int TextToInt(const UnicodeString &Text, int Default)
{
    UnicodeString s = Text;
    if (s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X'))
        s = QLatin1Char('$') + s.mid(2);
    return StrToIntDef(s, Default);
}

} // namespace

UnicodeString RegistryFileName()
{
    const QString custom = qEnvironmentVariable("FABRICOR_REGISTRY_FILE");
    if (!custom.isEmpty())
        return custom;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Fabricor/registry.ini");
}

int RegisterKeyWatcher(HKEY Root, const UnicodeString &KeyPath, std::function<void()> OnChange)
{
    auto &store = TRegistryStore::Instance();
    std::lock_guard<std::recursive_mutex> lock(store.Mutex);
    return store.AddWatcher(Root, KeyPath, std::move(OnChange));
}

void UnregisterKeyWatcher(int Id)
{
    auto &store = TRegistryStore::Instance();
    std::lock_guard<std::recursive_mutex> lock(store.Mutex);
    store.RemoveWatcher(Id);
}

// ---------------------------------------------------------------------------------------------
// TRegistry

void TRegistry::SetRootKey(HKEY Value)
{
    if (Value == FRootKey)
        return;
    CloseKey();
    FRootKey = Value;
}

UnicodeString TRegistry::ResolvePath(const UnicodeString &Key) const
{
    const bool absolute = Key.startsWith(QLatin1Char('\\')) || Key.startsWith(QLatin1Char('/'));
    if (absolute || !FKeyOpen || FCurrentPath.isEmpty())
        return NormalizePath(Key);
    return NormalizePath(FCurrentPath + QLatin1Char('\\') + Key);
}

bool TRegistry::OpenKey(const UnicodeString &Key, bool CanCreate)
{
    const UnicodeString path = ResolvePath(Key);
    const bool canWrite = (FAccess & KEY_SET_VALUE) != 0;
    bool ok = KeyExistsAt(FRootKey, path);
    if (!ok && CanCreate && (FAccess & KEY_CREATE_SUB_KEY) != 0)
        ok = CreateKeyAt(FRootKey, path);
    if (ok) {
        FCurrentPath = path;
        FKeyOpen = true;
        FReadOnly = !canWrite;
    }
    return ok;
}

bool TRegistry::OpenKeyReadOnly(const UnicodeString &Key)
{
    const UnicodeString path = ResolvePath(Key);
    if (!KeyExistsAt(FRootKey, path))
        return false;
    FCurrentPath = path;
    FKeyOpen = true;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    FKeyOpen = false;
    FReadOnly = false;
    FCurrentPath.clear();
}

bool TRegistry::CreateKey(const UnicodeString &Key)
{
    if (FReadOnly || !CreateKeyAt(FRootKey, ResolvePath(Key)))
        throw ERegistryException(QStringLiteral("Failed to create key %1").arg(Key));
    return true;
}

bool TRegistry::KeyExists(const UnicodeString &Key)
{
    return KeyExistsAt(FRootKey, ResolvePath(Key));
}

bool TRegistry::DeleteKey(const UnicodeString &Key)
{
    const UnicodeString path = ResolvePath(Key);
    if (FReadOnly || path.isEmpty())
        return false;
    return DeleteKeyAt(FRootKey, path);
}

bool TRegistry::HasSubKeys()
{
    return !SubKeysAt(FRootKey, FCurrentPath).isEmpty();
}

void TRegistry::GetKeyNames(TStrings *Strings)
{
    FillStrings(Strings, SubKeysAt(FRootKey, FCurrentPath));
}

void TRegistry::GetValueNames(TStrings *Strings)
{
    FillStrings(Strings, ValueNamesAt(FRootKey, FCurrentPath));
}

bool TRegistry::ValueExists(const UnicodeString &Name)
{
    TRegValue v;
    return ReadValueAt(FRootKey, FCurrentPath, Name, v);
}

bool TRegistry::DeleteValue(const UnicodeString &Name)
{
    if (FReadOnly)
        return false;
    return DeleteValueAt(FRootKey, FCurrentPath, Name);
}

TRegDataType TRegistry::GetDataType(const UnicodeString &Name)
{
    TRegValue v;
    return ReadValueAt(FRootKey, FCurrentPath, Name, v) ? v.Type : rdUnknown;
}

UnicodeString TRegistry::ReadString(const UnicodeString &Name)
{
    TRegValue v;
    if (!ReadValueAt(FRootKey, FCurrentPath, Name, v))
        return UnicodeString();
    if (v.Type != rdString && v.Type != rdExpandString)
        RegError("Invalid data type for '%1'", Name);
    return v.Text;
}

int TRegistry::ReadInteger(const UnicodeString &Name)
{
    TRegValue v;
    if (!ReadValueAt(FRootKey, FCurrentPath, Name, v))
        RegError("Failed to get data for '%1'", Name);
    if (v.Type != rdInteger)
        RegError("Invalid data type for '%1'", Name);
    return v.Int;
}

bool TRegistry::ReadBool(const UnicodeString &Name)
{
    return ReadInteger(Name) != 0;
}

void TRegistry::WriteString(const UnicodeString &Name, const UnicodeString &Value)
{
    if (FReadOnly)
        RegError("Failed to set data for '%1'", Name);
    TRegValue v;
    v.Type = rdString;
    v.Text = Value;
    WriteValueAt(FRootKey, FCurrentPath, Name, v);
}

void TRegistry::WriteInteger(const UnicodeString &Name, int Value)
{
    if (FReadOnly)
        RegError("Failed to set data for '%1'", Name);
    TRegValue v;
    v.Type = rdInteger;
    v.Int = Value;
    WriteValueAt(FRootKey, FCurrentPath, Name, v);
}

void TRegistry::WriteBool(const UnicodeString &Name, bool Value)
{
    WriteInteger(Name, Value ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------
// TRegIniFile

TRegIniFile::TRegIniFile(const UnicodeString &FileName, LongWord AAccess) : TRegistry(AAccess), FFileName(FileName)
{
    OpenKey(FileName, true);
}

UnicodeString TRegIniFile::ReadString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Default)
{
    TRegValue v;
    if (!ReadValueAt(RootKey(), ResolvePath(Section), Ident, v))
        return Default;
    return v.Type == rdInteger ? QString::number(v.Int) : v.Text;
}

void TRegIniFile::WriteString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Value)
{
    if (ReadOnly())
        RegError("Failed to set data for '%1'", Ident);
    TRegValue v;
    v.Type = rdString;
    v.Text = Value;
    WriteValueAt(RootKey(), ResolvePath(Section), Ident, v);
}

int TRegIniFile::ReadInteger(const UnicodeString &Section, const UnicodeString &Ident, int Default)
{
    TRegValue v;
    if (!ReadValueAt(RootKey(), ResolvePath(Section), Ident, v))
        return Default;
    return v.Type == rdInteger ? v.Int : TextToInt(v.Text, Default);
}

void TRegIniFile::WriteInteger(const UnicodeString &Section, const UnicodeString &Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TRegIniFile::ReadBool(const UnicodeString &Section, const UnicodeString &Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const UnicodeString &Section, const UnicodeString &Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TRegIniFile::ReadSection(const UnicodeString &Section, TStrings *Strings)
{
    FillStrings(Strings, ValueNamesAt(RootKey(), ResolvePath(Section)));
}

void TRegIniFile::ReadSections(TStrings *Strings)
{
    FillStrings(Strings, SubKeysAt(RootKey(), CurrentPath()));
}

void TRegIniFile::ReadSectionValues(const UnicodeString &Section, TStrings *Strings)
{
    const UnicodeString path = ResolvePath(Section);
    QStringList lines;
    for (const QString &name : ValueNamesAt(RootKey(), path)) {
        TRegValue v;
        if (ReadValueAt(RootKey(), path, name, v))
            lines << name + QLatin1Char('=') + (v.Type == rdInteger ? QString::number(v.Int) : v.Text);
    }
    FillStrings(Strings, lines);
}

void TRegIniFile::EraseSection(const UnicodeString &Section)
{
    const UnicodeString path = ResolvePath(Section);
    if (!ReadOnly() && !path.isEmpty())
        DeleteKeyAt(RootKey(), path);
}

void TRegIniFile::DeleteKey(const UnicodeString &Section, const UnicodeString &Ident)
{
    if (!ReadOnly())
        DeleteValueAt(RootKey(), ResolvePath(Section), Ident);
}

// ---------------------------------------------------------------------------------------------
// TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const UnicodeString &FileName, LongWord AAccess)
    : TCustomIniFile(FileName), FRegIniFile(std::make_unique<TRegIniFile>(FileName, AAccess))
{
}

TRegistryIniFile::~TRegistryIniFile() = default;

UnicodeString TRegistryIniFile::ReadString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Default)
{
    return FRegIniFile->ReadString(Section, Ident, Default);
}

void TRegistryIniFile::WriteString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Value)
{
    FRegIniFile->WriteString(Section, Ident, Value);
}

int TRegistryIniFile::ReadInteger(const UnicodeString &Section, const UnicodeString &Ident, int Default)
{
    return FRegIniFile->ReadInteger(Section, Ident, Default);
}

void TRegistryIniFile::WriteInteger(const UnicodeString &Section, const UnicodeString &Ident, int Value)
{
    TRegIniFile &reg = *FRegIniFile;
    if (reg.ReadOnly())
        RegError("Failed to set data for '%1'", Ident);
    const UnicodeString path = reg.ResolvePath(Section);
    TRegValue v;
    if (ReadValueAt(reg.RootKey(), path, Ident, v) && v.Type != rdInteger) {
        reg.WriteString(Section, Ident, IntToStr(Value));
        return;
    }
    v.Type = rdInteger;
    v.Int = Value;
    WriteValueAt(reg.RootKey(), path, Ident, v);
}

bool TRegistryIniFile::ReadBool(const UnicodeString &Section, const UnicodeString &Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegistryIniFile::WriteBool(const UnicodeString &Section, const UnicodeString &Ident, bool Value)
{
    WriteInteger(Section, Ident, Value ? 1 : 0);
}

void TRegistryIniFile::ReadSection(const UnicodeString &Section, TStrings *Strings)
{
    FRegIniFile->ReadSection(Section, Strings);
}

void TRegistryIniFile::ReadSections(TStrings *Strings)
{
    FRegIniFile->ReadSections(Strings);
}

void TRegistryIniFile::ReadSectionValues(const UnicodeString &Section, TStrings *Strings)
{
    FRegIniFile->ReadSectionValues(Section, Strings);
}

bool TRegistryIniFile::SectionExists(const UnicodeString &Section)
{
    const UnicodeString path = FRegIniFile->ResolvePath(Section);
    return !path.isEmpty() && KeyExistsAt(FRegIniFile->RootKey(), path);
}

bool TRegistryIniFile::ValueExists(const UnicodeString &Section, const UnicodeString &Ident)
{
    TRegValue v;
    return ReadValueAt(FRegIniFile->RootKey(), FRegIniFile->ResolvePath(Section), Ident, v);
}

void TRegistryIniFile::EraseSection(const UnicodeString &Section)
{
    FRegIniFile->EraseSection(Section);
}

void TRegistryIniFile::DeleteKey(const UnicodeString &Section, const UnicodeString &Ident)
{
    FRegIniFile->DeleteKey(Section, Ident);
}
