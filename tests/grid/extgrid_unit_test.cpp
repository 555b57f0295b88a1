// The grid unit's start-up: once per process, its hook, messages, clipboard format, class list
// and the common-controls rule; and the unit routines.
#include "grid/core/ExtGrid.h"
#include "grid/core/ExtGridDropDowns.h"

#include "platform/FileVersionInfo.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ExtGridUnit, StartUpRunsOnceAndRegistersItsNumbers)
{
    ExtGrid::StartUp();
    ExtGrid::StartUp();
    { TExtStringGrid g(nullptr); }
    EXPECT_EQ(ExtGrid::StartUpCount(), 1);
    EXPECT_NE(ExtGrid::GridHook, nullptr);
    EXPECT_TRUE(ExtGrid::FlatScrollBarsAvailable);

    const Cardinal ids[]{ExtGrid::CF_GRIDCELLS, ExtGrid::WM_GRIDEDITDONE, ExtGrid::WM_DTPSHIFTFOCUS};
    for (Cardinal id : ids) {
        EXPECT_GE(id, 0xC000u);
        EXPECT_LE(id, 0xFFFFu);
    }
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_NE(ids[1], ids[2]);
    EXPECT_NE(ids[0], ids[2]);
    EXPECT_EQ(RegisterClipboardFormat("TExtStringGrid Cells"), ExtGrid::CF_GRIDCELLS);
    EXPECT_EQ(RegisterWindowMessage("GridEditDone"), ExtGrid::WM_GRIDEDITDONE);
    EXPECT_EQ(RegisterWindowMessage("DTPShiftFocus"), ExtGrid::WM_DTPSHIFTFOCUS);
    UnicodeString name;
    EXPECT_EQ(GetClipboardFormatName(ExtGrid::CF_GRIDCELLS, name), 20);
    EXPECT_EQ(name, "TExtStringGrid Cells");

    // Every class of the list is known by name.
    EXPECT_EQ(ExtGrid::GridClassNames().size(), 28);
    for (const QString &c : ExtGrid::GridClassNames())
        EXPECT_TRUE(bool(GetClass(c))) << c.toStdString();
    TPersistent *made = FindClass("TExtStringGrid")(nullptr);
    EXPECT_NE(dynamic_cast<TExtStringGrid *>(made), nullptr);
    delete made;
    // The grid's own drop-down editors are made for a grid.
    TExtStringGrid owner(nullptr);
    made = FindClass("TGridGridDropDown")(&owner);
    EXPECT_NE(dynamic_cast<TGridGridDropDown *>(made), nullptr);
    delete made;
}

// Checks, as the last thing the program does, that the unit ended before it.
void ExitTellingWhetherTheUnitEnded()
{
    std::_Exit(ExtGrid::GridHook == nullptr && ExtGrid::StartUpCount() == 0 ? 3 : 4);
}

TEST(ExtGridUnit, UnitEndsWhenTheProgramEnds)
{
    // A program of its own: the unit must not have started before the check is booked, as the
    // routines booked at exit run newest first.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::atexit(ExitTellingWhetherTheUnitEnded);
            { TExtStringGrid g(nullptr); }
            if (!ExtGrid::GridHook)
                std::_Exit(5);
            std::exit(0);
        },
        ::testing::ExitedWithCode(3), "");
}

TEST(ExtGridUnit, ClassListStopsAtADuplicate)
{
    ExtGrid::StartUp();
    for (const QString &c : ExtGrid::GridClassNames())
        UnRegisterClass(c);
    RegisterClass("TGridButton", [](TComponent *) -> TPersistent * { return nullptr; });
    const int done = ExtGrid::RegisterGridClasses();
    EXPECT_EQ(done, ExtGrid::GridClassNames().indexOf("TGridButton"));
    EXPECT_TRUE(bool(GetClass("TGridUnitEditBtn")));
    EXPECT_FALSE(bool(GetClass("TGridDatePicker")));
    EXPECT_FALSE(bool(GetClass("TSearchPanel")));
    // Put the list back as start-up left it.
    for (const QString &c : ExtGrid::GridClassNames())
        UnRegisterClass(c);
    EXPECT_EQ(ExtGrid::RegisterGridClasses(), 28);
}

TEST(ExtGridUnit, CommonControlsRule)
{
    struct Case { Cardinal Version; int FileVersion; bool Flat; };
    for (const Case &c : {Case{0x40046u, 0x40046, true}, Case{0x40045u, 0x40045, false}, Case{0xFFFFFFFFu, -1, false},
                          Case{0x50052u, 0x50052, true}}) {
        SetModuleFileVersion("comctl32.dll", c.Version);
        EXPECT_EQ(ExtGrid::GetFileVersion("C:\\Windows\\System32\\COMCTL32.DLL"), c.FileVersion);
        EXPECT_EQ(ExtGrid::FlatScrollBarsOffered(), c.Flat) << std::hex << c.Version;
    }
    ResetModuleFileVersions();
    EXPECT_EQ(ExtGrid::GetFileVersion("comctl32.dll"), 0x50052);
    EXPECT_EQ(ExtGrid::GetFileVersion("nothing.dll"), -1);
}

TEST(ExtGridUnit, RoutinesAndTransparentWindows)
{
    EXPECT_EQ(ExtGrid::GetDecimalSeparator(), FormatSettings.DecimalSeparator.unicode());
    EXPECT_EQ(ExtGrid::GetShortDateFormat(), FormatSettings.ShortDateFormat);

    TForm form(nullptr);
    auto *g = new TExtStringGrid(&form);
    g->SetParent(&form);
    const HWND h = g->Handle();
    EXPECT_EQ(GetWindowLong(h, GWL_EXSTYLE) & LPARAM(WS_EX_TRANSPARENT), 0);
    ExtGrid::SetWindowTransparent(h);
    EXPECT_NE(GetWindowLong(h, GWL_EXSTYLE) & LPARAM(WS_EX_TRANSPARENT), 0);
}

TEST(ExtGridUnit, HookPassesMessagesOnWithoutAFocusGrid)
{
    ExtGrid::StartUp();
    ExtGrid::FocusFrameGrid = nullptr;
    CWPSTRUCT m{0, 0, WM_WINDOWPOSCHANGED, nullptr};
    EXPECT_NO_FATAL_FAILURE(ExtGrid::GridCallWndProcHook(HC_ACTION, 0, reinterpret_cast<LPARAM>(&m)));
    {
        TExtStringGrid g(nullptr);
        ExtGrid::FocusFrameGrid = &g;
        ExtGrid::GridCallWndProcHook(HC_ACTION, 0, reinterpret_cast<LPARAM>(&m));
    }
    // A grid that goes stops being the focus frame's grid.
    EXPECT_EQ(ExtGrid::FocusFrameGrid, nullptr);
}

} // namespace
