// The file layer under a full disk, in a program folder whose name holds "\", and facing pipes,
// devices and links where files are expected.
#include "platform/FileUtils.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

class FileSafetyTest : public TempDirTest {
protected:
    void TearDown() override
    {
        SetFileWriteHooks({});
        SetProgramFolder(QString());
    }

    // The temporary folder's entries, hidden ones included.
    QStringList Entries(const QString &folder = QString()) const
    {
        return QDir(folder.isEmpty() ? Dir() : folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    QString MakeFifo(const QString &name) const
    {
        const QString p = PathOf(name);
        EXPECT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0) << std::strerror(errno);
        return p;
    }

    void Link(const QString &target, const QString &name) const
    {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(PathOf(name)).constData()), 0) << std::strerror(errno);
    }

    static bool IsLink(const QString &p)
    {
        struct stat st;
        return ::lstat(QFile::encodeName(p).constData(), &st) == 0 && S_ISLNK(st.st_mode);
    }
};

// A disk that takes Capacity bytes in all and then refuses with ENOSPC, as a nearly full one.
TFileWriteHooks DiskWithRoomFor(Int64 Capacity)
{
    auto used = std::make_shared<Int64>(0);
    TFileWriteHooks h;
    h.Write = [used, Capacity](int fd, const char *buf, Int64 count) -> Int64 {
        const Int64 room = Capacity - *used;
        if (room <= 0) {
            errno = ENOSPC;
            return -1;
        }
        const Int64 n = ::write(fd, buf, static_cast<size_t>(std::min(room, count)));
        if (n > 0)
            *used += n;
        return n;
    };
    return h;
}

TEST_F(FileSafetyTest, AFailedWriteOrSyncKeepsTheOldFileAndNamesPathAndReason)
{
    const QByteArray old = "<Conf_Settings>the settings as they were</Conf_Settings>";
    const QByteArray fresh(5000, 'n');
    const QString target = PathOf("Fabricor.xml");

    TFileWriteHooks syncFails;
    syncFails.Sync = [](int) {
        errno = EIO;
        return -1;
    };
    // A write that takes a part each time, so that the loop must go on after a short write.
    TFileWriteHooks shortWrites;
    shortWrites.Write = [](int fd, const char *buf, Int64 count) -> Int64 { return ::write(fd, buf, static_cast<size_t>(std::min<Int64>(count, 7))); };

    const struct {
        const char *Name;
        TFileWriteHooks Hooks;
        int Errno; // 0: the write succeeds
    } cases[] = {
        {"disk full at once", DiskWithRoomFor(0), ENOSPC},
        {"disk full after some bytes", DiskWithRoomFor(3), ENOSPC},
        {"disk full one byte short", DiskWithRoomFor(fresh.size() - 1), ENOSPC},
        {"sync fails", syncFails, EIO},
        {"short writes", shortWrites, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes("Fabricor.xml", old);
        ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
        SetFileWriteHooks(c.Hooks);
        if (c.Errno == 0) {
            WriteFileAtomic(Dir() + QStringLiteral("\\Fabricor.xml"), fresh);
            EXPECT_EQ(ReadBytes("Fabricor.xml"), fresh);
            struct stat st;
            ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0640u) << "the new file keeps the old one's permissions";
        } else {
            try {
                WriteFileAtomic(Dir() + QStringLiteral("\\Fabricor.xml"), fresh);
                ADD_FAILURE() << "no error";
            } catch (const EFCreateError &e) {
                EXPECT_TRUE(e.Message().contains(target)) << e.Message().toStdString();
                EXPECT_TRUE(e.Message().contains(QString::fromLocal8Bit(std::strerror(c.Errno)))) << e.Message().toStdString();
            }
            EXPECT_EQ(ReadBytes("Fabricor.xml"), old);
        }
        EXPECT_EQ(Entries(), QStringList{QStringLiteral("Fabricor.xml")}) << "no temporary file left";
        SetFileWriteHooks({});
    }
}

TEST_F(FileSafetyTest, NothingButARegularFileIsReplaced)
{
    WriteBytes("real.xml", "old");
    ASSERT_TRUE(QDir(Dir()).mkdir(QStringLiteral("folder")));
    const QString fifo = MakeFifo("pipe");
    Link(PathOf("real.xml"), "to_file.xml");
    Link(fifo, "to_pipe.xml");
    Link(PathOf("folder"), "to_folder.xml");
    Link(QStringLiteral("/dev/null"), "to_device.xml");
    Link(PathOf("nowhere"), "dangling.xml");

    // A link to a regular file is the user's choice: its file gets the bytes, the link stays.
    WriteFileAtomic(PathOf("to_file.xml"), "new");
    EXPECT_TRUE(IsLink(PathOf("to_file.xml")));
    EXPECT_EQ(ReadBytes("real.xml"), QByteArray("new"));

    for (const char *name : {"pipe", "to_pipe.xml", "to_folder.xml", "to_device.xml", "dangling.xml", "folder"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(WriteFileAtomic(PathOf(QString::fromLatin1(name)), "x"), EFCreateError);
    }
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    for (const char *name : {"to_pipe.xml", "to_folder.xml", "to_device.xml", "dangling.xml"})
        EXPECT_TRUE(IsLink(PathOf(QString::fromLatin1(name)))) << name;
    EXPECT_FALSE(QFileInfo::exists(PathOf("nowhere")));
    EXPECT_TRUE(QDir(PathOf("folder")).isEmpty());
    EXPECT_EQ(Entries().size(), 8) << Entries().join(u' ').toStdString();
}

TEST_F(FileSafetyTest, ReadersTakeRegularFilesWithinTheirBoundOnly)
{
    const QString fifo = MakeFifo("Fabricor.xml");
    Link(fifo, "ParGen.xml");
    Link(QStringLiteral("/dev/zero"), "English.lng");
    ASSERT_TRUE(QDir(Dir()).mkdir(QStringLiteral("folder")));
    // Opening a pipe for reading would wait for a writer, and reading /dev/zero never ends.
    for (const char *name : {"Fabricor.xml", "ParGen.xml", "English.lng", "folder"}) {
        SCOPED_TRACE(name);
        try {
            ReadFileBytes(PathOf(QString::fromLatin1(name)));
            ADD_FAILURE() << "read";
        } catch (const EFOpenError &e) {
            EXPECT_TRUE(e.Message().contains(PathOf(QString::fromLatin1(name)))) << e.Message().toStdString();
        }
    }

    WriteBytes("rules.xml", QByteArray(10, 'r'));
    EXPECT_EQ(ReadFileBytes(PathOf("rules.xml"), 10), QByteArray(10, 'r'));
    WriteBytes("rules.xml", QByteArray(11, 'r'));
    try {
        ReadFileBytes(PathOf("rules.xml"), 10);
        ADD_FAILURE() << "a file past the bound was read";
    } catch (const EFOpenError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("larger than 10 bytes"))) << e.Message().toStdString();
    }
    WriteBytes("empty.xml", QByteArray());
    EXPECT_EQ(ReadFileBytes(PathOf("empty.xml")), QByteArray());
    WriteBytes("big.xml", QByteArray(200000, 'b'));
    EXPECT_EQ(ReadFileBytes(PathOf("big.xml")).size(), 200000);
}

TEST_F(FileSafetyTest, AProgramFolderWithBackslashesKeepsItsName)
{
    // Mapped as a whole, "inner/a\..\..\x" would name "x" two levels up, beside "inner".
    ASSERT_TRUE(QDir(Dir()).mkpath(QStringLiteral("outer/inner/a")));
    const QString real = PathOf(QStringLiteral("outer/inner/a\\..\\..\\x"));
    ASSERT_TRUE(QDir().mkdir(real));
    SetProgramFolder(real + QStringLiteral("/"));
    EXPECT_EQ(ProgramFolder(), real);
    EXPECT_TRUE(ExeName().startsWith(real + u'/'));

    const QString exe = ProgramFolder();
    EXPECT_EQ(NativePath(exe + QStringLiteral("\\PROJECTS\\Plant")), real + QStringLiteral("/PROJECTS/Plant"));
    EXPECT_TRUE(ForceDirectories(exe + QStringLiteral("\\PROJECTS\\Plant\\bin")));
    WriteFileAtomic(exe + QStringLiteral("\\Fabricor.xml"), "settings");
    WriteFileAtomic(exe + QStringLiteral("\\PROJECTS\\Plant\\ParGen.xml"), "parameters");
    EXPECT_TRUE(FileExists(exe + QStringLiteral("\\Fabricor.xml")));
    EXPECT_EQ(ReadFileBytes(exe + QStringLiteral("\\PROJECTS\\Plant\\ParGen.xml")), QByteArray("parameters"));
    TSearchRec F;
    ASSERT_EQ(FindFirst(exe + QStringLiteral("\\PROJECTS\\*"), faDirectory, F), 0);
    EXPECT_EQ(F.Name, QStringLiteral("."));
    FindClose(F);

    EXPECT_EQ(Entries(real), (QStringList{QStringLiteral("Fabricor.xml"), QStringLiteral("PROJECTS")}));
    EXPECT_EQ(Entries(PathOf("outer")), QStringList{QStringLiteral("inner")}) << "nothing made beside the program folder";
    EXPECT_TRUE(QDir(PathOf("outer/inner/a")).isEmpty());
    // A path elsewhere is mapped as before.
    EXPECT_EQ(NativePath(QStringLiteral("/opt/app\\PROJECTS")), QStringLiteral("/opt/app/PROJECTS"));
}

TEST_F(FileSafetyTest, FolderNamesAreTheFoldersOfAFolderSearchInItsOrder)
{
    for (const char *name : {"beta", "Alpha", "alpha", "Zeta", ".hidden", "a\\b", "10", "9"})
        ASSERT_TRUE(QDir(Dir()).mkdir(QString::fromLatin1(name)));
    WriteBytes("file.xml", "x");
    MakeFifo("pipe");
    Link(PathOf("beta"), "link_to_folder");
    Link(PathOf("file.xml"), "link_to_file");
    Link(PathOf("nowhere"), "dangling");

    QStringList searched;
    TSearchRec F;
    ASSERT_EQ(FindFirst(Dir() + QStringLiteral("/*"), faDirectory | faHidden, F), 0);
    do {
        if ((F.Attr & faDirectory) && F.Name != QLatin1String(".") && F.Name != QLatin1String(".."))
            searched << F.Name;
    } while (FindNext(F) == 0);
    FindClose(F);
    EXPECT_EQ(searched, (QStringList{QStringLiteral(".hidden"), QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("a\\b"),
                                     QStringLiteral("Alpha"), QStringLiteral("alpha"), QStringLiteral("beta"),
                                     QStringLiteral("link_to_folder"), QStringLiteral("Zeta")}));
    EXPECT_EQ(FindFolderNames(Dir()), searched);
    EXPECT_EQ(FindFolderNames(Dir() + QStringLiteral("\\link_to_folder")), QStringList());
    EXPECT_EQ(FindFolderNames(PathOf("missing")), QStringList());
    EXPECT_EQ(FindFolderNames(PathOf("file.xml")), QStringList());
}

} // namespace
