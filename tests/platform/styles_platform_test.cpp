// The platform pieces the drawing and style code stands on: text direction, the edit's
// character positions, one-shot registry change events and layered windows.
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Registry.h"
#include "platform/ShellApi.h"
#include "platform/StdCtrls.h"
#include "platform/VersionInfo.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include "support/GuiTest.h"
#include "support/TempDir.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

struct TMiddleEast {
    explicit TMiddleEast(bool Value) { SetSysLocaleMiddleEast(Value); }
    ~TMiddleEast() { SetSysLocaleMiddleEast(false); }
};

TEST(TextDirection, FlagsFollowTheModeOnlyInAMiddleEastLocale)
{
    TWinControl parent(nullptr);
    TWinControl child(nullptr);
    child.SetParent(&parent);
    EXPECT_EQ(child.BiDiMode(), bdLeftToRight);
    EXPECT_FALSE(SysLocaleMiddleEast());

    parent.SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(child.BiDiMode(), bdRightToLeft); // taken from the parent
    EXPECT_FALSE(child.UseRightToLeftAlignment());
    EXPECT_EQ(child.DrawTextBiDiModeFlags(DT_LEFT | DT_SINGLELINE), static_cast<LongInt>(DT_LEFT | DT_SINGLELINE));

    TMiddleEast locale(true);
    struct TCase {
        TBiDiMode Mode;
        unsigned In;
        unsigned Out;
    };
    const TCase cases[] = {
        {bdLeftToRight, DT_LEFT, DT_LEFT},
        {bdLeftToRight, DT_RIGHT, DT_RIGHT},
        {bdRightToLeft, DT_LEFT, DT_RIGHT | DT_RTLREADING},
        {bdRightToLeft, DT_RIGHT | DT_VCENTER, DT_VCENTER | DT_RTLREADING},
        {bdRightToLeft, DT_CENTER, DT_CENTER | DT_RTLREADING},
        {bdRightToLeftNoAlign, DT_LEFT, DT_LEFT | DT_RTLREADING},
        {bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT | DT_RTLREADING},
    };
    for (const TCase &c : cases) {
        child.SetBiDiMode(c.Mode);
        EXPECT_EQ(child.DrawTextBiDiModeFlags(static_cast<LongInt>(c.In)), static_cast<LongInt>(c.Out)) << c.Mode;
    }
    EXPECT_FALSE(child.ParentBiDiMode());
}

TEST(EditPositions, PositionsComeFromTheFontAndMarginsWithoutAWindow)
{
    TEdit edit(nullptr);
    edit.SetText("WiW");
    ASSERT_FALSE(edit.HandleAllocated());
    TCanvas measure;
    measure.Font()->Assign(edit.Font());
    const auto X = [&](int Index) { return static_cast<int>(edit.Perform(EM_POSFROMCHAR, Index, 0)); };
    EXPECT_EQ(X(0), 1);
    EXPECT_EQ(X(1) & 0xFFFF, 1 + measure.TextWidth("W"));
    EXPECT_EQ(X(2) & 0xFFFF, 1 + measure.TextWidth("Wi"));
    EXPECT_EQ(edit.Perform(EM_POSFROMCHAR, 3, 0), -1);
    EXPECT_EQ(edit.Perform(EM_POSFROMCHAR, static_cast<WPARAM>(-5), 0), -1);
    EXPECT_FALSE(edit.HandleAllocated());

    edit.Perform(EM_SETMARGINS, EC_LEFTMARGIN, 7);
    EXPECT_EQ(X(0), 7);
    EXPECT_EQ(edit.Perform(EM_GETMARGINS, 0, 0), (1 << 16) | 7);
    // The window does not change the answer.
    edit.HandleNeeded();
    EXPECT_EQ(X(1) & 0xFFFF, 7 + measure.TextWidth("W"));
}

class RegNotifyTest : public TempDirTest {
protected:
    void SetUp() override { qputenv("FABRICOR_REGISTRY_FILE", PathOf("registry.ini").toUtf8()); }
    void TearDown() override { qunsetenv("FABRICOR_REGISTRY_FILE"); }
    static void Write(const QString &Key, const QString &Name, int Value)
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, true));
        reg.WriteInteger(Name, Value);
    }
};

TEST_F(RegNotifyTest, EventIsSetOnceAtTheNextChangeBelowTheKey)
{
    Write("\\Software\\Watched", "A", 1);
    HANDLE event = CreateEventW(nullptr, true, false, "");
    ASSERT_EQ(RegNotifyChangeKeyValue(HKEY_CURRENT_USER, "Software\\Watched", true, REG_NOTIFY_CHANGE_LAST_SET, event,
                                      true),
              ERROR_SUCCESS);
    Write("\\Software\\Elsewhere", "A", 1);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    Write("\\Software\\Watched\\Below", "B", 2);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    // Once only: after a reset the next change stays unreported until asked again.
    ResetEvent(event);
    Write("\\Software\\Watched", "A", 3);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    RegNotifyChangeKeyValue(HKEY_CURRENT_USER, "Software\\Watched", true, 0, event, true);
    Write("\\Software\\Watched", "A", 4);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    CloseHandle(event);
    EXPECT_EQ(RegNotifyChangeKeyValue(HKEY_CURRENT_USER, "Software\\Watched", true, 0, nullptr, true),
              ERROR_INVALID_HANDLE);
}

TEST_F(RegNotifyTest, AWorkerThreadWaitsForAChangeMadeElsewhere)
{
    Write("\\Software\\Watched", "A", 1);
    HANDLE event = CreateEventW(nullptr, false, false, "");
    std::atomic<bool> woke{false};
    std::thread worker([&] {
        RegNotifyChangeKeyValue(HKEY_CURRENT_USER, "Software\\Watched", true, 0, event, false);
        woke = true;
    });
    EXPECT_TRUE(GuiTest::WaitUntil([&] {
        Write("\\Software\\Watched", "A", static_cast<int>(GetTickCount() & 0xFFFF) + 2);
        GuiTest::ProcessEvents(10);
        return woke.load();
    }));
    worker.join();
    // A request whose event was closed ends quietly at the next change.
    RegNotifyChangeKeyValue(HKEY_CURRENT_USER, "Software\\Watched", true, 0, event, true);
    CloseHandle(event);
    Write("\\Software\\Watched", "A", 99999);
}

TEST(LayeredWindows, AttributesAndContentOfATranslucentWindow)
{
    TWinControl window(nullptr);
    window.SetBounds(10, 20, 30, 20);
    const HWND wnd = window.Handle();
    DWORD key = 0, flags = 0;
    Byte alpha = 0;
    EXPECT_FALSE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
    EXPECT_TRUE(SetLayeredWindowAttributes(wnd, 0x00FF00, 128, LWA_ALPHA));
    EXPECT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, LWA_ALPHA);
    EXPECT_NEAR(window.Widget()->windowOpacity(), 128 / 255.0, 0.01);
    EXPECT_TRUE(SetLayeredWindowAttributes(wnd, 0x00FF00, 0, LWA_COLORKEY));
    EXPECT_DOUBLE_EQ(window.Widget()->windowOpacity(), 1.0);
    EXPECT_FALSE(SetLayeredWindowAttributes(nullptr, 0, 0, LWA_ALPHA));

    // A premultiplied picture becomes the content of the frameless window.
    TBitmap picture(8, 6);
    picture.SetPixelFormat(TPixelFormat::pf32bit);
    picture.Image().fill(qRgba(0, 0, 128, 128)); // half-transparent blue, premultiplied
    BLENDFUNCTION blend;
    const TPoint at(40, 50);
    const TSize size{8, 6};
    const TPoint origin(0, 0);
    ASSERT_TRUE(UpdateLayeredWindow(wnd, nullptr, &at, &size, picture.Canvas(), &origin, 0, &blend, ULW_ALPHA));
    EXPECT_EQ(window.BoundsRect(), TRect(40, 50, 48, 56));
    EXPECT_TRUE(window.Widget()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.Widget()->testAttribute(Qt::WA_TranslucentBackground));
    // The picture is what the window shows.
    picture.Image().fill(qRgba(255, 0, 0, 255));
    picture.Image().setPixel(3, 2, qRgba(0, 255, 0, 255));
    ASSERT_TRUE(UpdateLayeredWindow(wnd, nullptr, nullptr, &size, picture.Canvas(), &origin, 0, &blend, ULW_ALPHA));
    EXPECT_EQ(GuiTest::PixelAt(&window, 0, 0), static_cast<TColorRef>(clRed));
    EXPECT_EQ(GuiTest::PixelAt(&window, 3, 2), static_cast<TColorRef>(clLime));

    // A child window cannot be layered this way.
    TWinControl child(nullptr);
    child.SetParent(&window);
    EXPECT_FALSE(UpdateLayeredWindow(child.Handle(), nullptr, &at, &size, picture.Canvas(), &origin, 0, &blend, 0));
}

TEST(VersionProbes, SystemAnswersAsVersion61WithClassicCommonControls)
{
    OSVERSIONINFO info;
    ASSERT_TRUE(GetVersionEx(info));
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(GetFileVersion("comctl32"), (5u << 16) | 82u);
    EXPECT_TRUE(SystemFunctionExists("KERNEL32.DLL", "GetLocaleInfoEx"));
    EXPECT_FALSE(SystemFunctionExists("kernel32", "getlocaleinfoex"));
    EXPECT_TRUE(SystemFunctionExists("user32.dll", "UpdateLayeredWindow"));
    EXPECT_FALSE(SystemFunctionExists("nosuch.dll", "Anything"));
}

} // namespace
