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
    : TCollection(CollectionItemClass<TDropDownItem>()), FOwner(AOwner)
{
}

TCollectionItemClass TDropDownItems::GetItemClass()
{
    return CollectionItemClass<TDropDownItem>();
}

// ---- construction ----

TCustomExtGridDropDown::TCustomExtGridDropDown(TComponent *AOwner)
    : TExtCustomDropDown(AOwner), FHeaderFont(std::make_unique<TFont>()),
      FColumns(std::make_unique<TDropDownColumns>(this)), FLookupItems(std::make_unique<TStringList>())
{
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

void TCustomExtGridDropDown::AfterConstruction()
{
    TExtCustomDropDown::AfterConstruction();
    // The base applied its style; this control's own presets follow, as a constructor would.
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

TDropDownItems *TCustomExtGridDropDown::CreateItems(TPersistent *AOwner)
{
    return new TDropDownItems(AOwner);
}

void TCustomExtGridDropDown::Loaded()
{
    TExtCustomDropDown::Loaded();
    BuildLookupItems();
    if (FGrid)
        FGrid->LoadItems();
}

void TCustomExtGridDropDown::Notification(TComponent *AComponent, TOperation Operation)
{
    TExtCustomDropDown::Notification(AComponent, Operation);
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

void TCustomExtGridDropDown::SetTextQuiet(const UnicodeString &Value)
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

// ---- items and lookup ----

void TCustomExtGridDropDown::BuildLookupItems()
{
    if (LookupColumn < 0 || FItems->Count() == 0)
        return;
    FLookupItems->Clear();
    for (int i = 0; i < FItems->Count(); ++i) {
        const auto l = FItems->Items(i)->Line(LookupColumn);
        FLookupItems->Add(l ? *l : UnicodeString());
    }
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
    if (Key != 8 && Key != 9)
        FLookupEntry += QChar(char16_t(Key));
    if (Key == 8) {
        if (SelLength() == 0) {
            FLookupEntry.chop(1);
            SetTextQuiet(FLookupEntry);
        } else {
            UnicodeString t = Text();
            t.remove(SelStart(), SelLength());
            SetTextQuiet(t);
        }
        SetSelStart(static_cast<int>(Text().length()));
        return -1;
    }
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

void TCustomExtGridDropDown::SelectFirst()
{
    if (GetItemCount() > 0)
        SetItemIndex(0);
}

void TCustomExtGridDropDown::SelectLast()
{
    if (GetItemCount() > 0)
        SetItemIndex(GetItemCount() - 1);
}

void TCustomExtGridDropDown::SelectNext()
{
    const int n = GetItemCount();
    if (n > 0)
        SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + 1, n - 1));
}

void TCustomExtGridDropDown::SelectPrevious()
{
    if (GetItemCount() > 0)
        SetItemIndex(FItemIndex <= 0 ? 0 : FItemIndex - 1);
}

void TCustomExtGridDropDown::SelectNextPage()
{
    const int n = GetItemCount();
    if (n > 0)
        SetItemIndex(FItemIndex < 0 ? 0 : std::min(FItemIndex + 10, n - 1));
}

void TCustomExtGridDropDown::SelectPreviousPage()
{
    if (GetItemCount() > 0)
        SetItemIndex(FItemIndex < 0 ? 0 : std::max(FItemIndex - 10, 0));
}

void TCustomExtGridDropDown::WheelDown()
{
    TExtCustomDropDown::WheelDown();
    SelectNext();
}

void TCustomExtGridDropDown::WheelUp()
{
    TExtCustomDropDown::WheelUp();
    SelectPrevious();
}

// ---- the popup ----

void TCustomExtGridDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (!DropDownForm())
        return;
    if (!FGrid) {
        FGrid = new TExtColGrid(this);
        FGrid->SetParent(DropDownForm());
    }
    FGrid->SetExtDropDown(this);
    FGrid->SetLeft(0);
    FGrid->SetTop(0);
    FGrid->SetHeight(180);
    FGrid->SetColor(DropDownColor());
    FGrid->SetDoubleBuffered(true);
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
    if (!DropDownAutoWidth || !FGrid || !DropDownForm())
        return;
    FGrid->SetAlign(alNone);
    const int w = FGrid->GetTotalWidth();
    FGrid->SetWidth(w);
    DropDownForm()->SetWidth(w + 2 * DropDownBorderWidth);
    FGrid->SetAlign(alClient);
}

void TCustomExtGridDropDown::AdaptDropDownHeight(int &H)
{
    // A row height of 0 would leave no whole rows to count.
    if (DropDownRowHeight <= 0)
        return;
    int V = 0;
    if (DropDownHeader()->Visible())
        V += DropDownHeader()->Height();
    if (DropDownFooter()->Visible())
        V += DropDownFooter()->Height();
    H = V + HeaderHeight + 6 + DropDownRowHeight * ((H - V - HeaderHeight - 2) / DropDownRowHeight);
}

void TCustomExtGridDropDown::FormSizing()
{
    TExtCustomDropDown::FormSizing();
    SizeColumnsToDropDown();
}

void TCustomExtGridDropDown::SizeColumnsToDropDown()
{
    if (!ColumnSizeWithDropDown || !FGrid || !DropDownForm())
        return;
    FGrid->SetScrollBars(ssVertical);
    // The grid's copy carries the measured widths of automatic columns.
    TDropDownColumns *cols = FGrid->Columns()->Count() >= FColumns->Count() ? FGrid->Columns() : FColumns.get();
    if (cols->Count() == 0)
        return;
    double S = 1;
    for (int i = 0; i < cols->Count(); ++i)
        S += cols->Items(i)->Width;
    double W = DropDownForm()->Width();
    if (FGrid->RowCount() - FGrid->FixedRows() > FGrid->VisibleRowCount())
        W -= GetSystemMetrics(SM_CXVSCROLL);
    const double f = W / S;
    double carry = 0;
    for (int i = 0; i < std::min(FGrid->ColCount(), cols->Count()); ++i) {
        const double exact = f * cols->Items(i)->Width;
        const int n = static_cast<int>(std::nearbyint(exact));
        carry += exact - n;
        if (carry > 1) {
            carry -= 1;
            FGrid->SetColWidths(i, n + 1);
        } else {
            FGrid->SetColWidths(i, n);
        }
    }
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
    const Word key = Key;
    if (LookupColumn < 0 || FItems->Count() == 0) {
        if (key == VK_ESCAPE || (key >= VK_PRIOR && key <= VK_DOWN))
            FLookupEntry.clear();
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
    if (key == VK_ESCAPE || (key >= VK_PRIOR && key <= VK_DOWN))
        FLookupEntry.clear();
    TExtCustomDropDown::KeyDown(Key, Shift);
    if (key == VK_ESCAPE)
        SetItemIndex(FLookupItems->IndexOf(Text()));
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
    if (!FPending)
        return;
    const int typed = FPendingLength;
    SetItemIndex(FPendingIndex);
    SetSelStart(typed);
    SetSelLength(static_cast<int>(Text().length()) - typed);
    FPending = false;
}

void TCustomExtGridDropDown::KeyPress(WideChar &Key)
{
    if (Key == 13 && ReturnIsTab) {
        Key = 0;
        return;
    }
    TExtCustomDropDown::KeyPress(Key);
}

void TCustomExtGridDropDown::Change()
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
    if (FLookupItems->Count() > 0 &&
        ExtMultiColumnDropDown::CompleteFromLookup(FLookupItems.get(), text, key, MatchCase, index, completed)) {
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
    TExtCustomDropDown::DoEnter();
    if (FGrid)
        FGrid->RemoveAllFilters();
    FLookupEntry.clear();
}

// ---- looks ----

void TCustomExtGridDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TColor sel = SelectionColor();
    if (ExtMultiColumnDropDown::MultiColumnSelectionLines(Value, LineColor, FixedLineColor, sel))
        SetSelectionColor(sel);
    TExtCustomDropDown::SetSelectionColorStyle(Value);
}

void TCustomExtGridDropDown::SetComponentStyle(TQRVStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    // The 2010 styles leave this control's colours alone.
    if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black)
        return;
    const ExtMultiColumnDropDown::TMultiColumnLook L = ExtMultiColumnDropDown::MultiColumnLook(AStyle);
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

} // namespace ExtCustomGridDropDown
