#include "platform/FileUtils.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace {

struct TPathCase {
    const char *path;
    const char *filePath;
    const char *fileDir;
    const char *fileName;
    const char *fileExt;
};

TEST(FileUtilsPaths, PartsOfBackslashAndSlashPaths)
{
    const TPathCase cases[] = {
        {"C:\\PROJECTS\\Plant\\ParGen.xml", "C:\\PROJECTS\\Plant\\", "C:\\PROJECTS\\Plant", "ParGen.xml", ".xml"},
        {"/opt/app/PROJECTS/Plant/ParGen.xml", "/opt/app/PROJECTS/Plant/", "/opt/app/PROJECTS/Plant", "ParGen.xml", ".xml"},
        {"/opt/app\\LANGUAGE\\English.lng", "/opt/app\\LANGUAGE\\", "/opt/app\\LANGUAGE", "English.lng", ".lng"},
        {"\\Fabricor.xml", "\\", "\\", "Fabricor.xml", ".xml"},
        {"/bank.bin", "/", "/", "bank.bin", ".bin"},
        {"bank", "", "", "bank", ""},
        {"dir.d/bank", "dir.d/", "dir.d", "bank", ""},
        {"archive.tar.gz", "", "", "archive.tar.gz", ".gz"},
        {"name.", "", "", "name.", "."},
        {".hidden", "", "", ".hidden", ".hidden"},
        {"a/b/", "a/b/", "a/b", "", ""},
        {"", "", "", "", ""},
    };
    for (const TPathCase &c : cases) {
        const QString p = QString::fromUtf8(c.path);
        EXPECT_EQ(ExtractFilePath(p), QString::fromUtf8(c.filePath)) << c.path;
        EXPECT_EQ(ExtractFileDir(p), QString::fromUtf8(c.fileDir)) << c.path;
        EXPECT_EQ(ExtractFileName(p), QString::fromUtf8(c.fileName)) << c.path;
        EXPECT_EQ(ExtractFileExt(p), QString::fromUtf8(c.fileExt)) << c.path;
    }
}

TEST(FileUtilsPaths, ChangeExtAndTrailingDelimiters)
{
    const struct {
        const char *in, *ext, *out;
    } changes[] = {
        {"C:\\dir.x\\file.lng", ".bmp", "C:\\dir.x\\file.bmp"},
        {"dir.x/file", ".bmp", "dir.x/file.bmp"},
        {"a.tar.gz", "", "a.tar"},
        {"file.lng", "", "file"},
    };
    for (const auto &c : changes)
        EXPECT_EQ(ChangeFileExt(QString::fromUtf8(c.in), QString::fromUtf8(c.ext)), QString::fromUtf8(c.out)) << c.in;

    const struct {
        const char *in, *included, *excluded;
    } delims[] = {
        {"/opt/app", "/opt/app/", "/opt/app"},
        {"/opt/app/", "/opt/app/", "/opt/app"},
        {"C:\\app\\", "C:\\app\\", "C:\\app"},
        {"", "/", ""},
        {"/", "/", "/"},
    };
    for (const auto &c : delims) {
        EXPECT_EQ(IncludeTrailingPathDelimiter(QString::fromUtf8(c.in)), QString::fromUtf8(c.included)) << c.in;
        EXPECT_EQ(ExcludeTrailingPathDelimiter(QString::fromUtf8(c.in)), QString::fromUtf8(c.excluded)) << c.in;
    }
    EXPECT_EQ(NativePath(QStringLiteral("/opt/app\\PROJECTS\\Plant")), QStringLiteral("/opt/app/PROJECTS/Plant"));
}

class FileUtilsTest : public TempDirTest {
protected:
    // The system's spelling of a path inside the temporary folder.
    QString Win(const QString &name) const { return Dir() + QStringLiteral("\\") + QString(name).replace(u'/', u'\\'); }
};

TEST_F(FileUtilsTest, FolderAndFileFunctionsTakeBackslashPaths)
{
    EXPECT_TRUE(ForceDirectories(Win("PROJECTS/Plant/bin")));
    EXPECT_TRUE(QDir(PathOf("PROJECTS/Plant/bin")).exists());
    EXPECT_TRUE(DirectoryExists(Win("PROJECTS\\Plant")));
    EXPECT_FALSE(FileExists(Win("PROJECTS\\Plant")));
    EXPECT_FALSE(CreateDir(Win("PROJECTS"))) << "exists already";
    EXPECT_TRUE(CreateDir(Win("MASTER")));
    EXPECT_FALSE(CreateDir(Win("A/B"))) << "only one level";

    WriteBytes("PROJECTS/Plant/ParGen.xml", "<Par_Gen/>");
    EXPECT_TRUE(FileExists(Win("PROJECTS\\Plant\\ParGen.xml")));
    EXPECT_FALSE(DirectoryExists(Win("PROJECTS\\Plant\\ParGen.xml")));
    EXPECT_EQ(ReadFileBytes(Win("PROJECTS\\Plant\\ParGen.xml")), QByteArray("<Par_Gen/>"));

    WriteBytes("other.xml", "x");
    EXPECT_FALSE(RenameFile(Win("other.xml"), Win("PROJECTS\\Plant\\ParGen.xml"))) << "never replaces";
    EXPECT_TRUE(RenameFile(Win("other.xml"), Win("moved.xml")));
    EXPECT_TRUE(FileExists(PathOf("moved.xml")));
    EXPECT_FALSE(DeleteFile(Win("PROJECTS"))) << "not a folder";
    EXPECT_TRUE(DeleteFile(Win("moved.xml")));
    EXPECT_FALSE(DeleteFile(Win("moved.xml")));
    EXPECT_FALSE(RemoveDir(Win("PROJECTS\\Plant"))) << "not empty";
    EXPECT_TRUE(RemoveDir(Win("MASTER")));
    EXPECT_FALSE(ForceDirectories(QString()));
    EXPECT_FALSE(FileExists(QString()));

    EXPECT_THROW(ReadFileBytes(Win("missing.xml")), EFOpenError);
    EXPECT_THROW(ReadFileBytes(Win("PROJECTS")), EFOpenError);
}

TEST_F(FileUtilsTest, ReadOnlyFlagAndAge)
{
    WriteBytes("a.lng", "x");
    EXPECT_FALSE(FileIsReadOnly(Win("a.lng")));
    EXPECT_EQ(FileGetAttr(Win("a.lng")), faArchive);
    EXPECT_TRUE(FileSetReadOnly(Win("a.lng"), true));
    EXPECT_TRUE(FileIsReadOnly(Win("a.lng")));
    EXPECT_EQ(FileGetAttr(Win("a.lng")), faArchive | faReadOnly);
    EXPECT_TRUE(FileSetReadOnly(Win("a.lng"), false));
    EXPECT_FALSE(FileIsReadOnly(Win("a.lng")));
    EXPECT_EQ(FileGetAttr(Win("nothing")), -1);

    const QDateTime now = QDateTime::currentDateTime();
    const int age = FileAge(Win("a.lng"));
    ASSERT_NE(age, -1);
    EXPECT_EQ((age >> 25) + 1980, now.date().year());
    EXPECT_EQ(FileAge(Win("nothing")), -1);
}

class FindFirstTest : public FileUtilsTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(Dir()).mkpath(QStringLiteral("Plant")));
        ASSERT_TRUE(QDir(Dir()).mkpath(QStringLiteral("Boiler")));
        ASSERT_TRUE(QDir(Dir()).mkpath(QStringLiteral(".cache")));
        WriteBytes("English.lng", "STR1 = a");
        WriteBytes("italiano.LNG", "STR1 = b");
        WriteBytes(".secret.lng", "x");
        WriteBytes("Locked.lng", "x");
        WriteBytes("flag.bmp", "BMxx");
        ASSERT_TRUE(QFile::setPermissions(PathOf("Locked.lng"), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    }

    // Name and attribute of each entry the search returns, in order.
    QStringList Search(const QString &pattern, int attr) const
    {
        QStringList found;
        TSearchRec sr;
        if (FindFirst(Win(pattern), attr, sr) == 0) {
            do
                found << QStringLiteral("%1:%2").arg(sr.Name).arg(sr.Attr, 0, 16);
            while (FindNext(sr) == 0);
        }
        FindClose(sr);
        return found;
    }
};

TEST_F(FindFirstTest, AttributeMatchingFollowsTheClassicRule)
{
    const struct {
        const char *pattern;
        int attr;
        QStringList expected;
    } cases[] = {
        // A folder search gives "." and "..", the folders and the ordinary files, never hidden
        // names; the caller keeps those with the folder attribute.
        {"*", faDirectory, {".:10", "..:10", "Boiler:10", "English.lng:20", "flag.bmp:20", "italiano.LNG:20", "Locked.lng:21", "Plant:10"}},
        // Hidden, system, archive and normal: no folders, hidden and read-only files included.
        {"*.lng", 0xA6, {".secret.lng:22", "English.lng:20", "italiano.LNG:20", "Locked.lng:21"}},
        {"*.lng", faArchive, {"English.lng:20", "italiano.LNG:20", "Locked.lng:21"}},
        {"*", faAnyFile, {".:10", "..:10", ".cache:12", ".secret.lng:22", "Boiler:10", "English.lng:20", "flag.bmp:20", "italiano.LNG:20", "Locked.lng:21", "Plant:10"}},
        {"?lag.*", faArchive, {"flag.bmp:20"}},
        {"*.*", faArchive, {"English.lng:20", "flag.bmp:20", "italiano.LNG:20", "Locked.lng:21"}},
        {"english.LNG", faArchive, {"English.lng:20"}},
        {"*.xml", faAnyFile, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Search(QString::fromUtf8(c.pattern), c.attr), c.expected) << c.pattern << " " << std::hex << c.attr;
}

TEST_F(FindFirstTest, LanguageListingKeepsFilesWithinTheAllowedSet)
{
    // How the options dialog lists language files: read-only ones are found but not listed.
    QStringList listed;
    TSearchRec sr;
    int rc = FindFirst(Win("*.lng"), 0xA6, sr);
    for (; rc == 0; rc = FindNext(sr))
        if ((sr.Attr & ~0x22A6) == 0)
            listed << sr.Name;
    FindClose(sr);
    EXPECT_EQ(listed, QStringList({".secret.lng", "English.lng", "italiano.LNG"}));
}

TEST_F(FindFirstTest, ErrorsAndRecordContents)
{
    TSearchRec sr;
    EXPECT_EQ(FindFirst(Win("missing\\*"), faAnyFile, sr), 3);
    EXPECT_EQ(FindFirst(Win("*.none"), faAnyFile, sr), 2);
    EXPECT_EQ(FindFirst(Win(""), faAnyFile, sr), 2);
    ASSERT_EQ(FindFirst(Win("English.lng"), faArchive, sr), 0);
    EXPECT_EQ(sr.Name, QStringLiteral("English.lng"));
    EXPECT_EQ(sr.Size, 8);
    EXPECT_NE(sr.Time, 0);
    EXPECT_TRUE(sr.TimeStamp.isValid());
    EXPECT_EQ(FindNext(sr), 18);
    EXPECT_EQ(FindNext(sr), 18);
    FindClose(sr);
    EXPECT_EQ(FindNext(sr), 18) << "a closed search ends quietly";
}

class AtomicWriteTest : public FileUtilsTest {};

TEST_F(AtomicWriteTest, ReplacesTheWholeFile)
{
    WriteBytes("Fabricor.xml", "old content that is longer");
    WriteFileAtomic(Win("Fabricor.xml"), "new");
    EXPECT_EQ(ReadBytes("Fabricor.xml"), QByteArray("new"));
    WriteFileAtomic(Win("fresh.xml"), QByteArray());
    EXPECT_TRUE(QFile::exists(PathOf("fresh.xml")));
    EXPECT_EQ(QDir(Dir()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";
}

TEST_F(AtomicWriteTest, FailureLeavesTheOldFileIntact)
{
    ASSERT_TRUE(QDir(Dir()).mkpath(QStringLiteral("locked")));
    WriteBytes("locked/ParGen.xml", "old");
    ASSERT_TRUE(QDir(Dir()).mkpath(QStringLiteral("ParGen.xml.d/ParGen.xml")));
    WriteBytes("readonly.xml", "old");
    ASSERT_TRUE(QFile::setPermissions(PathOf("readonly.xml"), QFileDevice::ReadOwner));

    const bool root = ::geteuid() == 0;
    if (!root) {
        ASSERT_TRUE(QFile::setPermissions(PathOf("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    struct {
        QString path;
        QString keptFile;
        bool applies;
    } cases[] = {
        {Win("locked\\ParGen.xml"), QStringLiteral("locked/ParGen.xml"), !root}, // folder not writable
        {Win("ParGen.xml.d\\ParGen.xml"), QString(), true},                        // the name is a folder
        {Win("readonly.xml"), QStringLiteral("readonly.xml"), true},
        {Win("missing\\ParGen.xml"), QString(), true},
    };
    for (const auto &c : cases) {
        if (!c.applies)
            continue;
        try {
            WriteFileAtomic(c.path, "new");
            ADD_FAILURE() << "no error for " << c.path.toStdString();
        } catch (const EFCreateError &e) {
            EXPECT_TRUE(e.Message().contains(NativePath(c.path))) << e.Message().toStdString();
        }
        if (!c.keptFile.isEmpty()) {
            EXPECT_EQ(ReadBytes(c.keptFile), QByteArray("old")) << c.path.toStdString();
        }
    }
    EXPECT_TRUE(QDir(PathOf("ParGen.xml.d/ParGen.xml")).exists());
    QFile::setPermissions(PathOf("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(QDir(PathOf("locked")).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";
}

TEST(FileUtilsProgramFolder, OverridableForTests)
{
    const QString real = ProgramFolder();
    EXPECT_TRUE(QDir(real).exists());
    EXPECT_TRUE(ExeName().startsWith(real + u'/'));
    SetProgramFolder(QStringLiteral("/opt/Fabricor/"));
    EXPECT_EQ(ProgramFolder(), QStringLiteral("/opt/Fabricor"));
    EXPECT_TRUE(ExeName().startsWith(QStringLiteral("/opt/Fabricor/")));
    SetProgramFolder(QString());
    EXPECT_EQ(ProgramFolder(), real);
}

TEST_F(FileUtilsTest, ExpandFileNameIsAbsoluteAndClean)
{
    const QString old = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(Win("")));
    EXPECT_EQ(ExpandFileName(QStringLiteral("a\\..\\b.xml")), QDir::cleanPath(Dir() + QStringLiteral("/b.xml")));
    EXPECT_EQ(ExpandFileName(QStringLiteral("/x/./y")), QStringLiteral("/x/y"));
    EXPECT_EQ(ExpandFileName(QString()), QString());
    SetCurrentDir(old);
}

TEST_F(FileUtilsTest, PathsFoundWithoutRegardToCase)
{
    ASSERT_TRUE(QDir(Dir()).mkdir("Pics"));
    WriteBytes("Pics/Logo.gif", "a");
    WriteBytes("Pics/LOGO.GIF", "b");
    // An exact match wins; otherwise each part is matched without case, as upper-cased markup
    // paths need.
    struct TCase {
        QString Asked;
        QString Found;
    };
    const TCase cases[] = {
        {PathOf("Pics/Logo.gif"), PathOf("Pics/Logo.gif")},
        {PathOf("Pics/LOGO.GIF"), PathOf("Pics/LOGO.GIF")},
        {PathOf("PICS/logo.Gif"), PathOf("Pics/LOGO.GIF")},
        {Win("pics\\logo.gif"), PathOf("Pics/LOGO.GIF")},
        {PathOf("Pics/none.gif"), QString()},
        {PathOf("Pics/../Pics/Logo.gif"), PathOf("Pics/../Pics/Logo.gif")},
        {QString(), QString()},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(FindPathNoCase(c.Asked), c.Found) << c.Asked.toStdString();
}

} // namespace
