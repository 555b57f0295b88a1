// The grid unit's process-wide state: start-up and shut-down, the hook that keeps the focus frame
// over its cell while windows move, and the unit routines.
#include "grid/core/ExtGrid.h"
#include "grid/core/ExtGridDropDowns.h"
#include "grid/core/ExtGridPickers.h"

#include "platform/FileVersionInfo.h"
#include "platform/Ole2.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace ExtGrid {

TExtStringGrid *FocusFrameGrid = nullptr;
HHOOK GridHook = nullptr;
TCursor LinkCursor = crHandPoint;
bool FlatScrollBarsAvailable = false;
Cardinal CF_GRIDCELLS = 0;
Cardinal WM_GRIDEDITDONE = 0;
Cardinal WM_DTPSHIFTFOCUS = 0;
UnicodeString HintFontName;

namespace {

int GStartUps = 0;
bool GUnitEndBooked = false;

struct TGridClass {
    const char *Name;
    TPersistentFactory Factory;
};

const std::vector<TGridClass> &GridClasses()
{
    static const std::vector<TGridClass> classes{
        {"TExtStringGrid", [](TComponent *o) -> TPersistent * { return new TExtStringGrid(o); }},
        {"TDropList", [](TComponent *o) -> TPersistent * { return new TDropList(o); }},
        {"TArrowWindow",
         [](TComponent *o) -> TPersistent * {
             auto *w = dynamic_cast<TWinControl *>(o);
             return w ? new TArrowWindow(w, arrDown) : nullptr;
         }},
        {"TGridCombo", [](TComponent *o) -> TPersistent * { return new TGridCombo(o); }},
        {"TGridSpin", [](TComponent *o) -> TPersistent * { return new TGridSpin(o); }},
        {"TGridTransEdit", [](TComponent *o) -> TPersistent * { return new TGridTransEdit(o); }},
        {"TGridTransCombo", [](TComponent *o) -> TPersistent * { return new TGridTransCombo(o); }},
        {"TGridCheckBox", [](TComponent *o) -> TPersistent * { return new TGridCheckBox(o); }},
        {"TGridEditBtn", [](TComponent *o) -> TPersistent * { return new TGridEditBtn(o); }},
        {"TGridDateTimePicker", [](TComponent *o) -> TPersistent * { return new TGridDateTimePicker(o); }},
        {"TGridUnitEditBtn", [](TComponent *o) -> TPersistent * { return new TGridUnitEditBtn(o); }},
        {"TGridTrackbarDropDown", [](TComponent *o) -> TPersistent * { return NewDropDown<TGridTrackbarDropDown>(o); }},
        {"TGridMemoDropDown", [](TComponent *o) -> TPersistent * { return NewDropDown<TGridMemoDropDown>(o); }},
        {"TGridCalculatorDropDown", [](TComponent *o) -> TPersistent * { return NewDropDown<TGridCalculatorDropDown>(o); }},
        {"TGridTimepickerDropDown", [](TComponent *o) -> TPersistent * { return NewDropDown<TGridTimepickerDropDown>(o); }},
        {"TGridDetailPickerDropDown",
         [](TComponent *o) -> TPersistent * { return NewDropDown<TGridDetailPickerDropDown>(o); }},
        {"TGridGridDropDown", [](TComponent *o) -> TPersistent * { return NewDropDown<TGridGridDropDown>(o); }},
        {"TGridColorDropDown", [](TComponent *o) -> TPersistent * { return NewDropDown<TGridColorDropDown>(o); }},
        {"TGridImageDropDown", [](TComponent *o) -> TPersistent * { return NewDropDown<TGridImageDropDown>(o); }},
        {"TGridButton", [](TComponent *o) -> TPersistent * { return new TGridButton(o); }},
        {"TGridDatePicker", [](TComponent *o) -> TPersistent * { return new TGridDatePicker(o); }},
        {"THeaderDragButton", [](TComponent *o) -> TPersistent * { return new THeaderDragButton(o); }},
        {"TControlEdit", [](TComponent *o) -> TPersistent * { return new TControlEdit(o); }},
        {"TControlCombo", [](TComponent *o) -> TPersistent * { return new TControlCombo(o); }},
        {"TScrollBar", [](TComponent *o) -> TPersistent * { return new TScrollBar(o); }},
        {"TExtRichEdit", [](TComponent *o) -> TPersistent * { return new TExtRichEdit(o); }},
        {"TFooterPanel", [](TComponent *o) -> TPersistent * { return new TFooterPanel(o); }},
        {"TSearchPanel", [](TComponent *o) -> TPersistent * { return new TSearchPanel(o); }},
    };
    return classes;
}

} // namespace

const QStringList &GridClassNames()
{
    static const QStringList names = [] {
        QStringList l;
        for (const TGridClass &c : GridClasses())
            l << QString::fromLatin1(c.Name);
        return l;
    }();
    return names;
}

int RegisterGridClasses()
{
    int n = 0;
    try {
        for (const TGridClass &c : GridClasses()) {
            RegisterClass(QString::fromLatin1(c.Name), c.Factory);
            ++n;
        }
    } catch (const Exception &) {
        // A class of that name is there already: the rest of the list is left out, start-up goes on.
    }
    return n;
}

void StartUp()
{
    if (GStartUps > 0)
        return;
    ++GStartUps;
    // The unit ends with the program, after main has returned or exit was called; the state it
    // clears was made before this, so it is still there then.
    if (!GUnitEndBooked) {
        GUnitEndBooked = true;
        std::atexit(ShutDown);
    }
    OleInitialize(nullptr);
    FocusFrameGrid = nullptr;
    if (!GridHook)
        GridHook = SetWindowsHookEx(WH_CALLWNDPROC, GridCallWndProcHook, nullptr, GetCurrentThreadId());
    RegisterGridClasses();
    FlatScrollBarsAvailable = FlatScrollBarsOffered();
    CF_GRIDCELLS = RegisterClipboardFormat(QStringLiteral("TExtStringGrid Cells"));
    WM_GRIDEDITDONE = RegisterWindowMessage(QStringLiteral("GridEditDone"));
    WM_DTPSHIFTFOCUS = DTPShiftFocusMessage();
}

void ShutDown()
{
    if (GStartUps == 0)
        return;
    --GStartUps;
    OleUninitialize();
    if (GridHook) {
        UnhookWindowsHookEx(GridHook);
        GridHook = nullptr;
    }
    HintFontName.clear();
}

int StartUpCount() { return GStartUps; }

bool FlatScrollBarsOffered() { return GetFileVersion(QStringLiteral("comctl32.dll")) > 0x40045; }

WideChar GetTimeSeparator() { return FormatSettings.TimeSeparator.unicode(); }
WideChar GetDateSeparator() { return FormatSettings.DateSeparator.unicode(); }
WideChar GetThousandSeparator() { return FormatSettings.ThousandSeparator.unicode(); }
WideChar GetDecimalSeparator() { return FormatSettings.DecimalSeparator.unicode(); }
UnicodeString GetShortDateFormat() { return FormatSettings.ShortDateFormat; }
UnicodeString GetShortTimeFormat() { return FormatSettings.ShortTimeFormat; }
UnicodeString GetLongTimeFormat() { return FormatSettings.LongTimeFormat; }

void SetWindowTransparent(HWND Wnd)
{
    SetWindowLong(Wnd, GWL_EXSTYLE, GetWindowLong(Wnd, GWL_EXSTYLE) | LPARAM(WS_EX_TRANSPARENT));
}

int GetFileVersion(const UnicodeString &FileName)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSize(FileName, &handle);
    if (int(size) <= 0)
        return -1;
    std::vector<char> block(size);
    if (!GetFileVersionInfo(FileName, handle, size, block.data()))
        return -1;
    void *buf = nullptr;
    UINT len = 0;
    if (!VerQueryValue(block.data(), QStringLiteral("\\"), &buf, &len) || len < sizeof(VS_FIXEDFILEINFO))
        return -1;
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, buf, sizeof info);
    if (info.dwSignature != VS_FFI_SIGNATURE)
        return -1;
    return int(info.dwFileVersionMS);
}

LRESULT GridCallWndProcHook(int Code, WPARAM WParam, LPARAM LParam)
{
    if (Code == HC_ACTION && LParam) {
        const auto *msg = reinterpret_cast<const CWPSTRUCT *>(LParam);
        if ((msg->message == WM_WINDOWPOSCHANGING || msg->message == WM_WINDOWPOSCHANGED) && FocusFrameGrid)
            FocusFrameGrid->MoveFocusWindow();
    }
    return CallNextHookEx(GridHook, Code, WParam, LParam);
}

} // namespace ExtGrid
