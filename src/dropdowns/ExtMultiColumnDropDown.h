#pragma once
// A drop-down edit whose popup lists items in several columns under a column header. One
// column, the lookup column, gives the text a chosen item puts into the edit; typing in the edit
// completes from that column, typing in the popup searches it.
//
// The columns, items and event types are shared with the grid drop-down of the grid library,
// which shows a whole string grid instead of the painted list below; so is the measuring of
// automatic column widths and word-wrapped row heights.

#include "dropdowns/ExtCustomDropDown.h"
#include "platform/Grids.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ExtMultiColumnDropDown {

class TExtMultiColumnDropDown;
class TExtColGrid;

enum TColumnType { ctText, ctImage };

using TDrawCellEvent = std::function<void(TObject *Sender, int Column, int Row, TCanvas *ACanvas, TRect ARect)>;
using TGetCellTextEvent = std::function<void(TObject *Sender, int Column, int Row, UnicodeString &Text)>;
using TGetCellPropEvent =
    std::function<void(TObject *Sender, int Column, int Row, TFont *Font, TColor &AColor, TColor &AColorTo)>;

class TDropDownColumn : public TCollectionItem {
public:
    explicit TDropDownColumn(TCollection *Collection);
    ~TDropDownColumn() override;
    void Assign(TPersistent *Source) override;

    bool Wordwrap = false;
    int Width = 80;
    bool AutoSize = false;
    UnicodeString Header;
    TAlignment Alignment = taLeftJustify;
    TColor Color = clWhite;
    TColumnType ColumnType = ctText;
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value) { FFont->Assign(Value); }
    bool Ellipsis = false;

private:
    std::unique_ptr<TFont> FFont;
};

class TDropDownColumns : public TCollection {
public:
    explicit TDropDownColumns(TPersistent *AOwner);
    TDropDownColumn *Add() { return static_cast<TDropDownColumn *>(TCollection::Add()); }
    TDropDownColumn *Insert(int Index) { return static_cast<TDropDownColumn *>(TCollection::Insert(Index)); }
    TDropDownColumn *Items(int Index) const { return static_cast<TDropDownColumn *>(TCollection::Items(Index)); }
    TNotifyEvent OnChange;

protected:
    TPersistent *GetOwner() override { return FOwner; }

private:
    TPersistent *FOwner;
};

class TDropDownItem : public TCollectionItem {
public:
    explicit TDropDownItem(TCollection *Collection);
    ~TDropDownItem() override;
    // Copies ImageIndex alone: the lines stay the target's own.
    void Assign(TPersistent *Source) override;

    // The lines as a string list, made when first asked for; what changes there is read back.
    TStringList *Text() const;
    void SetText(TStrings *Value) { Text()->Assign(Value); }
    int ImageIndex = -1;
    // Line Column; none when the item has fewer lines.
    std::optional<UnicodeString> Line(int Column) const;
    // The lines without a list or a copy (empty past the last): valid until the lines change.
    int LineCount() const { return FLineCount; }
    QStringView LineView(int Column) const;

private:
    class TLines;
    void LinesChanged(bool Appended);
    // All lines in one block: filling a popup from many items reads them in one pass.
    TGridStore::TRow *FLines = nullptr;
    int FLineCount = 0;
    mutable std::unique_ptr<TLines> FText;
};

// The lines of every item of a collection in item order, all in one block. An item changed
// since the block was made has its lines again at the block's end.
class TItemLineBlock {
public:
    int LineCount(int Item) const { return FCount[std::size_t(Item)]; }
    // Empty past the item's last line.
    QStringView Line(int Item, int Column) const
    {
        if (Column < 0 || Column >= LineCount(Item))
            return QStringView();
        const std::size_t k = std::size_t(FFirst[std::size_t(Item)] + Column);
        const int start = Column == 0 ? FStart[std::size_t(Item)] : FEnds[k - 1];
        return QStringView(FChars.get() + start, FEnds[k] - start);
    }

private:
    friend class TDropDownItemList;
    // The item's lines at the end of the block.
    void Append(int Item, const class TDropDownItem *Source);
    // Filled from the start each time it is made: its room is kept and never cleared first.
    std::unique_ptr<char16_t[]> FChars;
    std::size_t FCharCap = 0;
    std::size_t FUsed = 0;
    std::size_t FLive = 0;    // lines that belong to an item; the rest were replaced
    std::vector<int> FEnds;   // after each line, its end in FChars
    std::vector<int> FFirst;  // for each item: its first line in FEnds,
    std::vector<int> FCount;  // its number of lines,
    std::vector<int> FStart;  // and where its first line starts in FChars
};

// The items of a drop-down. Besides each item's own lines it keeps the lines of all items in
// one block for a pass over every item (the popup filled from thousands of items reads memory in
// order then); the first such pass after a change makes the block again, or, when only a few
// items' lines changed, adds theirs to it.
class TDropDownItemList : public TCollection {
public:
    using TCollection::TCollection;
    const TItemLineBlock &AllLines() const;

protected:
    void Notify(TCollectionItem *Item, TCollectionNotification Action) override;

private:
    friend class TDropDownItem;
    void LinesChanged(const TCollectionItem *Item);
    mutable TItemLineBlock FAll;
    // The items the block was made from, in order: a moved item makes it stale too.
    mutable std::vector<const TCollectionItem *> FAllItems;
    // Items whose lines changed since; past a few the whole block is made again.
    mutable std::vector<const TCollectionItem *> FChanged;
    mutable bool FAllStale = true;
};

class TDropDownItems : public TDropDownItemList {
public:
    explicit TDropDownItems(TPersistent *AOwner);
    TDropDownItem *Add() { return static_cast<TDropDownItem *>(TCollection::Add()); }
    TDropDownItem *Insert(int Index) { return static_cast<TDropDownItem *>(TCollection::Insert(Index)); }
    TDropDownItem *Items(int Index) const { return static_cast<TDropDownItem *>(TCollection::Items(Index)); }
    // The first item whose line Column is Value (case-sensitive); -1 when none.
    int IndexInColumn(int Column, const UnicodeString &Value) const;
    TNotifyEvent OnChange;

protected:
    TPersistent *GetOwner() override { return FOwner; }

private:
    TPersistent *FOwner;
};

// ---- measuring, shared with the grid drop-down's inner grid ----

// What a row offers in one column for measuring: its line (HasLine false when the row has
// fewer lines) and whether it shows an image there.
struct TMeasureCell {
    bool HasLine = false;
    UnicodeString Text;
    bool HasImage = false;
};
using TMeasureSource = std::function<TMeasureCell(int Row)>;

// The widest row of a column: image width + 4 for a row with an image, the single-line text
// width + 6 for a non-empty line; 0 without rows. A row without the line keeps the image
// state of the row before it. Measured on Canvas in Font.
int MeasureColumnWidth(TCanvas *Canvas, TFont *Font, TCustomImageList *Images, int FirstRow, int LastRow,
                       const TMeasureSource &Source);
// The height of one row over its word-wrapped columns: at least 24, image height + 6, the text
// wrapped in the column's width + 6.
int MeasureWrapHeight(TCanvas *Canvas, TDropDownColumns *Columns, TCustomImageList *Images,
                      const std::function<int(int Col)> &ColWidth, const std::function<TMeasureCell(int Col)> &Cell);

// The popup colours of a component style.
struct TMultiColumnLook {
    bool Changes = false;
    TColor HeaderColor = clNone, HeaderColorTo = clNone;
    bool HeaderFontColorSet = false;
    TColor HeaderFontColor = clNone;
    bool SelectionStyleSet = false;
    TSelectionColorStyle SelectionStyle = scCustom;
    TColor LineColor = clNone, FixedLineColor = clNone;
    // Selection colours of the system look (tsWindowsXP, tsTerminal) and the 2010 styles.
    bool SelectionColorsSet = false;
    TColor SelectionColor = clNone, SelectionColorTo = clNone;
    bool SelectionTextColorSet = false;
    TColor SelectionTextColor = 0;
};
TMultiColumnLook MultiColumnLook(TQRVStyle AStyle);

// The selection-style colours set before the base's: false for scCustom.
bool MultiColumnSelectionLines(TSelectionColorStyle Style, TColor &LineColor, TColor &FixedLineColor,
                               TColor &SelectionColor);

// The type-ahead of the edit: for Key (the typed part, MatchCaseText form) the line of Lookup
// that completes it. Found: Index is the line and NewText the typed characters followed by at
// most 255 characters of the line after them.
bool CompleteFromLookup(TStringList *Lookup, const UnicodeString &Text, const UnicodeString &Key, bool MatchCase,
                        int &Index, UnicodeString &NewText);

// The DrawText flags of a popup cell.
unsigned ColCellTextFlags(bool WordWrap, TAlignment Alignment, bool Ellipsis);

// What the multi-column drop-down and the grid drop-down share: the lookup column and its list,
// the edit's type-ahead, walking the entries by key and wheel, the popup's whole-row height, the
// column fit and the colours the styles give the column list.
class TColumnListDropDown : public TExtCustomDropDown {
public:
    explicit TColumnListDropDown(TComponent *AOwner);
    ~TColumnListDropDown() override;
    // The base applies its style once the object is whole; this control's own presets follow.
    void AfterConstruction() override;

    int ItemIndex() const { return FItemIndex; }
    virtual void SetItemIndex(int Value) = 0;
    // The entries the Select... operations walk.
    virtual int GetItemCount() const = 0;
    int LookupColumn = 0;
    TColor HeaderColor = 0xFFFFFF;
    TColor HeaderColorTo = 0x808080;
    int HeaderHeight = 25;
    TFont *HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont *Value) { FHeaderFont->Assign(Value); }
    TColor LineColor = 0xC0C0C0;
    TColor FixedLineColor = 0xD1BBA4;
    TColor SelectionTextColor = 0;
    int DropDownRowHeight = 22;
    bool DropDownAutoWidth = true;
    bool ColumnSizing = false;
    bool ColumnSizeWithDropDown = true;
    bool CaseSensitive = false;
    bool MatchCase = false;
    // Kept for stored forms; no behaviour reads it.
    bool MatchStart = true;
    // Enter acts as Tab: this control's own flag, apart from the base's.
    bool ReturnIsTab = false;

    void BeginUpdate() {}
    void EndUpdate() { BuildLookupItems(); }
    void BuildLookupItems();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void SelectNextPage();
    void SelectPreviousPage();
    // Sets the text without the edit's type-ahead: a text set by code is no typing.
    void SetTextQuiet(const UnicodeString &Value);
    TStringList *LookupItems() const { return FLookupItems.get(); }
    const UnicodeString &LookupEntry() const { return FLookupEntry; }

    void AdaptDropDownHeight(int &H) override;
    void WheelDown() override;
    void WheelUp() override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void SetComponentStyle(TQRVStyle AStyle) override;

protected:
    // The item rows, a collection of TDropDownItem.
    virtual TCollection *ItemRows() const = 0;
    // The popup's height beyond the column header and its whole rows.
    int FRowFitExtra = 2;
    // The three 2010 styles set the list colours too.
    bool FOffice2010Colours = true;
    // Runs just before the base's KeyDown (the work mode and Enter already handled).
    virtual void BeforeBaseKeyDown(Word Key) {}
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyUp(Word &Key, TShiftState Shift) override;
    // The completed item of the last typed key becomes ItemIndex, its tail selected again.
    void ApplyPendingTypeAhead();
    void KeyPress(WideChar &Key) override;
    void Change() override;
    // Adds Key to the lookup entry; Backspace edits the entry and the text instead (true then).
    bool EnterLookupKey(WideChar Key);
    // Scales the grid's columns to the popup's width, carrying the rounded rest.
    template <class TGrid>
    void FitColumns(TGrid *Grid, TDropDownColumns *Columns);
    // The popup grid, made once on the popup form for Self to hear from, at the form's top left
    // in the popup's colour; false while there is no popup form.
    template <class TGrid, class TSelf>
    bool MakePopupGrid(TGrid *&Grid, TSelf *Self);
    // With DropDownAutoWidth the popup takes the width of the grid's columns.
    template <class TGrid>
    void FitPopupToGrid(TGrid *Grid);

    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TStringList> FLookupItems;
    int FItemIndex = -1;
    int FOldItemIndex = -1;
    UnicodeString FLookupEntry;
    bool FWorkMode = true;
    int FPendingIndex = -1;
    int FPendingLength = 0;
    bool FPending = false;
    int FTextUpdate = 0;
    // Compared by Change; nothing assigns it.
    UnicodeString FOldValue;
};

template <class TGrid>
void TColumnListDropDown::FitColumns(TGrid *Grid, TDropDownColumns *Columns)
{
    if (!ColumnSizeWithDropDown || !Grid || !DropDownForm())
        return;
    Grid->SetScrollBars(ssVertical);
    if (Columns->Count() == 0)
        return;
    double S = 1;
    for (int i = 0; i < Columns->Count(); ++i)
        S += Columns->Items(i)->Width;
    double W = DropDownForm()->Width();
    if (Grid->RowCount() - Grid->FixedRows() > Grid->VisibleRowCount())
        W -= GetSystemMetrics(SM_CXVSCROLL);
    const double f = W / S;
    double carry = 0;
    for (int i = 0; i < std::min(Grid->ColCount(), Columns->Count()); ++i) {
        const double exact = f * Columns->Items(i)->Width;
        const int n = static_cast<int>(std::nearbyint(exact));
        carry += exact - n;
        if (carry > 1) {
            carry -= 1;
            Grid->SetColWidths(i, n + 1);
        } else {
            Grid->SetColWidths(i, n);
        }
    }
}

template <class TGrid, class TSelf>
bool TColumnListDropDown::MakePopupGrid(TGrid *&Grid, TSelf *Self)
{
    if (!DropDownForm())
        return false;
    if (!Grid) {
        Grid = new TGrid(this);
        Grid->SetParent(DropDownForm());
    }
    Grid->SetExtDropDown(Self);
    Grid->SetLeft(0);
    Grid->SetTop(0);
    Grid->SetHeight(180);
    Grid->SetColor(DropDownColor());
    Grid->SetDoubleBuffered(true);
    return true;
}

template <class TGrid>
void TColumnListDropDown::FitPopupToGrid(TGrid *Grid)
{
    if (!DropDownAutoWidth || !Grid || !DropDownForm())
        return;
    Grid->SetAlign(alNone);
    const int w = Grid->GetTotalWidth();
    Grid->SetWidth(w);
    DropDownForm()->SetWidth(w + 2 * DropDownBorderWidth);
    Grid->SetAlign(alClient);
}

class TExtMultiColumnDropDown : public TColumnListDropDown {
public:
    explicit TExtMultiColumnDropDown(TComponent *AOwner);
    ~TExtMultiColumnDropDown() override;

    void Assign(TPersistent *Source) override;
    void Loaded() override;

    TDropDownColumns *Columns() const { return FColumns.get(); }
    void SetColumns(TDropDownColumns *Value) { FColumns->Assign(Value); }
    TDropDownItems *Items() const { return FItems.get(); }
    void SetItems(TDropDownItems *Value) { FItems->Assign(Value); }
    void SetItemIndex(int Value) override;
    int GetItemCount() const override { return FItems->Count(); }
    int RowCount() const { return FItems->Count(); }
    TNotifyEvent OnSelect;
    TDrawCellEvent OnDropDownDrawItem;
    TGetCellTextEvent OnDropDownGetItemText;
    TGetCellPropEvent OnDropDownGetItemProp;

    int GetItemIndex(const UnicodeString &Value) const;
    bool LookupText(const UnicodeString &Value, UnicodeString &FoundText, int &Index) const;
    int LookupKey(WideChar Key);
    TExtColGrid *Grid() const { return FGrid; }

    // ---- overrides of the base ----
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoShowDropDown() override;
    void PlaceDropDownControl() override;
    void SizeDropDownForm() override;
    void DoHideDropDown(bool Cancel) override;
    void ControlKeyDown(Word &Key, TShiftState Shift) override;
    void ControlKeyUp(Word &Key, TShiftState Shift) override;
    void ControlKeyPress(WideChar &Key) override;
    void FormSizing() override;
    void SizeColumnsToDropDown();

protected:
    TCollection *ItemRows() const override { return FItems.get(); }
    void WMKeyDown(TWMKey &Message) override;

private:
    void GridSelectCell(TObject *Sender, int ACol, int ARow, bool &CanSelect);
    void GridSelect(TObject *Sender);
    std::unique_ptr<TDropDownColumns> FColumns;
    std::unique_ptr<TDropDownItems> FItems;
    TExtColGrid *FGrid = nullptr;
    bool FShowing = false;
};

// What the two popup grids share: the copy of the drop-down's columns and looks, automatic column
// widths and word-wrapped row heights, the flags that tell a chosen row from one moved by the
// wheel, and the OnSelect report. TGridBase is the platform's string grid or the string grid.
template <class TGridBase>
class TColumnListGrid : public TGridBase {
public:
    explicit TColumnListGrid(TComponent *AOwner)
        : TGridBase(AOwner), FColumns(std::make_unique<TDropDownColumns>(this)), FHeaderFont(std::make_unique<TFont>())
    {
    }

    TDropDownColumns *Columns() const { return FColumns.get(); }
    void SetColumns(TDropDownColumns *Value) { FColumns->Assign(Value); }
    TColor HeaderColor = 0xFFFFFF;
    TColor HeaderColorTo = 0x808080;
    TColor LineColor = 0x808080;
    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *Value)
    {
        FImages = Value;
        if (Value)
            Value->FreeNotification(this);
    }
    TDrawCellEvent OnDrawCell;
    TGetCellPropEvent OnGetCellProp;
    TGetCellTextEvent OnGetCellText;
    int HeaderHeight = 25;
    TFont *HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont *Value) { FHeaderFont->Assign(Value); }
    TColor FixedLineColor = 0;
    int GridLineWidth() const { return FOwnLineWidth; }
    // The grid's own line width; the base grid draws none.
    void SetGridLineWidth(int Value)
    {
        FOwnLineWidth = Value;
        TGridBase::SetGridLineWidth(0);
        this->Invalidate();
    }
    TNotifyEvent OnSelect;
    bool WheelSelection() const { return FWheelSelection; }
    bool ConfirmSelection() const { return FConfirmSelection; }
    void SetConfirmSelection(bool Value) { FConfirmSelection = Value; }

    virtual void DoSelect()
    {
        if (OnSelect)
            OnSelect(this);
    }
    // Twice the border width (none here) and the column widths, with the scroll bar when rows
    // are out of view.
    int GetTotalWidth()
    {
        int w = 0;
        for (int i = 0; i < this->ColCount(); ++i)
            w += this->ColWidths(i);
        if (this->VisibleRowCount() + this->FixedRows() != this->RowCount())
            w += GetSystemMetrics(SM_CXVSCROLL);
        return w;
    }
    void AutoSizeColumn(int Index)
    {
        if (Index < 0 || Index >= FColumns->Count() || !FColumns->Items(Index)->AutoSize || !OnPopupForm())
            return;
        TDropDownColumn *col = FColumns->Items(Index);
        const int w = MeasureColumnWidth(this->Canvas(), col->Font(), FImages, 1, this->RowCount() - 1,
                                         [this, Index](int r) { return ItemCell(r, Index); });
        col->Width = w;
        if (Index < this->ColCount())
            this->SetColWidths(Index, w);
    }
    void AutoSizeMarkedColumns()
    {
        for (int i = 0; i < FColumns->Count(); ++i)
            if (FColumns->Items(i)->AutoSize)
                AutoSizeColumn(i);
    }
    void SizeWordWrapRows()
    {
        bool wrap = false;
        for (int i = 0; i < FColumns->Count(); ++i)
            wrap = wrap || FColumns->Items(i)->Wordwrap;
        if (!wrap || !OnPopupForm())
            return;
        for (int r = 1; r < this->RowCount(); ++r)
            this->SetRowHeights(r, MeasureWrapHeight(this->Canvas(), FColumns.get(), FImages,
                                                     [this](int c) { return this->ColWidths(c); },
                                                     [this, r](int c) { return ItemCell(r, c); }));
    }

protected:
    // What row Row offers in column Col for measuring.
    virtual TMeasureCell ItemCell(int Row, int Col) = 0;
    // The grid sits on its drop-down's popup form.
    virtual bool OnPopupForm() const = 0;

    void Notification(TComponent *AComponent, TOperation Operation) override
    {
        TGridBase::Notification(AComponent, Operation);
        if (Operation == TOperation::opRemove && !this->ComponentState().Contains(TComponentStateItem::csDestroying) &&
            AComponent == FImages)
            FImages = nullptr;
    }
    void WMGetDlgCode(TWMGetDlgCode &Message) override { Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        FConfirmSelection = true;
        FOldRow = this->Row();
        TGridBase::MouseDown(Button, Shift, X, Y);
    }
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override
    {
        FWheelSelection = true;
        FConfirmSelection = false;
        const bool r = TGridBase::DoMouseWheelDown(Shift, MousePos);
        FWheelSelection = false;
        return r;
    }
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override
    {
        FWheelSelection = true;
        FConfirmSelection = false;
        const bool r = TGridBase::DoMouseWheelUp(Shift, MousePos);
        FWheelSelection = false;
        return r;
    }
    // Sets the confirm flag; Alt+Up or Alt+Down goes to the drop-down's edit instead (true then).
    bool KeyToDropDown(TWinControl *DropDown, Word Key, TShiftState Shift)
    {
        FConfirmSelection = true;
        if (!(Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)))
            return false;
        if (DropDown)
            DropDown->Perform(WM_KEYDOWN, Key, 0x20000000);
        return true;
    }

    std::unique_ptr<TDropDownColumns> FColumns;
    std::unique_ptr<TFont> FHeaderFont;
    TCustomImageList *FImages = nullptr;
    int FOwnLineWidth = 1;
    int FOldRow = 0;
    bool FWheelSelection = false;
    bool FConfirmSelection = false;
};

class TExtColGrid : public TColumnListGrid<TStringGrid> {
public:
    explicit TExtColGrid(TComponent *AOwner);
    ~TExtColGrid() override;

    void SetExtDropDown(TExtMultiColumnDropDown *Value) { FExtDropDown = Value; }
    TExtMultiColumnDropDown *ExtDropDown() const { return FExtDropDown; }
    void LoadFromDropDown(TExtMultiColumnDropDown *DropDown);
    TRect CellBounds(int ACol, int ARow) const;
    // Paints one cell on ACanvas (DrawCell hands in the grid's own).
    void PaintCell(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState);

protected:
    TMeasureCell ItemCell(int Row, int Col) override;
    bool OnPopupForm() const override;
    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMKeyDown(TWMKey &Message) override;

private:
    TExtMultiColumnDropDown *FExtDropDown = nullptr;
};

} // namespace ExtMultiColumnDropDown

using ExtMultiColumnDropDown::TExtMultiColumnDropDown;
