#include "platform/Registry.h"

#include "support/StringItems.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Unregisters its watcher however the test ends, so no callback outlives the counters it bumps.
struct TWatchGuard {
    TWatchGuard(HKEY root, const QString &key, std::function<void()> f) : Id(RegisterKeyWatcher(root, key, std::move(f))) {}
    ~TWatchGuard() { UnregisterKeyWatcher(Id); }
    int Id;
};

class RegistryTest : public TempDirTest {
protected:
    void SetUp() override { UseFile("registry.ini"); }
    void TearDown() override { qunsetenv("FABRICOR_REGISTRY_FILE"); }
    void UseFile(const QString &name) { qputenv("FABRICOR_REGISTRY_FILE", PathOf(name).toUtf8()); }
};

TEST_F(RegistryTest, FileNameComesFromTheEnvironmentOrTheConfigFolder)
{
    EXPECT_EQ(RegistryFileName(), PathOf("registry.ini"));
    qunsetenv("FABRICOR_REGISTRY_FILE");
    EXPECT_TRUE(RegistryFileName().endsWith("/Fabricor/registry.ini")) << RegistryFileName().toStdString();
}

TEST_F(RegistryTest, ValuesRoundTripThroughTheFile)
{
    const QString awkward = QString::fromUtf8("Zürich \"q\" \\ back\r\nnext line  ");
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Fabricor\\Test", true));
        EXPECT_EQ(reg.CurrentPath(), "Software\\Fabricor\\Test");
        reg.WriteString("Name", awkward);
        reg.WriteInteger("Count", -5);
        reg.WriteBool("Flag", true);
        reg.WriteString("", "default value");
        reg.WriteString("a=b;c @", "odd name");
        reg.WriteString("@", "at");
        reg.WriteString("Empty", "");
    }
    // A second process: the same file under another name, read from scratch.
    WriteBytes("copy.ini", ReadBytes("registry.ini"));
    UseFile("copy.ini");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\fabricor\\TEST", false));
    EXPECT_EQ(reg.ReadString("name"), awkward);
    EXPECT_EQ(reg.ReadInteger("Count"), -5);
    EXPECT_TRUE(reg.ReadBool("FLAG"));
    EXPECT_EQ(reg.ReadString(""), "default value");
    EXPECT_EQ(reg.ReadString("a=b;c @"), "odd name");
    EXPECT_EQ(reg.ReadString("@"), "at");
    EXPECT_TRUE(reg.ValueExists("Empty"));
    EXPECT_EQ(reg.GetDataType("Count"), rdInteger);
    EXPECT_EQ(reg.GetDataType("Name"), rdString);
    EXPECT_EQ(reg.GetDataType("None"), rdUnknown);
    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(Items(names), QStringList({"Name", "Count", "Flag", "", "a=b;c @", "@", "Empty"}));
}

TEST_F(RegistryTest, MissingAndMistypedValuesRaiseAsTheClassicRegistry)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Fabricor", true));
    reg.WriteString("Text", "abc");
    reg.WriteInteger("Number", 7);
    EXPECT_EQ(reg.ReadString("Missing"), "");
    const struct {
        const char *what;
        std::function<void()> call;
        QString message;
    } cases[] = {
        {"integer missing", [&] { reg.ReadInteger("Missing"); }, "Failed to get data for 'Missing'"},
        {"bool missing", [&] { reg.ReadBool("Missing"); }, "Failed to get data for 'Missing'"},
        {"integer of text", [&] { reg.ReadInteger("Text"); }, "Invalid data type for 'Text'"},
        {"text of integer", [&] { reg.ReadString("Number"); }, "Invalid data type for 'Number'"},
    };
    for (const auto &c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.what;
        } catch (const ERegistryException &e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
    }
}

TEST_F(RegistryTest, KeysOpenRelativeOrAbsoluteAndDeleteWithTheirSubkeys)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\Nowhere", false));
    EXPECT_FALSE(reg.KeyExists("Software\\Nowhere"));
    ASSERT_TRUE(reg.OpenKey("Software\\Vendor", true));
    ASSERT_TRUE(reg.OpenKey("App\\Grid", true)); // below the open key
    EXPECT_EQ(reg.CurrentPath(), "Software\\Vendor\\App\\Grid");
    reg.WriteInteger("Col0", 64);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Vendor\\Other", true));
    reg.WriteInteger("X", 1);
    EXPECT_TRUE(reg.KeyExists("\\Software\\Vendor\\App"));
    EXPECT_TRUE(reg.KeyExists("\\software\\VENDOR\\app\\grid"));

    ASSERT_TRUE(reg.OpenKey("\\Software\\Vendor", false));
    TStringList names;
    reg.GetKeyNames(&names);
    EXPECT_EQ(Items(names), QStringList({"App", "Other"}));
    EXPECT_TRUE(reg.HasSubKeys());

    // The other root is another tree.
    TRegistry machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(machine.KeyExists("Software\\Vendor"));

    EXPECT_TRUE(reg.DeleteKey("App"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Vendor\\App\\Grid"));
    EXPECT_FALSE(reg.DeleteKey("App"));
    reg.GetKeyNames(&names);
    EXPECT_EQ(Items(names), QStringList({"Other"}));

    ASSERT_TRUE(reg.OpenKey("Other", false));
    EXPECT_TRUE(reg.DeleteValue("x"));
    EXPECT_FALSE(reg.DeleteValue("x"));
    EXPECT_FALSE(reg.ValueExists("X"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Vendor\\Other")); // an empty key stays

    reg.CloseKey();
    EXPECT_EQ(reg.CurrentKey(), 0u);
    EXPECT_EQ(reg.CurrentPath(), "");
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseWrites)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\RO", true));
        reg.WriteString("Kept", "yes");
    }
    const QByteArray before = ReadBytes("registry.ini");
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKeyReadOnly("Software\\Missing"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\RO"));
    EXPECT_EQ(reg.ReadString("Kept"), "yes");
    try {
        reg.WriteString("Kept", "no");
        FAIL();
    } catch (const ERegistryException &e) {
        EXPECT_EQ(e.Message(), "Failed to set data for 'Kept'");
    }
    EXPECT_FALSE(reg.DeleteValue("Kept"));
    EXPECT_FALSE(reg.DeleteKey("\\Software\\RO"));

    TRegistry readAccess(KEY_READ);
    EXPECT_FALSE(readAccess.OpenKey("Software\\New", true));
    ASSERT_TRUE(readAccess.OpenKey("Software\\RO", false));
    EXPECT_THROW(readAccess.WriteInteger("N", 1), ERegistryException);
    EXPECT_EQ(ReadBytes("registry.ini"), before);
}

TEST_F(RegistryTest, AnUnwritableFileRaisesAndKeepsTheOldOne)
{
    WriteBytes("blocker", "not a folder");
    UseFile("blocker/registry.ini");
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software\\X", true));
    EXPECT_THROW(reg.WriteString("V", "1"), ERegistryException);
    EXPECT_THROW(reg.CreateKey("Software\\X"), ERegistryException);
    EXPECT_EQ(ReadBytes("blocker"), "not a folder");
}

TEST_F(RegistryTest, HandEditedFilesAreRead)
{
    WriteBytes("registry.ini", "; edited by hand\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Office\\14.0\\Common]\r\n"
                               "Theme=dword:00000002\r\n"
                               "Plain=  unquoted text  \r\n"
                               "Broken=dword:xyz\r\n"
                               "no equals sign here\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Deep\\Only\\Leaf]\r\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Office\\14.0\\Common"));
    EXPECT_EQ(reg.ReadInteger("Theme"), 2);
    EXPECT_EQ(reg.ReadString("Plain"), "unquoted text");
    EXPECT_EQ(reg.ReadString("Broken"), "dword:xyz");
    EXPECT_TRUE(reg.KeyExists("\\Software\\Deep\\Only")); // a key known only through its subkey
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("Software\\Office\\14.0\\Common", false));
    reg.WriteInteger("Theme", 3);
    const QByteArray after = ReadBytes("registry.ini");
    EXPECT_TRUE(after.contains("; edited by hand"));
    EXPECT_TRUE(after.contains("Theme=dword:00000003"));
    EXPECT_TRUE(after.contains("no equals sign here"));
}

TEST_F(RegistryTest, EveryKeyListedOpensSoThatAWalkDownTheKeysEnds)
{
    // Sections with an empty part name no key below "Software" that opens.
    WriteBytes("registry.ini", "[HKEY_CURRENT_USER\\Software\\\\Inner]\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Trail\\]\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Gap\\\\Leaf]\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Good\\Leaf]\r\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software"));
    TStringList names;
    reg.GetKeyNames(&names);
    ASSERT_EQ(names.Count(), 1);
    EXPECT_EQ(names[0], "Good");
    EXPECT_TRUE(reg.OpenKeyReadOnly("Good"));
}

TEST_F(RegistryTest, NamesWrittenByHandWithoutEscapesAreReadWrittenAndDeletedByTheNameListed)
{
    WriteBytes("registry.ini", "[HKEY_CURRENT_USER\\Software\\Hand]\r\n"
                               "my value=\"x\"\r\n"
                               "[tag]=dword:00000005\r\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Hand", false));
    TStringList names;
    reg.GetValueNames(&names);
    ASSERT_EQ(names.Count(), 2);
    EXPECT_EQ(names[0], "my value");
    EXPECT_TRUE(reg.ValueExists("My Value"));
    EXPECT_EQ(reg.ReadString(names[0]), "x");
    EXPECT_EQ(reg.ReadInteger(names[1]), 5);
    reg.WriteString("my value", "y"); // updates the line, adds no second one
    reg.GetValueNames(&names);
    EXPECT_EQ(names.Count(), 2);
    EXPECT_EQ(reg.ReadString("my value"), "y");
    EXPECT_TRUE(reg.DeleteValue("[tag]"));
    EXPECT_FALSE(reg.ValueExists("[tag]"));
}

TEST_F(RegistryTest, WatcherHearsOfChangesBelowItsKey)
{
    int calls = 0;
    TWatchGuard guard(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\14.0\\Common", [&] { ++calls; });
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Microsoft\\Office\\14.0\\Common", true));
    EXPECT_EQ(calls, 1); // the key came into being
    reg.WriteInteger("Theme", 1);
    EXPECT_EQ(calls, 2);
    reg.WriteInteger("Theme", 1); // nothing changes
    EXPECT_EQ(calls, 2);
    ASSERT_TRUE(reg.OpenKey("General", true));
    reg.WriteString("Skin", "x");
    EXPECT_EQ(calls, 4); // subkey created, then its value
    reg.OpenKey("\\Software\\Elsewhere", true);
    reg.WriteInteger("Theme", 9);
    TRegistry machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    machine.OpenKey("Software\\Microsoft\\Office\\14.0\\Common", true);
    machine.WriteInteger("Theme", 9);
    EXPECT_EQ(calls, 4);
    reg.DeleteKey("\\Software\\Microsoft\\Office\\14.0\\Common\\General");
    EXPECT_EQ(calls, 5);

    UnregisterKeyWatcher(guard.Id);
    reg.OpenKey("\\Software\\Microsoft\\Office\\14.0\\Common", false);
    reg.WriteInteger("Theme", 3);
    EXPECT_EQ(calls, 5);
}

TEST_F(RegistryTest, WatcherHearsOfChangesWrittenByAnotherProgram)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Office\\12.0\\Common", true));
        reg.WriteInteger("Theme", 1);
    }
    int calls = 0;
    TWatchGuard guard(HKEY_CURRENT_USER, "\\Software\\Office\\12.0\\Common\\", [&] { ++calls; });

    // Another program rewrites the file the way we do: whole, through a rename.
    QByteArray bytes = ReadBytes("registry.ini");
    bytes.replace("Theme=dword:00000001", "Theme=dword:00000003");
    WriteBytes("other.tmp", bytes);
    ASSERT_TRUE(QFile::remove(PathOf("registry.ini")));
    ASSERT_TRUE(QFile::rename(PathOf("other.tmp"), PathOf("registry.ini")));

    QElapsedTimer timer;
    timer.start();
    while (calls == 0 && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    EXPECT_EQ(calls, 1);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Office\\12.0\\Common"));
    EXPECT_EQ(reg.ReadInteger("Theme"), 3);
}

TEST_F(RegistryTest, RegistryIniFilesKeepSectionsAsSubkeys)
{
    {
        TRegistryIniFile ini("Software\\Vendor\\Grid");
        ini.WriteInteger("Columns", "Col0", 64);
        ini.WriteInteger("Columns", "Col1", 80);
        ini.WriteString("Columns", "Title", "Rules");
        ini.WriteBool("Look", "Flat", true);
        ini.UpdateFile();
        EXPECT_EQ(ini.FileName(), "Software\\Vendor\\Grid");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Vendor\\Grid\\Columns", false));
    EXPECT_EQ(reg.ReadInteger("Col0"), 64); // an integer value, as the registry keeps numbers

    TRegistryIniFile ini("Software\\Vendor\\Grid");
    EXPECT_EQ(ini.ReadInteger("columns", "col1", 0), 80);
    EXPECT_EQ(ini.ReadString("Columns", "Col0", ""), "64");
    EXPECT_EQ(ini.ReadInteger("Columns", "Title", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Columns", "Missing", -1), -1);
    EXPECT_TRUE(ini.ReadBool("Look", "Flat", false));
    EXPECT_TRUE(ini.SectionExists("Look"));
    EXPECT_FALSE(ini.SectionExists("Nope"));
    EXPECT_TRUE(ini.ValueExists("Columns", "Title"));
    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(Items(list), QStringList({"Columns", "Look"}));
    ini.ReadSection("Columns", &list);
    EXPECT_EQ(Items(list), QStringList({"Col0", "Col1", "Title"}));
    ini.ReadSectionValues("Columns", &list);
    EXPECT_EQ(Items(list), QStringList({"Col0=64", "Col1=80", "Title=Rules"}));
    ini.DeleteKey("Columns", "Title");
    ini.EraseSection("Look");
    ini.ReadSections(&list);
    EXPECT_EQ(Items(list), QStringList({"Columns"}));

    // The classic registry INI file keeps numbers as text.
    TRegIniFile regIni("Software\\Vendor\\Classic");
    regIni.WriteInteger("S", "N", 0x1F);
    regIni.WriteBool("S", "B", false);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Vendor\\Classic\\S", false));
    EXPECT_EQ(reg.ReadString("N"), "31");
    EXPECT_EQ(regIni.ReadInteger("S", "N", 0), 31);
    EXPECT_FALSE(regIni.ReadBool("S", "B", true));
    regIni.WriteString("S", "H", "0x10");
    EXPECT_EQ(regIni.ReadInteger("S", "H", 0), 16);
}

} // namespace
