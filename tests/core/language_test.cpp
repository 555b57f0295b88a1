#include "core/ULanguage.h"

#include "core/UComon.h"
#include "platform/Classes.h"
#include "platform/Encoding.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const QChar Pilcrow(0x00B6);

UnicodeString Text(int n)
{
    return SL_Lang_Text->Strings(n);
}

class LanguageTest : public TempDirTest {
protected:
    void SetUp() override
    {
        QDir(Dir()).mkdir(QStringLiteral("LANGUAGE"));
        Path_Language = Dir() + QStringLiteral("\\LANGUAGE");
        Language_Name = QStringLiteral("English");
        SL_Lang_Text = std::make_unique<TStringList>();
    }
    void TearDown() override { SL_Lang_Text.reset(); }

    void WriteLang(const QString &Name, const QByteArray &Bytes) const
    {
        WriteBytes(QStringLiteral("LANGUAGE/") + Name + QStringLiteral(".lng"), Bytes);
    }
};

TEST_F(LanguageTest, DefaultTableHoldsEveryText)
{
    Load_Default_Lang();
    ASSERT_EQ(SL_Lang_Text->Count(), 2300);
    EXPECT_EQ(Max_Lang_Index, 2300);
    // One text of each block, and the blank slots around them.
    const std::pair<int, const char *> Spots[] = {
        {0, "Begin"},
        {9, "None Configuration Opened "},
        {18, "Error! Project not Valid"},
        {54, "Create the CANopen EDS for Actual Configuration"},
        {55, " "},
        {70, " "},
        {106, "Error! Name project is not valid because directory already exists"},
        {202, "List of Avaliable Configurations"},
        {316, "Do you want to change the Language from "},
        {321, "Enable Auto Size of Table Columns by Double Click"},
        {400, "Set Communication"},
        {411, "Insert Fourth byte of IP Address"},
        {457, "Error EtherNet/IP Master!! SUBNET Mask 4 must be between 0 and 255"},
        {595, "Select Stop Bits to use in serial, the two stop bits can used only with None Parity"},
        {596, "Error Serial!! Two Stop Bits can be selected only with None Parity"},
        {831, "Error row "},
        {841, "Instance T > O"},
        {852, "!! Connection Point O > T must be between 0 and 65535. Default Value 101"},
        {853, " "},
        {903, "Cancel"},
        {1003, "Update Device Using the Ethernet Port"},
        {1037, "Error!!! Check the Ip Address"},
        {1104, "Error! Please set the Set Communication Parameter before to create the GSD file"},
        {1105, " "},
        {1274, "!! [SNMP Write] Num Bits/Bytes must be between 1 and 16 bytes"},
        {1353, " or None"},
        {1434, "Insert the TimeOut in milliseconds of data for each CAN frames, insert 0 do disable the function"},
        {1535, "!! [BACnet in Read] Length with variable \"Analog Input\" must be between 1 and 4"},
        {1608, "Select Engineering Unit"},
        {1757, "!! [KNX in Write] Bit Mode must be \"No\" or between 0 and 7"},
        {1882, "Enable/Disabel the Possibility to Publish the Data at the Exchange of Value"},
        {1926, "Description for the M-Bus meter (defined in the section \u201cM-Bus\u201d)"},
        {1931, " "},
        {1932, "type of M-Bus variable"},
        {2091, "Are you sure to delete the Row number "},
        {2174, "!! [SDO Write] Poll Time must be between 0 and 100000000"},
        {2265, "Are you sure to delete the Row number "},
        {2299, " "},
    };
    for (const auto &[n, t] : Spots)
        EXPECT_EQ(Text(n), QString::fromUtf8(t)) << n;
}

TEST_F(LanguageTest, ReloadingRebuildsTheTable)
{
    Load_Default_Lang();
    SL_Lang_Text->SetStrings(18, QStringLiteral("changed"));
    SL_Lang_Text->Add(QStringLiteral("extra"));
    Load_Default_Lang();
    EXPECT_EQ(SL_Lang_Text->Count(), 2300);
    EXPECT_EQ(Text(18), QStringLiteral("Error! Project not Valid"));
}

struct TLineCase {
    const char *Line;
    int Number;        // the entry that changes, -1 when none may
    const char *Text;  // its new text
};

TEST_F(LanguageTest, ReadingRulesOfOneLine)
{
    const TLineCase Cases[] = {
        {"STR18 = Progetto non valido", 18, "Progetto non valido"},
        {"STR18 =Progetto", 18, "Progetto"},
        {"   STR18 = Padded   ", 18, "Padded"},
        {"\tSTR18 = Tabs\t\r", 18, "Tabs"},
        {"STR12= Twelve", 1, "Twelve"},
        {"STR5= Five", -1, ""},
        {"STR2299 = Last", 2299, "Last"},
        {"STR2300 = Past the end", -1, ""},
        {"STR99999999999999999999 = Huge", -1, ""},
        {"STR-1 = Negative", -1, ""},
        {"STRabc = Word", -1, ""},
        {"STR18 Missing equals", -1, ""},
        {"STR18 =", -1, ""},
        {"STR18 =    ", -1, ""},
        {"str18 = lower case", -1, ""},
        {"XSTR18 = prefix", -1, ""},
        {"STR18 = a = b", 18, "a = b"},
        {"STR 18 = inner blank", 18, "inner blank"},
        {"STR18 = Text /#/ comment", 18, "Text"},
        {"STR18 = /#/ only a comment", -1, ""},
        {"STR18 = \u00b6  kept blanks  \u00b6", 18, "  kept blanks  "},
        {"STR18 = \u00b6\u00b6", 18, ""},
        {"STR18 = \u00b6open", 18, "open"},
        {"STR18 = cut\u00b6here", 18, "cut"},
        {"STR18 = \u00b6 a /#/ b\u00b6", 18, " a"},
        {"STR1931 = fills a blank slot", 1931, "fills a blank slot"},
        {"", -1, ""},
        {"=", -1, ""},
        {"STR", -1, ""},
        {"STR=", -1, ""},
    };
    for (const TLineCase &c : Cases) {
        Load_Default_Lang();
        QStringList Before;
        for (int n = 0; n < SL_Lang_Text->Count(); ++n)
            Before.append(Text(n));
        Apply_Lang_Line(QString::fromUtf8(c.Line));
        ASSERT_EQ(SL_Lang_Text->Count(), 2300) << c.Line;
        for (int n = 0; n < 2300; ++n) {
            if (n == c.Number)
                EXPECT_EQ(Text(n), QString::fromUtf8(c.Text)) << c.Line;
            else
                ASSERT_EQ(Text(n), Before.at(n)) << c.Line << " changed " << n;
        }
    }
}

// A text no translation reaches in length is refused whole; a long comment does not count.
TEST_F(LanguageTest, TextsPastTheLengthBoundAreRefused)
{
    const struct {
        QString Line;
        QString Text; // entry 18 afterwards
    } Cases[] = {
        {QStringLiteral("STR18 = ") + QString(4096, u'a'), QString(4096, u'a')},
        {QStringLiteral("STR18 = ") + QString(4097, u'a'), QStringLiteral("Error! Project not Valid")},
        {QStringLiteral("STR18 = \u00b6") + QString(5000, u'b') + QStringLiteral("\u00b6"),
         QStringLiteral("Error! Project not Valid")},
        {QStringLiteral("STR18 = short /#/ ") + QString(100000, u'c'), QStringLiteral("short")},
        {QStringLiteral("STR18 = cut\u00b6") + QString(100000, u'd'), QStringLiteral("cut")},
    };
    for (const auto &c : Cases) {
        Load_Default_Lang();
        Apply_Lang_Line(c.Line);
        EXPECT_EQ(Text(18), c.Text) << c.Line.left(40).toStdString();
    }
}

TEST_F(LanguageTest, LaterLineWinsAndOtherLinesStillApply)
{
    WriteLang(QStringLiteral("Italiano"),
              "STR18 = primo\r\nSTR18 = /#/ nota\r\ngarbage line\r\nSTR0 = Inizio\nSTR18 = secondo\rSTR1 = Passo 1");
    Language_Name = QStringLiteral("Italiano");
    Load_Language();
    EXPECT_EQ(Language_Name, QStringLiteral("Italiano"));
    EXPECT_EQ(Text(0), QStringLiteral("Inizio"));
    EXPECT_EQ(Text(1), QStringLiteral("Passo 1"));
    EXPECT_EQ(Text(18), QStringLiteral("secondo"));
    EXPECT_EQ(SL_Lang_Text->Count(), 2300);
}

struct TEncodingCase {
    const char *Name;
    TEncoding *Enc;
    bool Bom;
};

TEST_F(LanguageTest, FileEncodings)
{
    const UnicodeString Wanted = QStringLiteral("Projet non valide \u00e9\u00e8 \u00b5");
    const TEncodingCase Cases[] = {
        {"UTF-8 with mark", TEncoding::UTF8(), true},
        {"UTF-16 LE with mark", TEncoding::Unicode(), true},
        {"UTF-16 BE with mark", TEncoding::BigEndianUnicode(), true},
        {"ANSI without mark", TEncoding::ANSI(), false},
    };
    for (const TEncodingCase &c : Cases) {
        const UnicodeString Content = QStringLiteral("STR18 = ") + Wanted + QStringLiteral("\r\nSTR2299 = fin\r\n");
        QByteArray Bytes = c.Bom ? c.Enc->GetPreamble() : QByteArray();
        Bytes += c.Enc->GetBytes(Content);
        WriteLang(QStringLiteral("Francais"), Bytes);
        Language_Name = QStringLiteral("Francais");
        Load_Language();
        EXPECT_EQ(Text(18), Wanted) << c.Name;
        EXPECT_EQ(Text(2299), QStringLiteral("fin")) << c.Name;
    }
}

TEST_F(LanguageTest, UTF8WithoutMarkIsReadInTheAnsiCodePage)
{
    WriteLang(QStringLiteral("Francais"), QByteArray("STR18 = caf\xc3\xa9"));
    Language_Name = QStringLiteral("Francais");
    Load_Language();
    EXPECT_EQ(Text(18), QStringLiteral("caf\u00c3\u00a9"));
}

TEST_F(LanguageTest, UTF16WithoutMarkIsNoLanguageFile)
{
    // Read in the ANSI code page, every other character is a NUL, so no line begins with "STR".
    WriteLang(QStringLiteral("Francais"), TEncoding::Unicode()->GetBytes(QStringLiteral("STR18 = texte\r\n")));
    Language_Name = QStringLiteral("Francais");
    Load_Language();
    EXPECT_EQ(Text(18), QStringLiteral("Error! Project not Valid"));
    EXPECT_EQ(SL_Lang_Text->Count(), 2300);
}

TEST_F(LanguageTest, MissingFileFallsBackToEnglish)
{
    WriteLang(QStringLiteral("English"), "STR18 = English file text");
    for (const char *Name : {"Deutsch", "", "../Deutsch"}) {
        Language_Name = QString::fromUtf8(Name);
        Load_Language();
        EXPECT_EQ(Language_Name, QStringLiteral("English")) << Name;
        EXPECT_EQ(Text(18), QStringLiteral("English file text")) << Name;
        EXPECT_EQ(SL_Lang_Text->Count(), 2300);
    }
}

// The options dialog lists language files whatever the case of their extension (a file copied
// from another system may end in ".LNG"); choosing one must load it, not fall back to English.
TEST_F(LanguageTest, AnExtensionInAnotherCaseIsStillTheLanguageFile)
{
    WriteLang(QStringLiteral("English"), "STR18 = English file text");
    WriteBytes(QStringLiteral("LANGUAGE/Deutsch.LNG"), "STR18 = Projekt ungueltig");
    WriteBytes(QStringLiteral("LANGUAGE/Polski.Lng"), "STR18 = Projekt niewazny");
    const std::pair<const char *, const char *> Cases[] = {
        {"Deutsch", "Projekt ungueltig"}, {"Polski", "Projekt niewazny"}, {"Deutsc*", "English file text"},
        {"?eutsch", "English file text"}};
    for (const auto &[Name, Wanted] : Cases) {
        Language_Name = QString::fromUtf8(Name);
        Load_Language();
        EXPECT_EQ(Text(18), QString::fromUtf8(Wanted)) << Name;
        EXPECT_EQ(Language_Name, QString::fromUtf8(Wanted).startsWith(u'E') ? QStringLiteral("English") : QString::fromUtf8(Name));
    }
}

TEST_F(LanguageTest, MissingFileWithoutEnglishKeepsTheBuiltInTexts)
{
    Language_Name = QStringLiteral("Deutsch");
    Load_Language();
    EXPECT_EQ(Language_Name, QStringLiteral("English"));
    EXPECT_EQ(Text(18), QStringLiteral("Error! Project not Valid"));
}

TEST_F(LanguageTest, LanguageChangeDropsTheTextsOfTheFormerFile)
{
    WriteLang(QStringLiteral("Italiano"), "STR18 = italiano\nSTR19 = solo italiano");
    WriteLang(QStringLiteral("Deutsch"), "STR18 = deutsch");
    Language_Name = QStringLiteral("Italiano");
    Load_Language();
    Language_Name = QStringLiteral("Deutsch");
    Load_Language();
    EXPECT_EQ(Text(18), QStringLiteral("deutsch"));
    EXPECT_EQ(Text(19), QStringLiteral("New Version Available. Click Here for more Details"));
}

TEST_F(LanguageTest, DamagedFilesNeverBreakTheTable)
{
    QByteArray Garbage;
    quint32 Seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        Seed = Seed * 1103515245u + 12345u;
        Garbage.append(static_cast<char>(Seed >> 16));
    }
    const QByteArray Cases[] = {
        Garbage,
        QByteArray("\xff\xfe") + Garbage,            // UTF-16 mark, odd content
        QByteArray("\xfe\xff" "S", 3),                // UTF-16 BE mark and half a character
        QByteArray("\xef\xbb\xbf" "STR18 = \xff\xfe\x80"), // invalid UTF-8 after the mark
        QByteArray("STR18 = a\0b", 11),               // a NUL inside the text
        QByteArray(100000, '='),
        QByteArray("STR") + QByteArray(50000, '9') + " = long number",
        QByteArray(),
    };
    for (const QByteArray &Bytes : Cases) {
        WriteLang(QStringLiteral("Broken"), Bytes);
        Language_Name = QStringLiteral("Broken");
        Load_Language();
        EXPECT_EQ(SL_Lang_Text->Count(), 2300);
        EXPECT_EQ(Language_Name, QStringLiteral("Broken"));
    }
}

// The name comes from the settings file, which anyone may edit: it only ever names a file in
// LANGUAGE, even where a file waits at the place another name would lead to.
TEST_F(LanguageTest, ANameThatLeadsOutOfTheLanguageFolderReadsAsTheDefault)
{
    WriteLang(QStringLiteral("English"), "STR18 = English file text");
    QDir(Dir()).mkpath(QStringLiteral("LANGUAGE/sub"));
    WriteBytes(QStringLiteral("Outside.lng"), "STR18 = read from outside");
    WriteBytes(QStringLiteral("LANGUAGE/sub/Inner.lng"), "STR18 = read from a sub folder");
    const QString Absolute = PathOf(QStringLiteral("Outside"));
    for (const QString &Name : {QStringLiteral("..\\Outside"), QStringLiteral("../Outside"), Absolute,
                                QStringLiteral("sub\\Inner"), QStringLiteral("sub/Inner"), QStringLiteral(".hidden")}) {
        SCOPED_TRACE(Name.toStdString());
        Language_Name = Name;
        Load_Language();
        EXPECT_EQ(Language_Name, QStringLiteral("English"));
        EXPECT_EQ(Text(18), QStringLiteral("English file text"));
    }
}

TEST_F(LanguageTest, APipeOrDeviceInPlaceOfTheFileNeitherBlocksNorReadsWithoutEnd)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(PathOf(QStringLiteral("LANGUAGE/Pipe.lng"))).constData(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(PathOf(QStringLiteral("LANGUAGE/Zero.lng"))).constData()), 0);
    for (const char *Name : {"Pipe", "Zero"}) {
        Language_Name = QString::fromLatin1(Name);
        Load_Language();
        EXPECT_EQ(SL_Lang_Text->Count(), 2300) << Name;
        EXPECT_EQ(Text(18), QStringLiteral("Error! Project not Valid")) << Name;
    }
}

TEST_F(LanguageTest, UnreadableFileKeepsTheBuiltInTexts)
{
    // A folder with the language file's name exists but cannot be read as a file.
    QDir(Dir()).mkpath(QStringLiteral("LANGUAGE/Folder.lng"));
    Load_Default_Lang();
    Load_Lang_File(Path_Language + QStringLiteral("\\Folder.lng"));
    EXPECT_EQ(SL_Lang_Text->Count(), 2300);
    EXPECT_EQ(Text(18), QStringLiteral("Error! Project not Valid"));
}

} // namespace
