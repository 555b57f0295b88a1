#include "platform/IniFiles.h"

#include "platform/Encoding.h"
#include "platform/SysUtils.h"
#include "support/StringItems.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class IniFileTest : public TempDirTest {
protected:
    QString Ini() const { return PathOf("settings.ini"); }
};

TEST_F(IniFileTest, RoundTripKeepsFileOrderAndIgnoresCase)
{
    {
        TMemIniFile ini(Ini());
        ini.WriteString("Zeta", "Last", "z");
        ini.WriteString("Alpha", "Width", "64");
        ini.WriteInteger("Zeta", "Count", 3);
        ini.WriteBool("Alpha", "Visible", true);
        ini.WriteString("zeta", "LAST", "zz"); // same section and key, other case
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadBytes("settings.ini"), QByteArray("[Zeta]\r\nLast=zz\r\nCount=3\r\n\r\n[Alpha]\r\nWidth=64\r\nVisible=1\r\n\r\n"));

    TMemIniFile ini(Ini());
    EXPECT_EQ(ini.ReadString("ZETA", "last", "?"), "zz");
    EXPECT_EQ(ini.ReadInteger("alpha", "WIDTH", 0), 64);
    EXPECT_TRUE(ini.ReadBool("Alpha", "Visible", false));
    EXPECT_EQ(ini.ReadString("Alpha", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Nowhere", "Width", "dflt"), "dflt");

    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(Items(list), QStringList({"Zeta", "Alpha"}));
    ini.ReadSection("zeta", &list);
    EXPECT_EQ(Items(list), QStringList({"Last", "Count"}));
    ini.ReadSectionValues("Alpha", &list);
    EXPECT_EQ(Items(list), QStringList({"Width=64", "Visible=1"}));
    EXPECT_EQ(list.Values("width"), "64");
    EXPECT_TRUE(ini.SectionExists("ALPHA"));
    EXPECT_FALSE(ini.SectionExists("Beta"));
    EXPECT_TRUE(ini.ValueExists("Zeta", "count"));
    EXPECT_FALSE(ini.ValueExists("Zeta", "Width"));

    ini.DeleteKey("Zeta", "LAST");
    ini.EraseSection("alpha");
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes("settings.ini"), QByteArray("[Zeta]\r\nCount=3\r\n\r\n"));
}

TEST_F(IniFileTest, NumbersAndFlagsReadAsTheClassicFilesDid)
{
    WriteBytes("settings.ini", "[N]\r\n"
                               "dec=12\r\nneg=-7\r\ndollar=$1F\r\nhex=0x1F\r\nhexup=0X10\r\n"
                               "blank=\r\nword=abc\r\ntrailing=12 \r\nbig=99999999999\r\n"
                               "zero=0\r\none=1\r\nfive=5\r\nyes=yes\r\n"
                               "f=2.5\r\nbadf=2,5x\r\n");
    TMemIniFile ini(Ini());
    const struct {
        const char *key;
        int expected;
    } ints[] = {{"dec", 12}, {"neg", -7}, {"dollar", 31}, {"hex", 31}, {"hexup", 16},
                {"blank", 99}, {"word", 99}, {"trailing", 12}, {"big", 99}, {"missing", 99}};
    for (const auto &c : ints)
        EXPECT_EQ(ini.ReadInteger("N", c.key, 99), c.expected) << c.key;

    const struct {
        const char *key;
        bool dflt, expected;
    } bools[] = {{"zero", true, false}, {"one", false, true}, {"five", false, true},
                 {"yes", false, false}, {"yes", true, true}, {"missing", true, true}};
    for (const auto &c : bools)
        EXPECT_EQ(ini.ReadBool("N", c.key, c.dflt), c.expected) << c.key;

    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = '.';
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "f", 0), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "badf", -1), -1);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "missing", 7.25), 7.25);
    ini.WriteFloat("N", "g", 0.125);
    EXPECT_EQ(ini.ReadString("N", "g", ""), "0.125");
    FormatSettings = saved;
}

TEST_F(IniFileTest, DamagedLinesAreToleratedAndKept)
{
    WriteBytes("settings.ini", "\xEF\xBB\xBF"
                               "stray line before any section\r\n"
                               "; about the file\r\n"
                               "\r\n"
                               "  [ Grid ]  \r\n"
                               "  Col0 =  80  \r\n"
                               "garbage without equals\r\n"
                               "=no name\r\n"
                               "[broken section\r\n"
                               "# hash comment\r\n"
                               "Col1=a=b\r\n"
                               "[Grid]\r\n"
                               "Col2=3\r\n"
                               "\r\n\r\n");
    TMemIniFile ini(Ini());
    EXPECT_EQ(ini.Encoding(), TEncoding::UTF8());
    EXPECT_EQ(ini.ReadInteger("grid", "col0", 0), 80);
    EXPECT_EQ(ini.ReadString("Grid", "Col1", ""), "a=b");
    EXPECT_EQ(ini.ReadInteger("Grid", "Col2", 0), 3); // the repeated section continues the first
    TStringList keys;
    ini.ReadSection("Grid", &keys);
    EXPECT_EQ(Items(keys), QStringList({"Col0", "Col1", "Col2"}));
    ini.ReadSections(&keys);
    EXPECT_EQ(Items(keys), QStringList({"Grid"}));

    ini.WriteString("Grid", "Col3", "9");
    ini.UpdateFile();
    EXPECT_EQ(ReadBytes("settings.ini"), QByteArray("\xEF\xBB\xBF"
                                                    "stray line before any section\r\n"
                                                    "; about the file\r\n"
                                                    "\r\n"
                                                    "[Grid]\r\n"
                                                    "Col0=80\r\n"
                                                    "garbage without equals\r\n"
                                                    "=no name\r\n"
                                                    "[broken section\r\n"
                                                    "# hash comment\r\n"
                                                    "Col1=a=b\r\n"
                                                    "Col2=3\r\n"
                                                    "Col3=9\r\n"
                                                    "\r\n"));
    // Written once more, the file stays the same.
    const QByteArray once = ReadBytes("settings.ini");
    TMemIniFile again(Ini());
    again.UpdateFile();
    EXPECT_EQ(ReadBytes("settings.ini"), once);
}

TEST_F(IniFileTest, AnAnsiFileWhoseTextStartsLikeAByteOrderMarkIsWrittenSoThatItReadsBack)
{
    // The blank line in front is dropped when the file is written; without care the text
    // would then start with FE FF and be read back as UTF-16.
    WriteBytes("settings.ini", "\r\n\xFE\xFFnote\r\n[S]\r\nk=1\r\n");
    {
        TMemIniFile ini(Ini());
        ini.WriteString("S", "m", "2");
        ini.UpdateFile();
    }
    TMemIniFile ini(Ini());
    EXPECT_EQ(ini.ReadString("S", "k", ""), "1");
    EXPECT_EQ(ini.ReadString("S", "m", ""), "2");
    EXPECT_TRUE(ReadBytes("settings.ini").contains("\xFE\xFFnote"));
}

TEST_F(IniFileTest, BinaryGarbageReadsAsAFileWithoutKeys)
{
    QByteArray junk;
    quint32 x = 2463534242u;
    for (int i = 0; i < 8192; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        junk += char(x & 0xFF);
    }
    junk += "\r\n[Real]\r\nKey=1\r\n";
    WriteBytes("settings.ini", junk);
    TMemIniFile ini(Ini());
    EXPECT_EQ(ini.ReadInteger("Real", "Key", 0), 1);
    EXPECT_EQ(ini.ReadString("Nothing", "Key", "d"), "d");
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_GE(sections.IndexOf("Real"), 0);
}

TEST_F(IniFileTest, EncodingsAndLineBreaksInValues)
{
    {
        TMemIniFile ini(Ini());
        ini.WriteString("S", "Name", QString::fromUtf8("Müller"));
        ini.WriteString("S", "Multi", "one\r\n[Injected]\nx=1");
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadBytes("settings.ini"), QByteArray("[S]\r\nName=M\xFCller\r\nMulti=one [Injected] x=1\r\n\r\n"));
    TMemIniFile ansi(Ini());
    EXPECT_EQ(ansi.ReadString("S", "Name", ""), QString::fromUtf8("Müller"));
    EXPECT_FALSE(ansi.SectionExists("Injected"));

    TMemIniFile utf16(PathOf("u16.ini"), TEncoding::Unicode());
    utf16.WriteString("S", "K", QString::fromUtf8("日本"));
    utf16.UpdateFile();
    EXPECT_TRUE(ReadBytes("u16.ini").startsWith("\xFF\xFE"));
    TMemIniFile back(PathOf("u16.ini"));
    EXPECT_EQ(back.ReadString("s", "k", ""), QString::fromUtf8("日本"));
    EXPECT_EQ(back.Encoding(), TEncoding::Unicode());
}

TEST_F(IniFileTest, FailedUpdateKeepsTheOldFile)
{
    WriteBytes("settings.ini", "[A]\r\nx=1\r\n");
    TMemIniFile ini(Ini());
    ini.WriteString("A", "x", "2");
    ini.Rename(PathOf("missing/folder/settings.ini"), false);
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
    EXPECT_EQ(ReadBytes("settings.ini"), QByteArray("[A]\r\nx=1\r\n"));

    TIniFile direct(PathOf("missing/other.ini"));
    try {
        direct.WriteString("A", "x", "1");
        FAIL();
    } catch (const EIniFileException &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unable to write to %1").arg(PathOf("missing/other.ini")));
    }
    EXPECT_EQ(direct.ReadString("A", "x", "none"), "none");
}

TEST_F(IniFileTest, IniFileWritesThroughAndSeesOtherWriters)
{
    TIniFile ini(Ini());
    ini.WriteInteger("Grid", "Col0", 50);
    EXPECT_EQ(ReadBytes("settings.ini"), QByteArray("[Grid]\r\nCol0=50\r\n\r\n"));

    // Another writer changes the file behind our back.
    WriteBytes("settings.ini", "[Grid]\r\nCol0=75\r\nCol1=10\r\n");
    EXPECT_EQ(ini.ReadInteger("Grid", "Col0", 0), 75);
    ini.DeleteKey("Grid", "Col0");
    EXPECT_EQ(ReadBytes("settings.ini"), QByteArray("[Grid]\r\nCol1=10\r\n\r\n"));
    ini.EraseSection("Grid");
    EXPECT_EQ(ReadBytes("settings.ini"), QByteArray());
    EXPECT_FALSE(ini.SectionExists("Grid"));
}

} // namespace
