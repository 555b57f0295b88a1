// The part the multi-column drop-down and the grid drop-down share: lookup list, the edit's
// type-ahead, walking the entries, the popup's height and the style colours.
#include "dropdowns/ExtMultiColumnDropDown.h"

#include "platform/SysUtils.h"

namespace ExtMultiColumnDropDown {

TColumnListDropDown::TColumnListDropDown(TComponent *AOwner)
    : TExtCustomDropDown(AOwner), FHeaderFont(std::make_unique<TFont>()), FLookupItems(std::make_unique<TStringList>())
{
}

TColumnListDropDown::~TColumnListDropDown() = default;

void TColumnListDropDown::AfterConstruction()
{
    TExtCustomDropDown::AfterConstruction();
    HeaderColor = 0xFFFFFF;
    HeaderColorTo = 0x808080;
    HeaderHeight = 25;
    LineColor = 0xC0C0C0;
    FixedLineColor = 0xD1BBA4;
    SetDropDownColor(clWhite);
    SetDropDownHeight(200);
    SetAutoSelect(true);
    SetSelectionColorStyle(scOffice2007);
    SelectionTextColor = 0;
}

void TColumnListDropDown::SetTextQuiet(const UnicodeString &Value)
{
    ++FTextUpdate;
    try {
        SetText(Value);
    } catch (...) {
        --FTextUpdate;
        throw;
    }
    --FTextUpdate;
}

void TColumnListDropDown::BuildLookupItems()
{
    TCollection *rows = ItemRows();
    if (LookupColumn < 0 || rows->Count() == 0)
        return;
    FLookupItems->Clear();
    for (int i = 0; i < rows->Count(); ++i) {
        const auto l = static_cast<TDropDownItem *>(rows->Items(i))->Line(LookupColumn);
        FLookupItems->Add(l ? *l : UnicodeString());
    }
}

// ---- walking the entries ----

void TColumnListDropDown::SelectFirst()
{
    if (GetItemCount() > 0)
        SetItemIndex(0);
}

void TColumnListDropDown::SelectLast()
{
    if (GetItemCount() > 0)
        SetItemIndex(GetItemCount() - 1);
}

void TColumnListDropDown::SelectNext()
{
    const int n = GetItemCount();
    if (n > 0)
        SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + 1, n - 1));
}

void TColumnListDropDown::SelectPrevious()
{
    if (GetItemCount() > 0)
        SetItemIndex(FItemIndex <= 0 ? 0 : FItemIndex - 1);
}

void TColumnListDropDown::SelectNextPage()
{
    const int n = GetItemCount();
    if (n > 0)
        SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + 10, n - 1));
}

void TColumnListDropDown::SelectPreviousPage()
{
    if (GetItemCount() > 0)
        SetItemIndex(FItemIndex < 0 ? 0 : std::max(FItemIndex - 10, 0));
}

void TColumnListDropDown::WheelDown()
{
    TExtCustomDropDown::WheelDown();
    SelectNext();
}

void TColumnListDropDown::WheelUp()
{
    TExtCustomDropDown::WheelUp();
    SelectPrevious();
}

void TColumnListDropDown::AdaptDropDownHeight(int &H)
{
    // A row height of 0 would leave no whole rows to count.
    if (DropDownRowHeight <= 0)
        return;
    int V = 0;
    if (DropDownHeader()->Visible())
        V += DropDownHeader()->Height();
    if (DropDownFooter()->Visible())
        V += DropDownFooter()->Height();
    H = V + HeaderHeight + FRowFitExtra + DropDownRowHeight * ((H - V - HeaderHeight - 2) / DropDownRowHeight);
}

// ---- the edit's keys and type-ahead ----

bool TColumnListDropDown::EnterLookupKey(WideChar Key)
{
    if (Key != 8) {
        if (Key != 9)
            FLookupEntry += QChar(char16_t(Key));
        return false;
    }
    if (SelLength() == 0) {
        FLookupEntry.chop(1);
        SetTextQuiet(FLookupEntry);
    } else {
        UnicodeString t = Text();
        t.remove(SelStart(), SelLength());
        SetTextQuiet(t);
    }
    SetSelStart(static_cast<int>(Text().length()));
    return true;
}

void TColumnListDropDown::Change()
{
    FPending = false;
    TExtCustomDropDown::Change();
    if (FTextUpdate > 0 || ComponentState().Contains(TComponentStateItem::csDesigning) || !FWorkMode)
        return;
    SetIsModified(Text() != FOldValue);
    const UnicodeString text = Text();
    const UnicodeString typed = text.left(SelStart());
    const UnicodeString key = MatchCase ? typed : AnsiUpperCase(typed);
    int index = -1;
    UnicodeString completed;
    if (FLookupItems->Count() > 0 && CompleteFromLookup(FLookupItems.get(), text, key, MatchCase, index, completed)) {
        FItemIndex = index;
        SetTextQuiet(completed);
        SetSelStart(static_cast<int>(key.length()));
        SetSelLength(static_cast<int>(completed.length() - key.length()));
        FPendingIndex = index;
        FPendingLength = static_cast<int>(key.length());
        FPending = true;
        return;
    }
    if (!typed.isEmpty() && typed != text) {
        SetTextQuiet(typed);
        SetSelStart(static_cast<int>(typed.length()));
    }
}

void TColumnListDropDown::ApplyPendingTypeAhead()
{
    if (!FPending)
        return;
    const int typed = FPendingLength;
    SetItemIndex(FPendingIndex);
    SetSelStart(typed);
    SetSelLength(static_cast<int>(Text().length()) - typed);
    FPending = false;
}

void TColumnListDropDown::KeyUp(Word &Key, TShiftState Shift)
{
    if (!(Key == VK_RETURN && ReturnIsTab))
        TExtCustomDropDown::KeyUp(Key, Shift);
    ApplyPendingTypeAhead();
}

void TColumnListDropDown::KeyDown(Word &Key, TShiftState Shift)
{
    const Word key = Key;
    if (LookupColumn < 0 || ItemRows()->Count() == 0) {
        BeforeBaseKeyDown(key);
        TExtCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    if (key == VK_BACK || key == VK_ESCAPE || key == VK_DELETE)
        FWorkMode = false;
    else if (key != VK_RETURN)
        FWorkMode = true;
    if (key == VK_RETURN) {
        const int i = FLookupItems->IndexOf(Text());
        if (i >= 0) {
            SetTextQuiet(FLookupItems->Strings(i));
            SetItemIndex(i);
            Change();
        }
        if (ReturnIsTab) {
            PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
            Key = 0;
        }
    }
    BeforeBaseKeyDown(key);
    TExtCustomDropDown::KeyDown(Key, Shift);
    if (key == VK_ESCAPE)
        SetItemIndex(FLookupItems->IndexOf(Text()));
}

void TColumnListDropDown::KeyPress(WideChar &Key)
{
    if (Key == 13 && ReturnIsTab) {
        Key = 0;
        return;
    }
    TExtCustomDropDown::KeyPress(Key);
}

// ---- looks ----

void TColumnListDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TColor sel = SelectionColor();
    if (MultiColumnSelectionLines(Value, LineColor, FixedLineColor, sel))
        SetSelectionColor(sel);
    TExtCustomDropDown::SetSelectionColorStyle(Value);
}

void TColumnListDropDown::SetComponentStyle(TQRVStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    if (!FOffice2010Colours && (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black))
        return;
    const TMultiColumnLook L = MultiColumnLook(AStyle);
    if (!L.Changes)
        return;
    HeaderColor = L.HeaderColor;
    HeaderColorTo = L.HeaderColorTo;
    if (L.HeaderFontColorSet)
        FHeaderFont->SetColor(L.HeaderFontColor);
    if (L.SelectionStyleSet)
        SetSelectionColorStyle(L.SelectionStyle);
    LineColor = L.LineColor;
    FixedLineColor = L.FixedLineColor;
    if (L.SelectionColorsSet) {
        SetSelectionColor(L.SelectionColor);
        SetSelectionColorTo(L.SelectionColorTo);
    }
    SelectionTextColor = L.SelectionTextColor;
}

} // namespace ExtMultiColumnDropDown
