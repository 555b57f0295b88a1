#include "controls/ExtStyleIF.h"
#include "controls/ExtXPVS.h"

#include "platform/UxTheme.h"
#include "platform/VersionInfo.h"

#include "support/GuiTest.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString K12 = QStringLiteral("\\Software\\Microsoft\\Office\\12.0\\Common");
const QString K14 = QStringLiteral("\\Software\\Microsoft\\Office\\14.0\\Common");

class StylesTest : public TempDirTest {
protected:
    void SetUp() override { qputenv("FABRICOR_REGISTRY_FILE", PathOf("registry.ini").toUtf8()); }
    void TearDown() override { qunsetenv("FABRICOR_REGISTRY_FILE"); }

    // The Office key with its General subkey; Theme < 0 leaves the value out.
    static void Office(const QString &Common, int Theme)
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Common + "\\General", true));
        reg.CloseKey();
        if (Theme >= 0) {
            ASSERT_TRUE(reg.OpenKey(Common, true));
            reg.WriteInteger("Theme", Theme);
        }
    }
    static void WriteTheme(const QString &Common, int Theme)
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Common, true));
        reg.WriteInteger("Theme", Theme);
    }
};

// A window that counts the theme-change messages it receives.
class TCountingWindow : public TWinControl {
public:
    using TWinControl::TWinControl;
    void WndProc(TMessage &Message) override
    {
        if (Message.Msg == WM_OFFICETHEMECHANGED) {
            ++Count;
            Key = *reinterpret_cast<const UnicodeString *>(Message.LParam);
        }
        TWinControl::WndProc(Message);
    }
    int Count = 0;
    UnicodeString Key;
};

int ThreadCount() { return static_cast<int>(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

TEST_F(StylesTest, OfficeThemeFollowsTheNewestOfficeThatHoldsATheme)
{
    struct TCase {
        int Office14; // -2: no key, -1: key without Theme
        int Office12;
        TOfficeTheme Expected;
    };
    const TCase cases[] = {
        {2, 3, ot2010Silver}, {2, -2, ot2010Silver}, {1, 1, ot2010Blue},     {3, -1, ot2010Black},
        {-1, 3, ot2007Black}, {-2, 1, ot2007Blue},   {-2, 2, ot2007Silver},  {0, 3, ot2003Blue},
        {4, 1, ot2003Blue},   {-1, 0, ot2003Blue},   {-2, 4, ot2003Blue},    {-2, -2, otUnknown},
        {-1, -1, otUnknown},
    };
    for (const TCase &c : cases) {
        QFile::remove(PathOf("registry.ini"));
        if (c.Office14 > -2)
            Office(K14, c.Office14);
        if (c.Office12 > -2)
            Office(K12, c.Office12);
        EXPECT_EQ(CurrentOfficeTheme(), c.Expected) << c.Office14 << "/" << c.Office12;
    }
}

TEST_F(StylesTest, AThemeValueOfTheWrongKindCountsAsMissing)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(K14, true));
    reg.WriteString("Theme", "2");
    EXPECT_EQ(ReadOfficeThemeValue(&reg, K14.mid(1)), -1);
    EXPECT_EQ(ReadOfficeThemeValue(nullptr, K14.mid(1)), -1);
    EXPECT_EQ(CurrentOfficeTheme(), otUnknown);
}

TEST_F(StylesTest, SettingsVersionAndProbes)
{
    EXPECT_EQ(OfficeSettingsVersion(), 0);
    Office(K12, -1);
    EXPECT_EQ(OfficeSettingsVersion(), 1);
    Office(K14, -1);
    EXPECT_EQ(OfficeSettingsVersion(), 2);

    EXPECT_TRUE(IsWinXPOrLater());
    EXPECT_FALSE(IsComCtl6());
    EXPECT_TRUE(HasLocaleInfoEx());
    EXPECT_EQ(DefaultUIFontName(), "Segoe UI");
    EXPECT_EQ(GetFileVersion("C:\\Windows\\System32\\COMCTL32.DLL"), (5u << 16) | 82u);
    EXPECT_EQ(GetFileVersion("nosuch.dll"), 0xFFFFFFFFu);
    OSVERSIONINFO wrongSize;
    wrongSize.dwOSVersionInfoSize = 3;
    EXPECT_FALSE(GetVersionEx(wrongSize));
    // Without the library there is no colour scheme to read.
    EXPECT_EQ(CurrentXPColorScheme(), 0);
}

TEST_F(StylesTest, ThemeLibraryIsAbsentUntilAProviderIsInstalled)
{
    EXPECT_FALSE(ThemeLibraryAvailable());
    EXPECT_FALSE(ExtXPVS::Loaded());
    EXPECT_EQ(ExtXPVS::IsThemeActive, nullptr);
    EXPECT_FALSE(ExtXPVS::ThemesActive());
    EXPECT_FALSE(IsThemeActive());
    EXPECT_EQ(OpenThemeData(nullptr, "button"), nullptr);
    EXPECT_FALSE(SystemFunctionExists("uxtheme.dll", "OpenThemeData"));

    TRecordingThemeProvider provider;
    SetThemeProvider(&provider);
    ExtXPVS::Bind();
    EXPECT_TRUE(ExtXPVS::Loaded());
    EXPECT_TRUE(ExtXPVS::ThemesActive());
    HTHEME h = ExtXPVS::OpenThemeData(nullptr, "nosuchclass;Button");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(ExtXPVS::DrawThemeBackground(h, nullptr, BP_PUSHBUTTON, PBS_HOT, TRect(1, 2, 3, 4), nullptr), S_OK);
    EXPECT_EQ(ExtXPVS::CloseThemeData(h), S_OK);
    EXPECT_EQ(ExtXPVS::CloseThemeData(h), E_HANDLE);
    ASSERT_EQ(provider.Entries.size(), 1u);
    EXPECT_EQ(provider.Entries[0].ClassName, "button");
    EXPECT_EQ(provider.Entries[0].State, PBS_HOT);
    EXPECT_EQ(provider.OpenCount(), 0);
    provider.Active = false;
    EXPECT_FALSE(ExtXPVS::ThemesActive());

    ExtXPVS::Unbind();
    SetThemeProvider(nullptr);
    EXPECT_FALSE(ExtXPVS::Loaded());
    EXPECT_EQ(ExtXPVS::OpenThemeData, nullptr);
}

TEST_F(StylesTest, XPColorSchemeComesFromTheThemeNameOnlyWithCommonControls6)
{
    // The common controls answer 5.82 here, so even an active theme gives no scheme.
    TRecordingThemeProvider provider;
    SetThemeProvider(&provider);
    EXPECT_EQ(CurrentXPColorScheme(), 0);
    SetThemeProvider(nullptr);
}

TEST_F(StylesTest, HandleListKeepsOneEntryPerWindow)
{
    THandleList list;
    auto *a = reinterpret_cast<HWND>(std::uintptr_t{16});
    auto *b = reinterpret_cast<HWND>(std::uintptr_t{32});
    list.Add(a);
    list.Insert(0, b);
    EXPECT_EQ(list.Items(0), b);
    EXPECT_TRUE(list.HasValue(a));
    list.DeleteValue(reinterpret_cast<HWND>(std::uintptr_t{48}));
    EXPECT_EQ(list.Count(), 2);
    list.DeleteValue(b);
    EXPECT_EQ(list.Snapshot(), std::vector<HWND>{a});
}

TEST_F(StylesTest, WithoutOfficeTheNotifierMakesNoWindowAndNoThread)
{
    TCountingWindow owner(nullptr);
    auto notifier = std::make_unique<TThemeNotifier>(&owner);
    EXPECT_EQ(notifier->RegMonitorThread, nullptr);
    EXPECT_EQ(notifier->NotifierWindow(), nullptr);
    notifier->RegisterWindow(owner.Handle());
    notifier->UnRegisterWindow(owner.Handle());
}

TEST_F(StylesTest, WatcherTellsRegisteredWindowsOfAThemeChange)
{
    Office(K14, 1);
    TCountingWindow owner(nullptr);
    TCountingWindow grid(nullptr);
    TCountingWindow other(nullptr);
    owner.HandleNeeded();
    GuiTest::ProcessEvents();
    const int threadsBefore = ThreadCount();
    auto notifier = std::make_unique<TThemeNotifier>(&owner);
    ASSERT_NE(notifier->RegMonitorThread, nullptr);
    ASSERT_NE(notifier->NotifierWindow(), nullptr);
    int notified = 0;
    notifier->OnOfficeThemeChange = [&](TObject *Sender) {
        EXPECT_EQ(Sender, notifier.get());
        ++notified;
    };
    notifier->RegisterWindow(grid.Handle());
    notifier->RegisterWindow(grid.Handle());
    notifier->RegisterWindow(other.Handle());
    notifier->UnRegisterWindow(other.Handle());
    notifier->UnRegisterWindow(owner.Handle()); // never registered
    EXPECT_EQ(notifier->RegMonitorThread->WinList()->Count(), 1);
    EXPECT_EQ(notifier->RegMonitorThread->Filter(), REG_NOTIFY_CHANGE_LAST_SET);

    // The watcher may still be on its way to its first wait: write until it reports.
    int written = 10;
    ASSERT_TRUE(GuiTest::WaitUntil([&] {
        WriteTheme(K14, ++written);
        GuiTest::ProcessEvents(20);
        return grid.Count > 0;
    }));
    EXPECT_EQ(grid.Key, K14.mid(1));
    EXPECT_GE(notified, 1);
    EXPECT_EQ(other.Count, 0);
    // A change below the watched key counts too.
    const int before = grid.Count;
    ASSERT_TRUE(GuiTest::WaitUntil([&] {
        TRegistry reg;
        reg.OpenKey(K14 + "\\General", true);
        reg.WriteInteger("Something", ++written);
        GuiTest::ProcessEvents(20);
        return grid.Count > before;
    }));

    notifier.reset();
    EXPECT_EQ(ThreadCount(), threadsBefore);
}

TEST_F(StylesTest, UnopenableKeyEndsTheWatcher)
{
    auto thread = std::make_unique<TRegMonitorThread>();
    thread->SetKey("Software\\Nowhere\\AtAll");
    thread->SetRootKey(HKEY_CURRENT_USER);
    thread->Start();
    thread->WaitFor();
    ASSERT_TRUE(thread->FatalException());
    try {
        std::rethrow_exception(thread->FatalException());
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), "Unable to open registry key Software\\Nowhere\\AtAll");
    }
    EXPECT_EQ(thread->Filter(), 15u);
}

TEST_F(StylesTest, NotifierForgetsAWatcherThatEndedEarly)
{
    Office(K12, 1);
    TCountingWindow owner(nullptr);
    auto notifier = std::make_unique<TThemeNotifier>(&owner);
    ASSERT_NE(notifier->RegMonitorThread, nullptr);
    // Take the watched key away before the watcher opens it, or stop it: either way it ends,
    // and the notifier lets go of it.
    notifier->RegMonitorThread->Stop();
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return notifier->RegMonitorThread == nullptr; }));
    notifier->RegisterWindow(owner.Handle());
    notifier.reset();
}

TEST_F(StylesTest, SharedNotifierIsMadeOnceAndClearedWithIt)
{
    TCountingWindow owner(nullptr);
    TThemeNotifier *first = SharedThemeNotifier(&owner);
    EXPECT_EQ(SharedThemeNotifier(&owner), first);
    delete first;
    TThemeNotifier *second = SharedThemeNotifier(&owner);
    EXPECT_NE(second, nullptr);
    delete second;
}

} // namespace
