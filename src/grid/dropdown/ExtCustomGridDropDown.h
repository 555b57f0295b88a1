#pragma once
// A drop-down edit whose popup holds a whole string grid. With UseItems the grid is built before
// every drop-down from Columns and Items (each row keeps its item's index in the object of its
// column-0 cell, so sorting and narrowing keep the link); without, the application fills the
// grid itself. One column, LookupColumn, gives the text a chosen row puts into the edit; typed
// keys complete from it, narrow the grid to it, or do nothing (LookupMethod). The inner grid's
// events reach the application as this control's OnGrid... events.

#include "dropdowns/ExtMultiColumnDropDown.h"
#include "grid/core/ExtGridDropDowns.h"

namespace ExtCustomGridDropDown {

class TCustomExtGridDropDown;
class TExtColGrid;

// The columns, items and event types are those of the multi-column drop-down.
using TColumnType = ExtMultiColumnDropDown::TColumnType;
using TDropDownColumn = ExtMultiColumnDropDown::TDropDownColumn;
using TDropDownColumns = ExtMultiColumnDropDown::TDropDownColumns;
using TDropDownItem = ExtMultiColumnDropDown::TDropDownItem;
using TDrawCellEvent = ExtMultiColumnDropDown::TDrawCellEvent;
using TGetCellTextEvent = ExtMultiColumnDropDown::TGetCellTextEvent;
using TGetCellPropEvent = ExtMultiColumnDropDown::TGetCellPropEvent;

// The rows of the drop-down; a descendant may answer its own item class.
class TDropDownItems : public ExtMultiColumnDropDown::TDropDownItemList {
public:
    explicit TDropDownItems(TPersistent *AOwner);
    TDropDownItem *Add() { return static_cast<TDropDownItem *>(TCollection::Add()); }
    TDropDownItem *Insert(int Index) { return static_cast<TDropDownItem *>(TCollection::Insert(Index)); }
    TDropDownItem *Items(int Index) const { return static_cast<TDropDownItem *>(TCollection::Items(Index)); }
    virtual TCollectionItemClass GetItemClass();
    TNotifyEvent OnChange;

protected:
    TPersistent *GetOwner() override { return FOwner; }

private:
    TPersistent *FOwner;
};

enum TLookupMethod { lmLookup, lmNarrowDown, lmNone };
enum TDropDownStyle { dsDropDown, dsDropDownList };
enum TGridSorting { gsNone, gsSingleColumn, gsMultiColumn };

// The two forwarded events the string grid has no event for: stored, never fired.
using TScrollHintEvent = std::function<void(TObject *Sender, int ARow, UnicodeString &hintstr)>;
using TSpinClickEvent = std::function<void(TObject *Sender, int ACol, int ARow, int AValue, bool UpDown)>;

// What a forwarding handler adds to handing its event on.
enum TGridEventExtra {
    exNone,
    exBlockActivate,    // the popup stays open while the handler may show a window
    exColumnAlignment,  // the column's alignment first
    exColumnColor,      // the column's colour first
    exEmptyFloatFormat, // the float format emptied first
    exBalloon,          // the first mouse move sets the balloon hints up again
    exSenderDropDown,   // the drop-down is the Sender
    exWhenAssigned,     // attached only while the drop-down event is assigned
    exReplaced,         // attached, then replaced by the drop-down's own handling
    exNotAttached,      // never attached
};

// The inner grid's forwarded events: X(handler suffix, grid event, drop-down event, extra).
// BeforeDropDown attaches the handlers from this table.
#define EXT_GRID_DROPDOWN_EVENTS(X) \
    X(AnchorClick, OnAnchorClick, OnGridAnchorClick, exBlockActivate) \
    X(AnchorEnter, OnAnchorEnter, OnGridAnchorEnter, exNone) \
    X(AnchorExit, OnAnchorExit, OnGridAnchorExit, exNone) \
    X(AnchorHint, OnAnchorHint, OnGridAnchorHint, exNone) \
    X(ButtonClick, OnButtonClick, OnGridButtonClick, exBlockActivate) \
    X(CanSort, OnCanSort, OnGridCanSort, exReplaced) \
    X(ClickSort, OnClickSort, OnGridClickSort, exReplaced) \
    X(CustomCompare, OnCustomCompare, OnGridCustomCompare, exNotAttached) \
    X(RawCompare, OnRawCompare, OnGridRawCompare, exNotAttached) \
    X(ColumnSize, OnColumnSize, OnGridColumnSize, exNone) \
    X(ColumnSizing, OnColumnSizing, OnGridColumnSizing, exNone) \
    X(EndColumnSize, OnEndColumnSize, OnGridEndColumnSize, exNone) \
    X(RowSize, OnRowSize, OnGridRowSize, exNone) \
    X(RowSizing, OnRowSizing, OnGridRowSizing, exNone) \
    X(EndRowSize, OnEndRowSize, OnGridEndRowSize, exNone) \
    X(RowMove, OnRowMove, OnGridRowMove, exNone) \
    X(RowMoving, OnRowMoving, OnGridRowMoving, exNone) \
    X(RowMoved, OnRowMoved, OnGridRowMoved, exNone) \
    X(ColumnMove, OnColumnMove, OnGridColumnMove, exNone) \
    X(ColumnMoving, OnColumnMoving, OnGridColumnMoving, exNone) \
    X(ColumnMoved, OnColumnMoved, OnGridColumnMoved, exNone) \
    X(CustomCellDraw, OnCustomCellDraw, OnGridCustomCellDraw, exWhenAssigned) \
    X(CustomCellBkgDraw, OnCustomCellBkgDraw, OnGridCustomCellBkgDraw, exWhenAssigned) \
    X(CellBalloon, OnCellBalloon, OnGridCellBalloon, exNone) \
    X(GetAlignment, OnGetAlignment, OnGridGetAlignment, exColumnAlignment) \
    X(GetCellColor, OnGetCellColor, OnGridGetCellColor, exColumnColor) \
    X(GetCellGradient, OnGetCellGradient, OnGridGetCellGradient, exNone) \
    X(GetFloatFormat, OnGetFloatFormat, OnGridGetFloatFormat, exEmptyFloatFormat) \
    X(GetEditorType, OnGetEditorType, OnGridGetEditorType, exNone) \
    X(GetEditorProp, OnGetEditorPropInt, OnGridGetEditorProp, exNone) \
    X(CanEditCell, OnCanEditCell, OnGridCanEditCell, exNone) \
    X(EllipsClick, OnEllipsClick, OnGridEllipsClick, exBlockActivate) \
    X(GetDisplText, OnGetDisplText, OnGridGetDiplText, exNone) \
    X(GetFormat, OnGetFormat, OnGridGetFormat, exNone) \
    X(Hint, OnGridHint, OnGridHint, exNone) \
    X(MouseMove, OnMouseMove, OnGridMouseMove, exBalloon) \
    X(MouseDown, OnMouseDown, OnGridMouseDown, exNone) \
    X(MouseUp, OnMouseUp, OnGridMouseUp, exNone) \
    X(KeyDown, OnKeyDown, OnGridKeyDown, exNotAttached) \
    X(KeyUp, OnKeyUp, OnGridKeyUp, exReplaced) \
    X(KeyPress, OnKeyPress, OnGridKeyPress, exNotAttached) \
    X(RightClickCell, OnRightClickCell, OnGridRightClickCell, exNone) \
    X(ScrollHint, OnScrollHint, OnGridScrollHint, exNone) \
    X(TopLeftChanged, OnTopLeftChanged, OnGridTopLeftChanged, exSenderDropDown) \
    X(SearchEditChange, OnSearchEditChange, OnGridSearchEditChange, exNone) \
    X(AutoAddRow, OnAutoAddRow, OnGridAutoAddRow, exNone) \
    X(InsertRow, OnAutoInsertRow, OnGridInsertRow, exNone) \
    X(InsertCol, OnAutoInsertCol, OnGridInsertCol, exNone) \
    X(DeleteRow, OnAutoDeleteRow, OnGridDeleteRow, exNone) \
    X(CanAddRow, OnCanAddRow, OnGridCanAddRow, exNone) \
    X(CanInsertRow, OnCanInsertRow, OnGridCanInsertRow, exNone) \
    X(CanDeleteRow, OnCanDeleteRow, OnGridCanDeleteRow, exNone)

class TCustomExtGridDropDown : public ExtMultiColumnDropDown::TColumnListDropDown {
public:
    explicit TCustomExtGridDropDown(TComponent *AOwner);
    ~TCustomExtGridDropDown() override;
    void Loaded() override;

    int GetVersionNr() override { return 0x06000101; }
    TExtColGrid *GetExtColGrid() const { return FGrid; }
    int GetItemCount() const override;

    bool UseItems = true;
    TDropDownColumns *Columns() const { return FColumns.get(); }
    void SetColumns(TDropDownColumns *Value) { FColumns->Assign(Value); }
    TDropDownItems *Items() const { return FItems.get(); }
    void SetItems(TDropDownItems *Value) { FItems->Assign(Value); }
    void SetItemIndex(int Value) override;
    TLookupMethod LookupMethod = lmLookup;
    TDropDownStyle Style() const { return FStyle; }
    void SetStyle(TDropDownStyle Value);
    bool CaseSensitive = false;
    TGridSorting Sorting = gsNone;
    bool RowSelect = true;
    bool GridEditable = false;
    bool AutoShowDropDown = false;
    bool AutoSizeColumns = true;
    bool ColumnMoving = false;
    bool RowSizing = false;
    bool RowMoving = false;
    bool HoverRow = false;
    TColor HoverRowColor = clInfoBk;
    TColor HoverRowColorTo = clNone;
    TCustomImageList *GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList *Value);
    TSearchFooter *SearchFooter() const { return FSearchFooter.get(); }
    void SetSearchFooter(TSearchFooter *Value) { FSearchFooter->Assign(Value); }
    TNavigation *Navigation() const { return FNavigation.get(); }
    void SetNavigation(TNavigation *Value) { FNavigation->Assign(Value); }
    TMouseActions *MouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(TMouseActions *Value) { FMouseActions->Assign(Value); }
    TBands *Bands() const { return FBands.get(); }
    void SetBands(TBands *Value) { FBands->Assign(Value); }
    TNotifyEvent OnSelect;
    int RowCount() const { return FItems->Count(); }

    int RowToItemIndex(int Row) const;
    int ItemIndexToRow(int Index) const;
    bool LookupText(const UnicodeString &Value, UnicodeString &FoundText, int &Index) const;
    int LookupKey(WideChar Key);
    void SizeColumnsToDropDown();

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

    virtual TDropDownItems *CreateItems(TPersistent *AOwner);
    // ---- the inner grid's events handed on (ExtCustomGridDropDownEvents.cpp) ----
    virtual void DoGridAnchorClick(TObject *Sender, int ARow, int ACol, const UnicodeString &Anchor, bool &AutoHandle);
    virtual void DoGridAnchorEnter(TObject *Sender, int ARow, int ACol, const UnicodeString &Anchor);
    virtual void DoGridAnchorExit(TObject *Sender, int ARow, int ACol, const UnicodeString &Anchor);
    virtual void DoGridAnchorHint(TObject *Sender, int ARow, int ACol, UnicodeString &Anchor);
    virtual void DoGridButtonClick(TObject *Sender, int ACol, int ARow);
    virtual void DoGridCanSort(TObject *Sender, int ACol, bool &DoSort);
    virtual void DoGridClickSort(TObject *Sender, int ACol);
    virtual void DoGridCustomCompare(TObject *Sender, const UnicodeString &str1, const UnicodeString &str2, int &Res);
    virtual void DoGridRawCompare(TObject *Sender, int ACol, int Row1, int Row2, int &Res);
    virtual void DoGridColumnSize(TObject *Sender, int ACol, bool &Allow);
    virtual void DoGridColumnSizing(TObject *Sender, int ACol, int ColumnSize);
    virtual void DoGridEndColumnSize(TObject *Sender, int Index);
    virtual void DoGridRowSize(TObject *Sender, int ARow, bool &Allow);
    virtual void DoGridRowSizing(TObject *Sender, int ARow, int RowSize);
    virtual void DoGridEndRowSize(TObject *Sender, int Index);
    virtual void DoGridRowMove(TObject *Sender, int AIndex, bool &Allow);
    virtual void DoGridRowMoving(TObject *Sender, int AIndex, bool &Allow);
    virtual void DoGridRowMoved(TObject *Sender, int FromIndex, int ToIndex);
    virtual void DoGridColumnMove(TObject *Sender, int AIndex, bool &Allow);
    virtual void DoGridColumnMoving(TObject *Sender, int AIndex, bool &Allow);
    virtual void DoGridColumnMoved(TObject *Sender, int FromIndex, int ToIndex);
    virtual void DoGridCustomCellDraw(TObject *Sender, TCanvas *Canvas, int ACol, int ARow, TGridDrawState AState, TRect ARect, bool Printing);
    virtual void DoGridCustomCellBkgDraw(TObject *Sender, TCanvas *Canvas, int ACol, int ARow, TGridDrawState AState, TRect ARect, bool Printing);
    virtual void DoGridCellBalloon(TObject *Sender, int ACol, int ARow, UnicodeString &ATitle, UnicodeString &AText, int &AIcon);
    virtual void DoGridGetAlignment(TObject *Sender, int ARow, int ACol, TAlignment &HAlign, TVAlignment &VAlign);
    virtual void DoGridGetCellColor(TObject *Sender, int ARow, int ACol, TGridDrawState AState, TBrush *ABrush, TFont *AFont);
    virtual void DoGridGetCellGradient(TObject *Sender, int ARow, int ACol, TColor &Color, TColor &ColorTo, TColor &ColorMirror, TColor &ColorMirrorTo, TCellGradientDirection &GD);
    virtual void DoGridGetFloatFormat(TObject *Sender, int ACol, int ARow, bool &IsFloat, UnicodeString &FloatFormat);
    virtual void DoGridGetEditorType(TObject *Sender, int ACol, int ARow, TEditorType &AEditor);
    virtual void DoGridGetEditorProp(TObject *Sender, int ARow, int ACol);
    virtual void DoGridCanEditCell(TObject *Sender, int ARow, int ACol, bool &CanEdit);
    virtual void DoGridEllipsClick(TObject *Sender, int ACol, int ARow, UnicodeString &S);
    virtual void DoGridGetDisplText(TObject *Sender, int ACol, int ARow, UnicodeString &Value);
    virtual void DoGridGetFormat(TObject *Sender, int ACol, TSortStyle &AStyle, UnicodeString &aPrefix, UnicodeString &aSuffix);
    virtual void DoGridHint(TObject *Sender, int ARow, int ACol, UnicodeString &HintStr);
    virtual void DoGridMouseMove(TObject *Sender, TShiftState Shift, int X, int Y);
    virtual void DoGridMouseDown(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoGridMouseUp(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoGridKeyDown(TObject *Sender, Word &Key, TShiftState Shift);
    virtual void DoGridKeyUp(TObject *Sender, Word &Key, TShiftState Shift);
    virtual void DoGridKeyPress(TObject *Sender, WideChar &Key);
    virtual void DoGridRightClickCell(TObject *Sender, int ARow, int ACol);
    virtual void DoGridScrollHint(TObject *Sender, int ARow, UnicodeString &hintstr);
    virtual void DoGridTopLeftChanged(TObject *Sender);
    virtual void DoGridSearchEditChange(TObject *Sender, const UnicodeString &Value, bool &DefaultSearch);
    virtual void DoGridSpinClick(TObject *Sender, int ACol, int ARow, int AValue, bool UpDown);
    virtual void DoGridAutoAddRow(TObject *Sender, int ARow);
    virtual void DoGridInsertRow(TObject *Sender, int ARow);
    virtual void DoGridInsertCol(TObject *Sender, int ACol);
    virtual void DoGridDeleteRow(TObject *Sender, int ARow);
    virtual void DoGridCanAddRow(TObject *Sender, bool &CanAdd);
    virtual void DoGridCanInsertRow(TObject *Sender, int ARow, bool &CanInsert);
    virtual void DoGridCanDeleteRow(TObject *Sender, int ARow, bool &Allow);
    void GridCheckBoxClick(TObject *Sender, int ACol, int ARow, bool State);

    decltype(TExtStringGrid::OnAnchorClick) OnGridAnchorClick;
    decltype(TExtStringGrid::OnAnchorEnter) OnGridAnchorEnter;
    decltype(TExtStringGrid::OnAnchorExit) OnGridAnchorExit;
    decltype(TExtStringGrid::OnAnchorHint) OnGridAnchorHint;
    decltype(TExtStringGrid::OnButtonClick) OnGridButtonClick;
    decltype(TExtStringGrid::OnCanSort) OnGridCanSort;
    decltype(TExtStringGrid::OnClickSort) OnGridClickSort;
    decltype(TExtStringGrid::OnCustomCompare) OnGridCustomCompare;
    decltype(TExtStringGrid::OnRawCompare) OnGridRawCompare;
    decltype(TExtStringGrid::OnColumnSize) OnGridColumnSize;
    decltype(TExtStringGrid::OnColumnSizing) OnGridColumnSizing;
    decltype(TExtStringGrid::OnEndColumnSize) OnGridEndColumnSize;
    decltype(TExtStringGrid::OnRowSize) OnGridRowSize;
    decltype(TExtStringGrid::OnRowSizing) OnGridRowSizing;
    decltype(TExtStringGrid::OnEndRowSize) OnGridEndRowSize;
    decltype(TExtStringGrid::OnRowMove) OnGridRowMove;
    decltype(TExtStringGrid::OnRowMoving) OnGridRowMoving;
    decltype(TExtStringGrid::OnRowMoved) OnGridRowMoved;
    decltype(TExtStringGrid::OnColumnMove) OnGridColumnMove;
    decltype(TExtStringGrid::OnColumnMoving) OnGridColumnMoving;
    decltype(TExtStringGrid::OnColumnMoved) OnGridColumnMoved;
    decltype(TExtStringGrid::OnCustomCellDraw) OnGridCustomCellDraw;
    decltype(TExtStringGrid::OnCustomCellBkgDraw) OnGridCustomCellBkgDraw;
    decltype(TExtStringGrid::OnCellBalloon) OnGridCellBalloon;
    decltype(TExtStringGrid::OnGetAlignment) OnGridGetAlignment;
    decltype(TExtStringGrid::OnGetCellColor) OnGridGetCellColor;
    decltype(TExtStringGrid::OnGetCellGradient) OnGridGetCellGradient;
    decltype(TExtStringGrid::OnGetFloatFormat) OnGridGetFloatFormat;
    decltype(TExtStringGrid::OnGetEditorType) OnGridGetEditorType;
    decltype(TExtStringGrid::OnGetEditorPropInt) OnGridGetEditorProp;
    decltype(TExtStringGrid::OnCanEditCell) OnGridCanEditCell;
    decltype(TExtStringGrid::OnEllipsClick) OnGridEllipsClick;
    decltype(TExtStringGrid::OnGetDisplText) OnGridGetDiplText;
    decltype(TExtStringGrid::OnGetFormat) OnGridGetFormat;
    decltype(TExtStringGrid::OnGridHint) OnGridHint;
    decltype(TExtStringGrid::OnMouseMove) OnGridMouseMove;
    decltype(TExtStringGrid::OnMouseDown) OnGridMouseDown;
    decltype(TExtStringGrid::OnMouseUp) OnGridMouseUp;
    decltype(TExtStringGrid::OnKeyDown) OnGridKeyDown;
    decltype(TExtStringGrid::OnKeyUp) OnGridKeyUp;
    decltype(TExtStringGrid::OnKeyPress) OnGridKeyPress;
    decltype(TExtStringGrid::OnRightClickCell) OnGridRightClickCell;
    TScrollHintEvent OnGridScrollHint;
    decltype(TExtStringGrid::OnTopLeftChanged) OnGridTopLeftChanged;
    decltype(TExtStringGrid::OnSearchEditChange) OnGridSearchEditChange;
    TSpinClickEvent OnGridSpinClick;
    decltype(TExtStringGrid::OnAutoAddRow) OnGridAutoAddRow;
    decltype(TExtStringGrid::OnAutoInsertRow) OnGridInsertRow;
    decltype(TExtStringGrid::OnAutoInsertCol) OnGridInsertCol;
    decltype(TExtStringGrid::OnAutoDeleteRow) OnGridDeleteRow;
    decltype(TExtStringGrid::OnCanAddRow) OnGridCanAddRow;
    decltype(TExtStringGrid::OnCanInsertRow) OnGridCanInsertRow;
    decltype(TExtStringGrid::OnCanDeleteRow) OnGridCanDeleteRow;
    decltype(TExtStringGrid::OnCheckBoxClick) OnGridCheckBoxClick;

    // The choice made in the grid.
    void GridSelectCell(TObject *Sender, int ACol, int ARow, bool &CanSelect);
    void GridSelect(TObject *Sender);
    void GridCanSort(TObject *Sender, int ACol, bool &DoSort);
    void GridClickSort(TObject *Sender, int ACol);
    void GridEndBlockFocus();

protected:
    TCollection *ItemRows() const override { return FItems.get(); }
    void BeforeBaseKeyDown(Word Key) override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void DoEnter() override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyUp(Word &Key, TShiftState Shift) override;
    void WMKeyDown(TWMKey &Message) override;
    void WMChar(TWMKey &Message) override;

private:
    void AttachGridEvents();
    bool GridEditing() const;
    std::unique_ptr<TDropDownColumns> FColumns;
    std::unique_ptr<TDropDownItems> FItems;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TBands> FBands;
    TExtColGrid *FGrid = nullptr;
    TCustomImageList *FGridImages = nullptr;
    TDropDownStyle FStyle = dsDropDown;
    bool FDesign = false;
    bool FBalloonInit = false;
    bool FLoadingGrid = false;
    int FSelectedRow = 0;
    int FSortItemIndex = -1;
};

class TExtColGrid : public ExtMultiColumnDropDown::TColumnListGrid<TExtStringGrid> {
public:
    explicit TExtColGrid(TComponent *AOwner);
    ~TExtColGrid() override;

    void SetExtDropDown(TCustomExtGridDropDown *Value) { FExtDropDown = Value; }
    TCustomExtGridDropDown *ExtDropDown() const { return FExtDropDown; }
    void LoadFromDropDown(TCustomExtGridDropDown *DropDown);
    void LoadItems();

protected:
    ExtMultiColumnDropDown::TMeasureCell ItemCell(int Row, int Col) override;
    bool OnPopupForm() const override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMKeyDown(TWMKey &Message) override;
    void WMChar(TWMKey &Message) override;
    void DoEndBlockFocus() override;

private:
    TCustomExtGridDropDown *FExtDropDown = nullptr;
};

} // namespace ExtCustomGridDropDown

using ExtCustomGridDropDown::TCustomExtGridDropDown;

// The grid-of-items drop-down over a cell; its code is in ExtGridGridPickers.cpp.
class TGridExtGridDropDown : public TGridDropDownEditor<TCustomExtGridDropDown> {
public:
    explicit TGridExtGridDropDown(TComponent *AOwner);

protected:
    // The cell text comes back as it was, not completed from the items.
    void RestoreText(const UnicodeString &Cell) override { SetTextQuiet(Cell); }
};
