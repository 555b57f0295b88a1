#include "platform/FileUtils.h"

#include "platform/SysUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <iterator>
#include <string_view>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int ErrorFileNotFound = 2;
constexpr int ErrorPathNotFound = 3;
constexpr int ErrorNoMoreFiles = 18;

bool IsPathDelimiter(QChar c)
{
    return c == u'/' || c == u'\\';
}

// The index of the last "\" or "/" of s, -1 when there is none.
qsizetype LastPathDelimiter(const UnicodeString &s)
{
    return LastDelimiter(QStringLiteral("\\/"), s) - 1;
}

QByteArray Encoded(const UnicodeString &path)
{
    return QFile::encodeName(NativePath(path));
}

bool StatPath(const UnicodeString &path, struct stat &st)
{
    const QByteArray p = Encoded(path);
    return !p.isEmpty() && ::stat(p.constData(), &st) == 0;
}

// Read-only means we may not write it, or nobody may: root passes every access check, and a
// file its owner marked read-only is still meant to be read-only.
bool ModeReadOnly(const QByteArray &path, const struct stat &st)
{
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.constData(), W_OK) != 0;
}

int DosDateTime(const QDateTime &dt)
{
    if (!dt.isValid())
        return 0;
    const QDate d = dt.date();
    const QTime t = dt.time();
    if (d.year() < 1980 || d.year() > 2107)
        return 0;
    const unsigned date = (unsigned(d.year() - 1980) << 9) | (unsigned(d.month()) << 5) | unsigned(d.day());
    const unsigned time = (unsigned(t.hour()) << 11) | (unsigned(t.minute()) << 5) | unsigned(t.second() / 2);
    return static_cast<int>((date << 16) | time);
}

QDateTime ModificationTime(const struct stat &st)
{
    return QDateTime::fromMSecsSinceEpoch(Int64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000);
}

int AttributesOf(const QByteArray &fullPath, const UnicodeString &name, const struct stat &st)
{
    int attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= faDirectory;
    else if (S_ISREG(st.st_mode))
        attr |= faArchive;
    else
        attr |= faSysFile;
    if (name.startsWith(u'.') && name != QLatin1String(".") && name != QLatin1String(".."))
        attr |= faHidden;
    if (ModeReadOnly(fullPath, st))
        attr |= faReadOnly;
    return attr;
}

QChar Folded(QChar c)
{
    return c.toCaseFolded();
}

// "*" matches any run of characters, "?" any one character; letter case is ignored.
bool WildcardMatch(const UnicodeString &pattern, const UnicodeString &name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || Folded(pattern[p]) == Folded(name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

UnicodeString &ProgramFolderOverride()
{
    static UnicodeString folder;
    return folder;
}

UnicodeString ExecutablePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

// The executable does not move while it runs; every path mapping asks for its folder.
const UnicodeString &ExecutableFolder()
{
    static const UnicodeString folder = QFileInfo(ExecutablePath()).absolutePath();
    return folder;
}

UnicodeString ErrnoText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

} // namespace

struct TSearchState {
    struct TEntry {
        UnicodeString Name;
        int Attr = 0;
        Int64 Size = 0;
        QDateTime Time;
    };
    std::vector<TEntry> Entries;
    std::size_t Next = 0;
};

UnicodeString NativePath(const UnicodeString &Path)
{
    // A "\\" that is part of the program folder's real name would otherwise lead the path
    // elsewhere ("a\\..\\..\\x" climbing out of it); only what the program appended is mapped.
    const UnicodeString &folder = ProgramFolder();
    qsizetype keep = 0;
    if (folder.contains(u'\\') && Path.startsWith(folder) && (Path.size() == folder.size() || IsPathDelimiter(Path[folder.size()])))
        keep = folder.size();
    UnicodeString p = Path;
    for (qsizetype i = keep; i < p.size(); ++i)
        if (p[i] == u'\\')
            p[i] = u'/';
    return p;
}

bool FileExists(const UnicodeString &FileName)
{
    struct stat st;
    return StatPath(FileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const UnicodeString &Directory)
{
    struct stat st;
    return StatPath(Directory, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(const UnicodeString &Dir)
{
    const QByteArray p = Encoded(Dir);
    return !p.isEmpty() && ::mkdir(p.constData(), 0777) == 0;
}

bool ForceDirectories(const UnicodeString &Dir)
{
    const UnicodeString p = NativePath(Dir);
    if (p.isEmpty())
        return false;
    return QDir().mkpath(p) && DirectoryExists(p);
}

bool DeleteFile(const UnicodeString &FileName)
{
    struct stat st;
    const QByteArray p = Encoded(FileName);
    if (p.isEmpty() || ::lstat(p.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return ::unlink(p.constData()) == 0;
}

bool RenameFile(const UnicodeString &OldName, const UnicodeString &NewName)
{
    const QByteArray from = Encoded(OldName), to = Encoded(NewName);
    struct stat st;
    if (from.isEmpty() || to.isEmpty() || ::lstat(to.constData(), &st) == 0)
        return false; // the classic rename never replaces an existing file
    return ::rename(from.constData(), to.constData()) == 0;
}

bool RemoveDir(const UnicodeString &Dir)
{
    const QByteArray p = Encoded(Dir);
    return !p.isEmpty() && ::rmdir(p.constData()) == 0;
}

UnicodeString ExtractFilePath(const UnicodeString &FileName)
{
    return FileName.left(LastPathDelimiter(FileName) + 1);
}

UnicodeString ExtractFileDir(const UnicodeString &FileName)
{
    qsizetype i = LastPathDelimiter(FileName);
    if (i > 0 && !IsPathDelimiter(FileName[i - 1]))
        return FileName.left(i);
    return FileName.left(i + 1);
}

UnicodeString ExtractFileName(const UnicodeString &FileName)
{
    return FileName.mid(LastPathDelimiter(FileName) + 1);
}

UnicodeString ExtractFileExt(const UnicodeString &FileName)
{
    const qsizetype dot = FileName.lastIndexOf(u'.');
    return dot > LastPathDelimiter(FileName) ? FileName.mid(dot) : UnicodeString();
}

UnicodeString ChangeFileExt(const UnicodeString &FileName, const UnicodeString &Extension)
{
    const qsizetype dot = FileName.lastIndexOf(u'.');
    const qsizetype end = dot > LastPathDelimiter(FileName) ? dot : FileName.size();
    return FileName.left(end) + Extension;
}

UnicodeString IncludeTrailingPathDelimiter(const UnicodeString &S)
{
    if (!S.isEmpty() && IsPathDelimiter(S.back()))
        return S;
    return S + QChar(PathDelim);
}

UnicodeString ExcludeTrailingPathDelimiter(const UnicodeString &S)
{
    if (S.size() > 1 && IsPathDelimiter(S.back()))
        return S.left(S.size() - 1);
    return S;
}

UnicodeString ExpandFileName(const UnicodeString &FileName)
{
    if (FileName.isEmpty())
        return UnicodeString();
    return QDir::cleanPath(QDir::current().absoluteFilePath(NativePath(FileName)));
}

UnicodeString GetCurrentDir()
{
    return QDir::currentPath();
}

bool SetCurrentDir(const UnicodeString &Dir)
{
    return QDir::setCurrent(NativePath(Dir));
}

int FileAge(const UnicodeString &FileName)
{
    struct stat st;
    if (!StatPath(FileName, st) || S_ISDIR(st.st_mode))
        return -1;
    return DosDateTime(ModificationTime(st));
}

bool FileSetReadOnly(const UnicodeString &FileName, bool ReadOnly)
{
    struct stat st;
    const QByteArray p = Encoded(FileName);
    if (!StatPath(FileName, st))
        return false;
    mode_t mode = st.st_mode & 07777;
    if (ReadOnly) {
        mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode |= mode_t(S_IWUSR) | (mode_t(S_IWGRP | S_IWOTH) & ~mask);
    }
    return ::chmod(p.constData(), mode) == 0;
}

bool FileIsReadOnly(const UnicodeString &FileName)
{
    struct stat st;
    return StatPath(FileName, st) && ModeReadOnly(Encoded(FileName), st);
}

int FileGetAttr(const UnicodeString &FileName)
{
    struct stat st;
    if (!StatPath(FileName, st))
        return -1;
    return AttributesOf(Encoded(FileName), ExtractFileName(NativePath(FileName)), st);
}

namespace {

void FillRecord(TSearchRec &F, const TSearchState::TEntry &e)
{
    F.Name = e.Name;
    F.Attr = e.Attr;
    F.Size = e.Size;
    F.TimeStamp = e.Time;
    F.Time = DosDateTime(e.Time);
}

} // namespace

namespace {

// "." and ".." first, then names without regard to case (ties by code), as the classic search
// on the system's file system returns them. Each name is folded once, not at every comparison.
template <typename T, typename NameOf>
void SortBySearchOrder(std::vector<T> &items, NameOf nameOf)
{
    struct TKey {
        int Rank;
        UnicodeString Folded;
        std::size_t Index;
    };
    std::vector<TKey> keys;
    keys.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const UnicodeString &n = nameOf(items[i]);
        const int rank = n == QLatin1String(".") ? 0 : n == QLatin1String("..") ? 1 : 2;
        keys.push_back({rank, n.toCaseFolded(), i});
    }
    // Code unit order, as QString's own comparison, through the plain string view compare.
    auto view = [](const UnicodeString &t) { return std::u16string_view(reinterpret_cast<const char16_t *>(t.utf16()), static_cast<std::size_t>(t.size())); };
    std::sort(keys.begin(), keys.end(), [&](const TKey &a, const TKey &b) {
        if (a.Rank != b.Rank)
            return a.Rank < b.Rank;
        if (const int c = view(a.Folded).compare(view(b.Folded)); c != 0)
            return c < 0;
        return view(nameOf(items[a.Index])) < view(nameOf(items[b.Index]));
    });
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (const TKey &k : keys)
        sorted.push_back(std::move(items[k.Index]));
    items.swap(sorted);
}

} // namespace

QStringList FindFolderNames(const UnicodeString &Folder)
{
    std::vector<UnicodeString> names;
    const QByteArray folder = Encoded(Folder);
    DIR *dir = folder.isEmpty() ? nullptr : ::opendir(folder.constData());
    if (!dir)
        return QStringList();
    const int fd = ::dirfd(dir);
    while (const dirent *d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
            continue;
        bool isDir = d->d_type == DT_DIR;
        if (d->d_type == DT_UNKNOWN || d->d_type == DT_LNK) {
            struct stat st;
            isDir = ::fstatat(fd, d->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (isDir)
            names.push_back(QFile::decodeName(d->d_name));
    }
    ::closedir(dir);
    SortBySearchOrder(names, [](const UnicodeString &n) -> const UnicodeString & { return n; });
    return QStringList(std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
}

int FindFirst(const UnicodeString &Path, int Attr, TSearchRec &F)
{
    F = TSearchRec();
    const UnicodeString native = NativePath(Path);
    const qsizetype slash = native.lastIndexOf(u'/');
    UnicodeString folder = slash >= 0 ? native.left(slash + 1) : QStringLiteral("./");
    UnicodeString pattern = native.mid(slash + 1);
    if (pattern == QLatin1String("*.*"))
        pattern = QStringLiteral("*");
    if (pattern.isEmpty())
        return ErrorFileNotFound;

    const QByteArray encodedFolder = QFile::encodeName(folder);
    DIR *dir = ::opendir(encodedFolder.constData());
    if (!dir)
        return ErrorPathNotFound;

    // Entries outside the asked-for set of hidden, system and folder attributes are left out.
    const int excluded = ~Attr & (faHidden | faSysFile | faDirectory);
    auto state = std::make_shared<TSearchState>();
    while (const dirent *d = ::readdir(dir)) {
        const UnicodeString name = QFile::decodeName(d->d_name);
        if (!WildcardMatch(pattern, name))
            continue;
        const QByteArray full = encodedFolder + d->d_name;
        struct stat st;
        if (::stat(full.constData(), &st) != 0 && ::lstat(full.constData(), &st) != 0)
            continue; // vanished meanwhile
        TSearchState::TEntry e;
        e.Name = name;
        e.Attr = AttributesOf(full, name, st);
        if (e.Attr & excluded)
            continue;
        e.Size = S_ISDIR(st.st_mode) ? 0 : Int64(st.st_size);
        e.Time = ModificationTime(st);
        state->Entries.push_back(std::move(e));
    }
    ::closedir(dir);

    // The file system gives no order; the system's expects "." and ".." first and names in
    // alphabetical order, as the classic search on its file system returns them.
    SortBySearchOrder(state->Entries, [](const TSearchState::TEntry &e) -> const UnicodeString & { return e.Name; });

    if (state->Entries.empty())
        return ErrorFileNotFound;
    FillRecord(F, state->Entries[0]);
    state->Next = 1;
    F.FindHandle = std::move(state);
    return 0;
}

int FindNext(TSearchRec &F)
{
    TSearchState *state = F.FindHandle.get();
    if (!state || state->Next >= state->Entries.size())
        return ErrorNoMoreFiles;
    FillRecord(F, state->Entries[state->Next++]);
    return 0;
}

void FindClose(TSearchRec &F)
{
    F.FindHandle.reset();
}

namespace {

TFileWriteHooks &WriteHooks()
{
    static TFileWriteHooks hooks;
    return hooks;
}

Int64 WriteSome(int fd, const char *buf, Int64 count)
{
    const TFileWriteHooks &h = WriteHooks();
    return h.Write ? h.Write(fd, buf, count) : Int64(::write(fd, buf, static_cast<size_t>(count)));
}

int SyncFile(int fd)
{
    const TFileWriteHooks &h = WriteHooks();
    return h.Sync ? h.Sync(fd) : ::fsync(fd);
}

// The temporary file of an atomic write: removed unless it was renamed over the target.
struct TTempFile {
    QByteArray Name;
    int Fd = -1;
    bool Kept = false;
    ~TTempFile()
    {
        if (Fd >= 0)
            ::close(Fd);
        if (!Kept && !Name.isEmpty())
            ::unlink(Name.constData());
    }
};

UnicodeString NotRegularReason(const struct stat &st)
{
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("A folder has that name");
    return QStringLiteral("It is not a regular file (a device, pipe or socket)");
}

} // namespace

TFileWriteHooks SetFileWriteHooks(TFileWriteHooks Hooks)
{
    TFileWriteHooks old = std::move(WriteHooks());
    WriteHooks() = std::move(Hooks);
    return old;
}

void WriteFileAtomic(const UnicodeString &Path, const QByteArray &Data)
{
    const UnicodeString native = NativePath(Path);
    auto fail = [&](const UnicodeString &reason) {
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(native, reason));
    };
    if (native.isEmpty())
        fail(QStringLiteral("The file name is empty"));

    QByteArray target = QFile::encodeName(native);
    struct stat st;
    bool exists = false;
    if (::lstat(target.constData(), &st) == 0) {
        if (S_ISLNK(st.st_mode)) {
            // The user linked the file elsewhere on purpose: the file the link names is replaced
            // and the link stays.
            char *real = ::realpath(target.constData(), nullptr);
            if (!real)
                fail(QStringLiteral("The link leads nowhere: %1").arg(ErrnoText(errno)));
            target = real;
            std::free(real);
            if (::stat(target.constData(), &st) != 0)
                fail(ErrnoText(errno));
        }
        if (!S_ISREG(st.st_mode))
            fail(NotRegularReason(st));
        if (ModeReadOnly(target, st))
            fail(QStringLiteral("Access is denied: the file is read-only"));
        exists = true;
    } else if (errno != ENOENT) {
        fail(ErrnoText(errno));
    }

    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash >= 0 ? target.left(slash + 1) : QByteArray();
    const QByteArray base = target.mid(slash + 1);
    TTempFile temp;
    for (int attempt = 0; temp.Fd < 0; ++attempt) {
        temp.Name = folder + '.' + base + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        temp.Fd = ::open(temp.Name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (temp.Fd < 0) {
            const int err = errno;
            temp.Name.clear();
            if (err != EEXIST || attempt >= 100)
                fail(ErrnoText(err));
        }
    }
    // The new file keeps the old one's permissions, as a file saved in place would.
    if (exists)
        (void)::fchmod(temp.Fd, st.st_mode & 07777);

    const char *p = Data.constData();
    Int64 left = Data.size();
    while (left > 0) {
        const Int64 n = WriteSome(temp.Fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(ErrnoText(n < 0 ? errno : ENOSPC));
        p += n;
        left -= n;
    }
    if (SyncFile(temp.Fd) != 0)
        fail(ErrnoText(errno));
    const int fd = temp.Fd;
    temp.Fd = -1;
    if (::close(fd) != 0)
        fail(ErrnoText(errno));
    if (::rename(temp.Name.constData(), target.constData()) != 0)
        fail(ErrnoText(errno));
    temp.Kept = true;

    // The rename itself reaches the disk with the folder's entry.
    const int dirFd = ::open(folder.isEmpty() ? "." : folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)::fsync(dirFd);
        ::close(dirFd);
    }
}

QByteArray ReadFileBytes(const UnicodeString &Path, Int64 MaxSize)
{
    const UnicodeString native = NativePath(Path);
    auto fail = [&](const UnicodeString &reason) {
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(native, reason));
    };
    const QByteArray encoded = QFile::encodeName(native);
    struct stat st;
    if (encoded.isEmpty())
        fail(ErrnoText(ENOENT));
    // Looked at before it is opened: opening a device may already do something, and opening a
    // pipe waits for a writer.
    if (::stat(encoded.constData(), &st) != 0)
        fail(ErrnoText(errno));
    if (!S_ISREG(st.st_mode))
        fail(NotRegularReason(st));

    auto tooLarge = [&] { fail(QStringLiteral("The file is larger than %1 bytes").arg(MaxSize)); };
    const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        fail(ErrnoText(errno));
    struct TCloser {
        int Fd;
        ~TCloser() { ::close(Fd); }
    } closer{fd};
    // Swapped for something else between the look and the open.
    if (::fstat(fd, &st) != 0)
        fail(ErrnoText(errno));
    if (!S_ISREG(st.st_mode))
        fail(NotRegularReason(st));
    if (st.st_size > MaxSize)
        tooLarge();

    QByteArray data;
    data.resize(static_cast<qsizetype>(std::min<Int64>(st.st_size, MaxSize)));
    qsizetype got = 0;
    for (;;) {
        if (got == data.size()) {
            // A file that grows while it is read still ends at the bound.
            if (got >= MaxSize) {
                char extra;
                const ssize_t n = ::read(fd, &extra, 1);
                if (n > 0)
                    tooLarge();
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0)
                    fail(ErrnoText(errno));
                break;
            }
            data.resize(static_cast<qsizetype>(std::min<Int64>(MaxSize, Int64(got) + 65536)));
        }
        const ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(data.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(ErrnoText(errno));
        if (n == 0)
            break;
        got += n;
    }
    data.resize(got);
    return data;
}

UnicodeString ProgramFolder()
{
    const UnicodeString &folder = ProgramFolderOverride();
    return folder.isEmpty() ? ExecutableFolder() : folder;
}

void SetProgramFolder(const UnicodeString &Folder)
{
    // A real folder: every character belongs to its name but a trailing separator.
    UnicodeString f = Folder;
    while (f.size() > 1 && f.endsWith(u'/'))
        f.chop(1);
    ProgramFolderOverride() = f;
}

UnicodeString ExeName()
{
    return ProgramFolder() + QChar(PathDelim) + QFileInfo(ExecutablePath()).fileName();
}
