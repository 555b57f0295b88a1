#pragma once
// The string grid whose per-column behaviour comes from a list of column definitions. It adds no
// painting or editing of its own: it answers the string grid's per-cell questions from the
// definition of the cell's column and then lets the string grid (and the application's event)
// have the last word.

#include "grid/core/ExtGrid.h"
#include "platform/Menus.h"

class TExtColumnGrid;
class TGridColumnCollection;

enum TColumnPopupType {
    cpFixedCellsRClick, cpFixedCellsLClick, cpNormalCellsRClick, cpNormalCellsLClick, cpAllCellsRClick, cpAllCellsLClick
};

using TColumnPopupEvent = std::function<void(TObject *Sender, int ACol, int ARow, TPopupMenu *PopupMenu)>;
using TAfterColumnMoved = std::function<void(TObject *Sender, int FromIndex, int ToIndex)>;

// One column definition.
class TGridColumnItem : public TCollectionItem {
public:
    explicit TGridColumnItem(TCollection *Collection);
    ~TGridColumnItem() override;
    void Assign(TPersistent *Source) override;
    // Assign without the identity of the column; colour and font come from the owning grid.
    void AssignVisuals(TPersistent *Source);
    UnicodeString DisplayName() const override;

    int Width() const;
    void SetWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    const UnicodeString &Header() const { return FHeader; }
    void SetHeader(const UnicodeString &Value);
    TSortStyle SortStyle() const { return FSortStyle; }
    void SetSortStyle(TSortStyle Value) { FSortStyle = Value; }
    const UnicodeString &SortPrefix() const { return FSortPrefix; }
    void SetSortPrefix(const UnicodeString &Value) { FSortPrefix = Value; }
    const UnicodeString &SortSuffix() const { return FSortSuffix; }
    void SetSortSuffix(const UnicodeString &Value) { FSortSuffix = Value; }
    const UnicodeString &EditMask() const { return FEditMask; }
    void SetEditMask(const UnicodeString &Value) { FEditMask = Value; }
    int EditLength() const { return FEditLength; }
    void SetEditLength(int Value) { FEditLength = Value; }
    TComponent *EditLink() const { return FEditLink; }
    void SetEditLink(TComponent *Value) { FEditLink = Value; }
    TFont *Font() const { return FFont; }
    void SetFont(TFont *Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType Value);
    bool Fixed() const { return FFixed; }
    void SetFixed(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TStringList *ComboItems() const { return FComboItems; }
    void SetComboItems(TStrings *Value) { FComboItems->Assign(Value); }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }
    int SpinMin() const { return FSpinMin; }
    void SetSpinMin(int Value) { FSpinMin = Value; }
    int SpinMax() const { return FSpinMax; }
    void SetSpinMax(int Value) { FSpinMax = Value; }
    int SpinStep() const { return FSpinStep; }
    void SetSpinStep(int Value) { FSpinStep = Value; }
    bool Password() const { return FPassword; }
    void SetPassword(bool Value);
    TFont *PrintFont() const { return FPrintFont; }
    void SetPrintFont(TFont *Value) { FPrintFont->Assign(Value); }
    TColor PrintColor() const { return FPrintColor; }
    void SetPrintColor(TColor Value) { FPrintColor = Value; }
    TCellBorders Borders() const { return FBorders; }
    void SetBorders(TCellBorders Value);
    TPen *BorderPen() const { return FBorderPen; }
    void SetBorderPen(TPen *Value);
    TCellBorders PrintBorders() const { return FPrintBorders; }
    void SetPrintBorders(TCellBorders Value) { FPrintBorders = Value; }
    TPen *PrintBorderPen() const { return FPrintBorderPen; }
    void SetPrintBorderPen(TPen *Value) { FPrintBorderPen->Assign(Value); }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    int DefIdx() const { return FDefIdx; }
    void SetDefIdx(int Value) { FDefIdx = Value; }
    const UnicodeString &Name() const { return FName; }
    void SetName(const UnicodeString &Value) { FName = Value; }
    const UnicodeString &CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const UnicodeString &Value) { FCheckFalse = Value; }
    const UnicodeString &CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const UnicodeString &Value) { FCheckTrue = Value; }
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool Value);
    TStringList *Filter() const { return FFilter; }
    void SetFilter(TStrings *Value) { FFilter->Assign(Value); }
    int MaxSize() const { return FMaxSize; }
    void SetMaxSize(int Value) { FMaxSize = Value; }
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value; }
    int AutoMinSize() const { return FAutoMinSize; }
    void SetAutoMinSize(int Value) { FAutoMinSize = Value; }
    int AutoMaxSize() const { return FAutoMaxSize; }
    void SetAutoMaxSize(int Value) { FAutoMaxSize = Value; }
    TColumnPopupType ColumnPopupType() const { return FColumnPopupType; }
    void SetColumnPopupType(TColumnPopupType Value) { FColumnPopupType = Value; }
    TPopupMenu *ColumnPopup() const { return FColumnPopup; }
    void SetColumnPopup(TPopupMenu *Value) { FColumnPopup = Value; }
    bool FilterCaseSensitive() const { return FFilterCaseSensitive; }
    void SetFilterCaseSensitive(bool Value) { FFilterCaseSensitive = Value; }
    const UnicodeString &FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const UnicodeString &Value);
    TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(TAlignment Value);
    TFont *HeaderFont() const { return FHeaderFont; }
    void SetHeaderFont(TFont *Value);
    bool PrintBorderCustom() const { return FPrintBorderCustom; }
    void SetPrintBorderCustom(bool Value) { FPrintBorderCustom = Value; }
    bool PrintFontCustom() const { return FPrintFontCustom; }
    void SetPrintFontCustom(bool Value) { FPrintFontCustom = Value; }

    // Cell text of this column by row.
    UnicodeString Rows(int ARow) const;
    void SetRows(int ARow, const UnicodeString &Value);
    // Typed values of this column by row, through the grid's typed cell accessors.
    int Ints(int ARow) const;
    void SetInts(int ARow, int Value);
    double Floats(int ARow) const;
    void SetFloats(int ARow, double Value);
    TDateTime Dates(int ARow) const;
    void SetDates(int ARow, TDateTime Value);
    TDateTime Times(int ARow) const;
    void SetTimes(int ARow, TDateTime Value);

    // Set directly, no setter runs (column headers list changes, filter display).
    void SetHeaderField(const UnicodeString &Value) { FHeader = Value; }
    void SetWidthField(int Value) { FWidth = Value; }

private:
    TExtColumnGrid *Grid() const;
    void FontChanged(TObject *Sender);
    void PenChanged(TObject *Sender);
    void FilterChanged(TObject *Sender);
    void Repaint() const;

    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    UnicodeString FHeader;
    TSortStyle FSortStyle = ssAutomatic;
    UnicodeString FSortPrefix, FSortSuffix, FEditMask;
    int FEditLength = 0;
    TComponent *FEditLink = nullptr;
    TFont *FFont = nullptr;
    TColor FColor = 0;
    TEditorType FEditor = edNormal;
    bool FFixed = false;
    bool FReadOnly = false;
    TStringList *FComboItems = nullptr;
    int FDropDownCount = 8;
    int FSpinMin = 0, FSpinMax = 0, FSpinStep = 1;
    bool FPassword = false;
    TFont *FPrintFont = nullptr;
    TColor FPrintColor = clWhite;
    TCellBorders FBorders;
    TPen *FBorderPen = nullptr;
    TCellBorders FPrintBorders{cbTop, cbLeft, cbRight, cbBottom};
    TPen *FPrintBorderPen = nullptr;
    int FTag = 0;
    int FDefIdx = 0;
    UnicodeString FName;
    UnicodeString FCheckFalse = QStringLiteral("N");
    UnicodeString FCheckTrue = QStringLiteral("Y");
    bool FShowBands = false;
    TStringList *FFilter = nullptr;
    int FMaxSize = 0, FMinSize = 0, FAutoMinSize = 0, FAutoMaxSize = 0;
    TColumnPopupType FColumnPopupType = cpFixedCellsRClick;
    TPopupMenu *FColumnPopup = nullptr;
    bool FFilterCaseSensitive = false;
    UnicodeString FFloatFormat;
    TAlignment FHeaderAlignment = taLeftJustify;
    TFont *FHeaderFont = nullptr;
    bool FPrintBorderCustom = true;
    bool FPrintFontCustom = true;
};

class TGridColumnCollection : public TCollection {
public:
    explicit TGridColumnCollection(TExtColumnGrid *AOwner);

    TGridColumnItem *Add();
    TGridColumnItem *Insert(int Index);
    TGridColumnItem *Items(int Index) const { return static_cast<TGridColumnItem *>(TCollection::Items(Index)); }
    void SetItems(int Index, TGridColumnItem *Value) { TCollection::SetItems(Index, Value); }
    TExtColumnGrid *GridOwner() const { return FOwner; }

    // Records the current order as the default order.
    void SetOrganization();
    // Moves every column back to its recorded default position.
    void ResetOrganization();

    bool FNoRecursiveUpdate = false;

protected:
    void Update(TCollectionItem *Item) override;
    TPersistent *GetOwner() override;

private:
    TExtColumnGrid *FOwner;
};

// The carrier of the column stream.
class TExtColumnGridIO : public TComponent {
public:
    explicit TExtColumnGridIO(TComponent *AOwner);
    ~TExtColumnGridIO() override;
    TGridColumnCollection *Items() const { return FItems; }

private:
    TGridColumnCollection *FItems;
};

class TExtColumnGrid : public TExtStringGrid {
    friend class TGridColumnItem;
    friend class TGridColumnCollection;

public:
    explicit TExtColumnGrid(TComponent *AOwner);
    ~TExtColumnGrid() override;

    TGridColumnCollection *Columns() const { return FColumns; }
    void SetColumns(TGridColumnCollection *Value) { FColumns->Assign(Value); }
    int ColCount() const { return TExtStringGrid::ColCount(); }
    void SetColCount(int Value);
    TGridColumnItem *ColumnByName(const UnicodeString &AValue) const;
    bool AutoFilterDisplay() const { return FAutoFilterDisplay; }
    void SetAutoFilterDisplay(bool Value) { FAutoFilterDisplay = Value; }

    // Rebuilds ColumnHeaders from the items; an item without a header takes its row 0 text.
    void UpdateColumnHeaders();
    // Scales the column fonts by M / D.
    void ChangeScale(int M, int D) override;

    void SaveColumnsToStream(TStream *Stream);
    void LoadColumnsFromStream(TStream *Stream);
    void SaveColumnPositions(const UnicodeString &Key, const UnicodeString &Section);
    void LoadColumnPositions(const UnicodeString &Key, const UnicodeString &Section);

    // ---- overrides of the string grid ----
    int GetVersionNr() override;
    UnicodeString GetVersionString() override;
    UnicodeString GetCellFloatFormat(int ACol, int ARow) override;
    // A number in a column with a FloatFormat is shown in that format.
    UnicodeString GetFormattedCell(int ACol, int ARow) override;
    TCellType GetCellType(int ACol, int ARow) override;
    TCellGraphic *GetCellGraphic(int ACol, int ARow) override;
    void DoUpdateColumnSize(int ACol, int &AWidth) override;
    void DoUpdateColumnAutoSize(int ACol, int &AWidth) override;
    void ColumnHeadersChanged(TObject *Sender) override;
    void BulkCellsChanged() override;
    void DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont) override;
    void DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush *ABrush, TFont *AFont) override;
    void DoGetCellBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders) override;
    void DoGetCellPrintBorder(int ACol, int ARow, TPen *APen, TCellBorders &Borders) override;
    void DoGetAlignment(int ACol, int ARow, TAlignment &HAlign, TVAlignment &VAlign) override;
    void DoGetFormat(int ACol, TSortStyle &AStyle, UnicodeString &aPrefix, UnicodeString &aSuffix) override;
    void GetCellEditor(int ACol, int ARow, TEditorType &AEditor) override;
    void DoIsFixedCell(int ACol, int ARow, bool &IsFixed) override;
    void CanEditCell(int ACol, int ARow, bool &CanEdit) override;
    void DoIsPasswordCell(int ACol, int ARow, bool &IsPassword) override;
    bool HasComboBox(int ACol, int ARow) override;
    void DoGetCheckTrue(int ACol, int ARow, UnicodeString &Value) override;
    void DoGetCheckFalse(int ACol, int ARow, UnicodeString &Value) override;
    bool DoGetColumnFilter(int Column) override;
    void DoFilterSelect(int Index) override;
    void RemoveCols(int ColIndex, int CCount) override;
    void InsertCols(int ColIndex, int CCount) override;
    void Group(int ColIndex) override;
    void UnGroup() override;
    void SaveColPositions() override;
    void LoadColPositions() override;
    int GetEditLimit() override;

    TColumnPopupEvent OnColumnPopup;
    TAfterColumnMoved OnAfterColumnMoved;

protected:
    virtual void CreateColumns();
    void Loaded() override;
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void ColWidthsChanged() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    UnicodeString GetEditMask(int ACol, int ARow) override;
    void GetDefaultCellProperties(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo,
                                  TColor &AMirrorColor, TColor &AMirrorColorTo, TAlignment &HA, TVAlignment &VA,
                                  bool &WW, TCellGradientDirection &GD) override;

private:
    bool ColumnsLoading() const { return ComponentState().Contains(TComponentStateItem::csLoading); }
    bool ColumnsDestroying() const { return ComponentState().Contains(TComponentStateItem::csDestroying); }
    bool ColumnsDesigning() const { return ComponentState().Contains(TComponentStateItem::csDesigning); }
    void SyncColumnItems();
    // Real column ACol has an item, and ACol/ARow lie in the normal or body cells.
    bool IsNormalCell(int ACol, int ARow) const;
    bool IsBodyCell(int ACol, int ARow) const;
    TGridColumnItem *ItemOf(int ACol) const;

    TGridColumnCollection *FColumns = nullptr;
    TGridColumnItem *FSaveCol = nullptr;
    bool FColMoving = false;
    TCellGraphic *FDataCheckGraphic = nullptr;
    bool FAutoFilterDisplay = false;
};

// Registers the column grid's classes once at program start.
void ExtColumnGridStartUp();
void ExtColumnGridShutDown();
