// The grid drop-down: its items and lookup, the popup's life cycle, the choice made in the
// grid and the keys typed in the edit and in the grid.
#include "grid/dropdown/ExtCustomGridDropDown.h"

#include "grid/services/ExtGridSort.h"
#include "platform/SysUtils.h"

namespace ExtCustomGridDropDown {

namespace {

bool AltDown()
{
    return GetKeyState(VK_MENU) < 0;
}

// Delphi's Pos(Sub, S) = 1: an empty Sub never matches.
bool BeginsWith(const UnicodeString &S, const UnicodeString &Sub)
{
    return !Sub.isEmpty() && S.startsWith(Sub);
}

bool NavigationKey(Word Key)
{
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
}

} // namespace

// ---- items ----

TDropDownItems::TDropDownItems(TPersistent *AOwner)
    : TDropDownItemList(CollectionItemClass<TDropDownItem>()), FOwner(AOwner)
{
}

TCollectionItemClass TDropDownItems::GetItemClass()
{
    return CollectionItemClass<TDropDownItem>();
}

// ---- construction ----

TCustomExtGridDropDown::TCustomExtGridDropDown(TComponent *AOwner)
    : TColumnListDropDown(AOwner), FColumns(std::make_unique<TDropDownColumns>(this))
{
    FRowFitExtra = 6;
    FOffice2010Colours = false;
    const TComponentState ownerState = AOwner ? AOwner->ComponentState() : TComponentState();
    FDesign = ComponentState().Contains(TComponentStateItem::csDesigning) &&
              !ownerState.Contains(TComponentStateItem::csReading) &&
              !ownerState.Contains(TComponentStateItem::csLoading);
    FItems.reset(CreateItems(this));
    FSearchFooter = std::make_unique<TSearchFooter>(this, FDesign);
    FBands = std::make_unique<TBands>();
    FNavigation = std::make_unique<TNavigation>();
    FMouseActions = std::make_unique<TMouseActions>(this);
    FNavigation->HomeEndKey = heFirstLastRow;
    if (FDesign)
        for (int i = 0; i < 3; ++i)
            FColumns->Add();
}

TCustomExtGridDropDown::~TCustomExtGridDropDown()
{
    if (FGrid)
        FGrid->SetExtDropDown(nullptr);
}

TDropDownItems *TCustomExtGridDropDown::CreateItems(TPersistent *AOwner)
{
    return new TDropDownItems(AOwner);
}

void TCustomExtGridDropDown::Loaded()
{
    TColumnListDropDown::Loaded();
    BuildLookupItems();
    if (FGrid)
        FGrid->LoadItems();
}

void TCustomExtGridDropDown::Notification(TComponent *AComponent, TOperation Operation)
{
    TColumnListDropDown::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FGridImages) {
        FGridImages = nullptr;
        if (FGrid)
            FGrid->SetGridImages(nullptr);
    }
}

void TCustomExtGridDropDown::SetGridImages(TCustomImageList *Value)
{
    FGridImages = Value;
    if (Value)
        Value->FreeNotification(this);
    if (FGrid)
        FGrid->SetGridImages(Value);
}

void TCustomExtGridDropDown::SetStyle(TDropDownStyle Value)
{
    FStyle = Value;
    SetEditorEnabled(Value == dsDropDown);
}

int TCustomExtGridDropDown::GetItemCount() const
{
    if (UseItems)
        return FItems->Count();
    return FGrid ? FGrid->RowCount() - FGrid->FixedRows() : 0;
}

void TCustomExtGridDropDown::SetItemIndex(int Value)
{
    if (UseItems) {
        if (Value >= FItems->Count())
            return;
        FItemIndex = Value;
        const auto l = Value >= 0 && LookupColumn >= 0 ? FItems->Items(Value)->Line(LookupColumn) : std::nullopt;
        SetTextQuiet(l ? *l : UnicodeString());
        return;
    }
    if (!FGrid) {
        FItemIndex = Value;
        return;
    }
    // Entry Value is grid row Value + 1: an index whose row lies past the grid is none.
    if (Value == FItemIndex || Value >= FGrid->RowCount() - 1)
        return;
    FItemIndex = Value;
    SetTextQuiet(Value < 0 ? UnicodeString() : FGrid->Cells(LookupColumn, Value + 1));
}

int TCustomExtGridDropDown::RowToItemIndex(int Row) const
{
    if (!FGrid || Row < 0 || Row >= FGrid->RowCount())
        return Row;
    return static_cast<int>(reinterpret_cast<std::intptr_t>(FGrid->GetObjectEx(0, Row)));
}

int TCustomExtGridDropDown::ItemIndexToRow(int Index) const
{
    if (!FGrid || Index < 0)
        return FItemIndex;
    for (int r = FGrid->FixedRows(); r < FGrid->RowCount(); ++r)
        if (RowToItemIndex(r) == Index)
            return r;
    return FItemIndex;
}

bool TCustomExtGridDropDown::LookupText(const UnicodeString &Value, UnicodeString &FoundText, int &Index) const
{
    FoundText.clear();
    Index = -1;
    const UnicodeString v = CaseSensitive ? Value : AnsiUpperCase(Value);
    auto matches = [&](const UnicodeString &Entry) { return BeginsWith(CaseSensitive ? Entry : AnsiUpperCase(Entry), v); };
    if (UseItems) {
        for (int i = 0; i < FItems->Count(); ++i) {
            const auto l = FItems->Items(i)->Line(LookupColumn);
            if (l && matches(*l)) {
                FoundText = *l;
                Index = i;
                return true;
            }
        }
        return false;
    }
    if (!FGrid)
        return false;
    for (int r = FGrid->FixedRows(); r < FGrid->RowCount(); ++r) {
        const UnicodeString e = FGrid->Cells(LookupColumn, r);
        if (matches(e)) {
            FoundText = e;
            Index = r;
            return true;
        }
    }
    return false;
}

int TCustomExtGridDropDown::LookupKey(WideChar Key)
{
    if (LookupMethod == lmNone)
        return -1;
    if (EnterLookupKey(Key))
        return -1;
    const UnicodeString S = Trim(FLookupEntry);
    if (LookupMethod == lmNarrowDown) {
        if (!FGrid)
            return -1;
        if (S.isEmpty()) {
            FGrid->RemoveAllFilters();
        } else {
            FGrid->SetFixedRowAlways(true);
            FGrid->NarrowDown(S, LookupColumn);
            if (FStyle == dsDropDown && FGrid->RowCount() > FGrid->FixedRows()) {
                const UnicodeString t = FGrid->Cells(LookupColumn, FGrid->FixedRows());
                SetTextQuiet(t);
                SetSelStart(static_cast<int>(FLookupEntry.length()));
                SetSelLength(std::max(0, static_cast<int>(t.length() - FLookupEntry.length())));
            }
        }
        return FGrid->FixedRows();
    }
    UnicodeString found;
    int index = -1;
    if (LookupText(S, found, index)) {
        FItemIndex = index;
        SetTextQuiet(found);
        if (FStyle == dsDropDown) {
            SetSelStart(static_cast<int>(FLookupEntry.length()));
            SetSelLength(std::max(0, static_cast<int>(found.length() - FLookupEntry.length())));
        }
        return index;
    }
    if (FStyle == dsDropDown)
        return -1;
    const UnicodeString key = UnicodeString(QChar(char16_t(Key)));
    if (LookupText(key, found, index)) {
        FItemIndex = index;
        SetTextQuiet(found);
        FLookupEntry = key;
        return index;
    }
    FLookupEntry.clear();
    return -1;
}

// ---- the popup ----

void TCustomExtGridDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (MakePopupGrid(FGrid, this))
        FGrid->Navigation()->HomeEndKey = heFirstLastRow;
}

void TCustomExtGridDropDown::PlaceDropDownControl()
{
    SetControl(FGrid);
    TExtCustomDropDown::PlaceDropDownControl();
}

void TCustomExtGridDropDown::SizeDropDownForm()
{
    TExtCustomDropDown::SizeDropDownForm();
    FitPopupToGrid(FGrid);
}

void TCustomExtGridDropDown::FormSizing()
{
    TExtCustomDropDown::FormSizing();
    SizeColumnsToDropDown();
}

void TCustomExtGridDropDown::SizeColumnsToDropDown()
{
    if (!FGrid)
        return;
    // The grid's copy carries the measured widths of automatic columns.
    FitColumns(FGrid, FGrid->Columns()->Count() >= FColumns->Count() ? FGrid->Columns() : FColumns.get());
}

void TCustomExtGridDropDown::BeforeDropDown()
{
    if (DropDownForm())
        DropDownForm()->CancelOnDeActivate = false;
    if (FGrid) {
        // Rows change while loading: no choice is made by them.
        FLoadingGrid = true;
        try {
            FGrid->LoadFromDropDown(this);
            FGrid->SetColor(DropDownColor());
            TSortSettings *sort = FGrid->SortSettings();
            sort->SetShow(Sorting != gsNone);
            sort->IndexShow = Sorting == gsMultiColumn;
            FBalloonInit = false;
            FGrid->OnSelect = [this](TObject *Sender) { GridSelect(Sender); };
            FGrid->OnSelectCell = [this](TObject *Sender, int ACol, int ARow, bool &CanSelect) {
                GridSelectCell(Sender, ACol, ARow, CanSelect);
            };
            AttachGridEvents();
            FGrid->OnCanSort = [this](TObject *Sender, int ACol, bool &DoSort) { GridCanSort(Sender, ACol, DoSort); };
            FGrid->OnClickSort = [this](TObject *Sender, int ACol) { GridClickSort(Sender, ACol); };
            FGrid->SearchFooter()->Assign(FSearchFooter.get());
            FGrid->MouseActions()->Assign(FMouseActions.get());
            FGrid->Navigation()->Assign(FNavigation.get());
            FGrid->Bands()->Assign(FBands.get());
            TGridOptions o = FGrid->Options() + TGridOptions{goThumbTracking};
            if (RowSelect)
                o += TGridOptions{goRowSelect};
            else
                o -= TGridOptions{goRowSelect};
            if (GridEditable)
                o += TGridOptions{goEditing};
            else
                o -= TGridOptions{goEditing};
            FGrid->SetOptions(o);
            FGrid->SetGridImages(FGridImages);
            FGrid->SetComponentStyle(GetComponentStyle());
            if (UseItems) {
                TExtCustomDropDown::BeforeDropDown();
                FGrid->SetRowCount(FItems->Count() + 1);
                if (FGrid->RowCount() > 1)
                    FGrid->SetFixedRows(1);
                FGrid->LoadItems();
                const int row = ItemIndexToRow(FItemIndex);
                if (row >= FGrid->FixedRows() && row < FGrid->RowCount())
                    FGrid->SetRow(row);
            } else {
                UnicodeString found;
                int row = -1;
                if (LookupText(Text(), found, row))
                    FGrid->SetRow(row);
                else if (FGrid->RowCount() > FGrid->FixedRows())
                    FGrid->SetRow(FGrid->FixedRows());
            }
            if (sort->Column >= 0 && sort->Show)
                FGrid->QSort();
        } catch (...) {
            FLoadingGrid = false;
            throw;
        }
        FLoadingGrid = false;
        FSelectedRow = FGrid->Row();
    }
    FOldItemIndex = FItemIndex;
    if (!UseItems)
        TExtCustomDropDown::BeforeDropDown();
}

void TCustomExtGridDropDown::DoShowDropDown()
{
    TExtCustomDropDown::DoShowDropDown();
    if (!FGrid || !DroppedDown())
        return;
    if (!UseItems)
        while (FColumns->Count() < FGrid->ColCount())
            FColumns->Add();
    SizeColumnsToDropDown();
    if (FGrid->RowCount() - FGrid->FixedRows() > FGrid->VisibleRowCount()) {
        const int row = FGrid->Row();
        if (row >= FGrid->VisibleRowCount() + FGrid->TopRow() || row < FGrid->TopRow())
            FGrid->SetTopRow(row);
    }
    // The row the popup opens on: Enter before any move chooses it.
    FSelectedRow = FGrid->Row();
    FGrid->SetTabStop(true);
    if (FGrid->CanFocus())
        FGrid->SetFocus();
}

void TCustomExtGridDropDown::GridSelectCell(TObject *, int, int ARow, bool &)
{
    FSelectedRow = ARow;
    if (FLoadingGrid || FGrid->WheelSelection())
        return;
    if (UseItems) {
        SetItemIndex(RowToItemIndex(ARow));
    } else {
        SetTextQuiet(FGrid->Cells(LookupColumn, ARow));
        FItemIndex = ARow - FGrid->FixedRows();
    }
}

void TCustomExtGridDropDown::GridSelect(TObject *)
{
    if (FGrid->ConfirmSelection()) {
        if (UseItems)
            SetItemIndex(RowToItemIndex(FGrid->Row()));
        else
            SetItemIndex(FGrid->Row() - 1);
    }
    if (!GridEditable)
        HideDropDown(false);
    if (OnSelect)
        OnSelect(this);
}

void TCustomExtGridDropDown::DoHideDropDown(bool Cancel)
{
    if (DropDownForm() && DropDownForm()->Visible() && FGrid) {
        if (Cancel) {
            SetItemIndex(FOldItemIndex);
        } else if (FGrid->ConfirmSelection()) {
            if (UseItems)
                SetItemIndex(RowToItemIndex(FSelectedRow));
            else
                SetItemIndex(FSelectedRow - FGrid->FixedRows());
            FOldItemIndex = FItemIndex;
            FGrid->SetConfirmSelection(false);
        }
    }
    TExtCustomDropDown::DoHideDropDown(Cancel);
}

void TCustomExtGridDropDown::GridCanSort(TObject *, int, bool &)
{
    FSortItemIndex = FItemIndex;
}

void TCustomExtGridDropDown::GridClickSort(TObject *, int)
{
    const int row = ItemIndexToRow(FSortItemIndex);
    if (row >= 0 && row < FGrid->RowCount())
        FGrid->SetRow(row);
}

void TCustomExtGridDropDown::GridEndBlockFocus()
{
    if (DropDownForm())
        DropDownForm()->BlockActivate = false;
}

// ---- keys ----

bool TCustomExtGridDropDown::GridEditing() const
{
    return FGrid && FGrid->Options().Contains(goEditing) && FGrid->InEditMode();
}

void TCustomExtGridDropDown::WMChar(TWMKey &Message)
{
    const WideChar key = static_cast<WideChar>(Message.CharCode);
    TExtCustomDropDown::WMChar(Message);
    LookupKey(key);
    if (AutoShowDropDown)
        ShowDropDown();
}

void TCustomExtGridDropDown::ControlKeyPress(WideChar &Key)
{
    const bool special = Key == 13 || Key == 27 || (Key >= 33 && Key <= 36) || Key == 38 || Key == 40;
    if ((special && !AltDown()) || (FGrid && FGrid->Options().Contains(goEditing))) {
        FLookupEntry.clear();
    } else if (FGrid) {
        const int r = LookupKey(Key);
        // A narrowing answers the first matching row itself; a lookup answers an entry.
        const int V = r >= 0 && UseItems && LookupMethod == lmLookup ? r + FGrid->FixedRows() : r;
        if (V < FGrid->FixedRows() || V >= FGrid->RowCount()) {
            FLookupEntry.clear();
        } else {
            if (FGrid->RowCount() - FGrid->FixedRows() > FGrid->VisibleRowCount())
                FGrid->SetTopRow(V);
            FGrid->SetRow(V);
            FGrid->SetCol(0);
            FGrid->RepaintRow(V);
        }
    }
    if (OnGridKeyPress)
        OnGridKeyPress(this, Key);
}

void TCustomExtGridDropDown::ControlKeyDown(Word &Key, TShiftState Shift)
{
    if (!(NavigationKey(Key) && !Shift.Contains(ssAlt)))
        TExtCustomDropDown::ControlKeyDown(Key, Shift);
    if (OnGridKeyDown)
        OnGridKeyDown(this, Key, Shift);
}

void TCustomExtGridDropDown::ControlKeyUp(Word &Key, TShiftState Shift)
{
    if (NavigationKey(Key) && !Shift.Contains(ssAlt))
        FLookupEntry.clear();
    else
        TExtCustomDropDown::ControlKeyUp(Key, Shift);
    if (OnGridKeyUp)
        OnGridKeyUp(this, Key, Shift);
}

void TCustomExtGridDropDown::KeyDown(Word &Key, TShiftState Shift)
{
    if (GridEditing() && Key == VK_RETURN && !Shift.Contains(ssShift)) {
        FGrid->HideInplaceEdit();
        SetTextQuiet(FGrid->Cells(LookupColumn, FGrid->Row()));
        FItemIndex = FGrid->Row() - FGrid->FixedRows();
        Key = 0;
        return;
    }
    TColumnListDropDown::KeyDown(Key, Shift);
}

void TCustomExtGridDropDown::BeforeBaseKeyDown(Word Key)
{
    if (Key == VK_ESCAPE || (Key >= VK_PRIOR && Key <= VK_DOWN))
        FLookupEntry.clear();
}

void TCustomExtGridDropDown::KeyUp(Word &Key, TShiftState Shift)
{
    const Word key = Key;
    if (!(key == VK_RETURN && ReturnIsTab))
        TExtCustomDropDown::KeyUp(Key, Shift);
    if (GridEditing() && key == VK_RETURN && !Shift.Contains(ssShift)) {
        if (FGrid->Col() == LookupColumn)
            HideDropDown(false);
        else
            FGrid->HideInplaceEdit();
    }
    ApplyPendingTypeAhead();
}

void TCustomExtGridDropDown::WMKeyDown(TWMKey &Message)
{
    const Word key = Message.CharCode;
    const bool alt = (Message.KeyData & 0x20000000) != 0 || AltDown();
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (key == VK_RETURN && FGrid)
        FGrid->SetConfirmSelection(true);
    TExtCustomDropDown::WMKeyDown(Message);
    if (!Enabled() || alt)
        return;
    if (NavigationKey(key))
        FLookupEntry.clear();
    switch (key) {
    case VK_PRIOR:
        SelectPreviousPage();
        break;
    case VK_NEXT:
        SelectNextPage();
        break;
    case VK_END:
        if (!shift && FStyle == dsDropDownList)
            SelectLast();
        break;
    case VK_HOME:
        if (!shift && FStyle == dsDropDownList)
            SelectFirst();
        break;
    case VK_UP:
        SelectPrevious();
        break;
    case VK_DOWN:
        SelectNext();
        break;
    default:
        break;
    }
}

void TCustomExtGridDropDown::DoEnter()
{
    TColumnListDropDown::DoEnter();
    if (FGrid)
        FGrid->RemoveAllFilters();
    FLookupEntry.clear();
}

} // namespace ExtCustomGridDropDown
