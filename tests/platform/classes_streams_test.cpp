#include "platform/Classes.h"
#include "platform/Encoding.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <sys/stat.h>

namespace {

TEST(MemoryStream, ReadWriteSeekAndSize)
{
    TMemoryStream s;
    EXPECT_EQ(s.Write("hello", 5), 5);
    EXPECT_EQ(s.Position(), 5);
    EXPECT_EQ(s.Size(), 5);
    EXPECT_EQ(s.Seek(-2, soFromEnd), 3);
    EXPECT_EQ(s.Write("p!", 2), 2);
    EXPECT_EQ(s.Seek(1, soFromBeginning), 1);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 4); // only what is there
    EXPECT_EQ(QByteArray(buf, 4), "elp!");
    EXPECT_EQ(s.Read(buf, 8), 0);
    EXPECT_EQ(s.Seek(-1, soFromCurrent), 4);

    // Writing past the end fills the gap with zeros.
    s.SetPosition(7);
    s.WriteBuffer("x", 1);
    EXPECT_EQ(s.Bytes(), QByteArray("help!\0\0x", 8));
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_EQ(s.Bytes(), "hel");
    EXPECT_EQ(static_cast<const char *>(s.Memory())[0], 'h');
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, ShortReadsAndWritesRaiseStreamErrors)
{
    TBytesStream s(QByteArray("abc"));
    char buf[4];
    try {
        s.ReadBuffer(buf, 4);
        FAIL();
    } catch (const EReadError &e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    s.SetPosition(-1);
    try {
        s.WriteBuffer("z", 1);
        FAIL();
    } catch (const EWriteError &e) {
        EXPECT_EQ(e.Message(), "Stream write error");
    }
    EXPECT_EQ(s.Bytes(), "abc");
    s.ReadBuffer(buf, 0); // nothing asked, nothing to fail
}

TEST(MemoryStream, CopyFromCopiesACountOrEverything)
{
    TBytesStream source(QByteArray("0123456789"));
    source.SetPosition(2);
    TMemoryStream dest;
    EXPECT_EQ(dest.CopyFrom(&source, 3), 3);
    EXPECT_EQ(dest.Bytes(), "234");
    EXPECT_EQ(dest.CopyFrom(&source, 0), 10);
    EXPECT_EQ(dest.Bytes(), "2340123456789");
    source.SetPosition(8);
    EXPECT_THROW(dest.CopyFrom(&source, 5), EReadError);
}

TEST(StringStream, HoldsTheStringInItsEncoding)
{
    TStringStream utf8(QString::fromUtf8("Grüße"), TEncoding::UTF8());
    EXPECT_EQ(utf8.Size(), 7);
    EXPECT_EQ(utf8.DataString(), QString::fromUtf8("Grüße"));
    EXPECT_EQ(utf8.Encoding(), TEncoding::UTF8());

    TStringStream ansi(QString::fromUtf8("Grüße"));
    EXPECT_EQ(ansi.Bytes(), QByteArray("Gr\xFC\xDF" "e"));
    ansi.SetPosition(2);
    EXPECT_EQ(ansi.ReadString(2), QString::fromUtf8("üß"));
    ansi.Seek(0, soFromEnd);
    ansi.WriteString(QString::fromUtf8("€"));
    EXPECT_EQ(ansi.DataString(), QString::fromUtf8("Grüße€"));
    EXPECT_EQ(ansi.ReadString(10), "");
}

class FileStreamTest : public TempDirTest {};

TEST_F(FileStreamTest, CreateWriteReopenRead)
{
    const QString path = PathOf("data.bin");
    {
        TFileStream f(path, fmCreate);
        f.WriteBuffer("abcdef", 6);
        EXPECT_EQ(f.Size(), 6);
        EXPECT_EQ(f.FileName(), path);
    }
    {
        TFileStream f(path, fmOpenReadWrite | fmShareDenyNone);
        f.Seek(2, soFromBeginning);
        f.WriteBuffer("XY", 2);
        f.SetSize(5);
    }
    EXPECT_EQ(ReadBytes("data.bin"), "abXYe");
    TFileStream f(path, fmOpenRead | fmShareDenyWrite);
    char buf[10];
    EXPECT_EQ(f.Read(buf, 10), 5);
    EXPECT_EQ(f.Write("q", 1), 0); // opened for reading only
    EXPECT_THROW(f.WriteBuffer("q", 1), EWriteError);

    TMemoryStream m;
    m.LoadFromFile(path);
    EXPECT_EQ(m.Bytes(), "abXYe");
    m.SaveToFile(PathOf("copy.bin"));
    EXPECT_EQ(ReadBytes("copy.bin"), "abXYe");
}

TEST_F(FileStreamTest, OpenAndCreateFailuresNameTheFile)
{
    const QString missing = PathOf("missing.bin");
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(missing))) << e.what();
        EXPECT_GT(e.Message().size(), QStringLiteral("Cannot open file \"%1\". ").arg(missing).size());
    }
    const QString nowhere = PathOf("no/such/folder.bin");
    try {
        TFileStream f(nowhere, fmCreate);
        FAIL();
    } catch (const EFCreateError &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(nowhere))) << e.what();
    }
    EXPECT_THROW(TFileStream(Dir(), fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream("", fmOpenRead), EFOpenError);
    EXPECT_THROW(TMemoryStream().LoadFromFile(missing), EFOpenError);
}

TEST_F(FileStreamTest, APipeOrADeviceIsRefusedWithoutWaiting)
{
    const QString pipe = PathOf("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path : {pipe, QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_THROW(TFileStream(path, fmOpenRead), EFOpenError);
        EXPECT_THROW(TFileStream(path, fmOpenReadWrite), EFOpenError);
        EXPECT_THROW(TFileStream(path, fmCreate), EFCreateError);
        EXPECT_THROW(TMemoryStream().LoadFromFile(path), EFOpenError);
    }
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

} // namespace
