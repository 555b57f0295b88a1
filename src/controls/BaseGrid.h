#pragma once
// The base of every grid of the system: the platform string grid with merged cells, a properties
// object per cell (created on first need and kept in the cell's object slot), cell texts read
// and written through the base cell of a merged range and the display hooks, its own cell
// painter (grid lines of its own width, selection looks, active and hover rows) and a link to an
// undo/redo component.
//
// A merged range lives only in the properties of its cells: the base (top-left) cell holds the
// span of the range, every other cell the offset back to the base, an unmerged cell -1 and -1.
// A cell without properties is unmerged and its own base.

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Grids.h"
#include "platform/System.h"
#include "platform/Types.h"

#include <cstdint>
#include <functional>

class TBaseGrid;
class TExtGridUndoRedo;

using NativeUInt = std::uintptr_t;

enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };
enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum THoverRowCell { hcNormal, hcFixed, hcSelected };
using THoverRowCells = TSet<THoverRowCell, 4>;

enum TEditorType {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
    edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
    edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
    edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone, edDateTimeEdit, edValidChars,
    edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown,
    edGridDropDown, edColorPickerDropDown, edImagePickerDropDown, edExtGridDropDown, edPositiveFloat,
    edNumericUnitEditBtn, edFloatUnitEditBtn, edMaskEditBtn
};

using TGetDisplTextEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &Value)>;
using TGetDisplWideTextEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &Value)>;

// What one cell carries: its place in a merged range, its own look, editor kind, read-only flag,
// node level, footer calculation, a control placed in it, the application's value for it and
// the string grid's graphic object.
class TCellProperties : public TPersistent {
    friend class TBaseGrid;

public:
    TCellProperties(TBaseGrid *AOwner, int ACol, int ARow);

    // Copies the place, the look and the application values; leaves the owner grid, the
    // gradient end and direction, the calculation, the graphic object and the paint mark.
    void Assign(TPersistent *Source) override;

    // The base cell of (ACol, ARow), which the caller says this object belongs to.
    TPoint GetBaseCell(int ACol, int ARow) const
    {
        if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1)
            return {ACol - FCellSpanX, ARow - FCellSpanY};
        return {ACol, ARow};
    }
    TPoint BaseCell(int ACol, int ARow) const { return GetBaseCell(ACol, ARow); }

    TBaseGrid *OwnerGrid() const { return FOwnerGrid; }
    int OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(int Value) { FOwnerCol = Value; }
    int OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(int Value) { FOwnerRow = Value; }
    NativeUInt CellObject() const { return FObject; }
    void SetCellObject(NativeUInt Value) { FObject = Value; }
    TObject *GraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(TObject *Value) { FGraphicObject = Value; }
    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle Value) { FBrushStyle = Value; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor Value);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int Value) { FFontSize = Value; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles Value) { FFontStyle = Value; }
    int CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(int Value) { FCellSpanY = Value; }
    int CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(int Value) { FCellSpanX = Value; }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    int PaintID() const { return FPaintID; }
    void SetPaintID(int Value) { FPaintID = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool Value) { FIsBaseCell = Value; }
    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType Value) { FCalcType = Value; }
    TObject *CalcObject() const { return FCalcObject; }
    void SetCalcObject(TObject *Value) { FCalcObject = Value; }
    int NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int Value) { FNodeLevel = Value; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType Value) { FEditor = Value; }
    const UnicodeString &FontName() const { return FFontName; }
    void SetFontName(const UnicodeString &Value) { FFontName = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection Value) { FGradientDirection = Value; }
    TControl *Control() const { return FControl; }
    void SetControl(TControl *Value) { FControl = Value; }

private:
    void RepaintOwnerCell();

    TBaseGrid *FOwnerGrid;
    int FOwnerCol;
    int FOwnerRow;
    NativeUInt FObject = 0;
    TObject *FGraphicObject = nullptr;
    TBrushStyle FBrushStyle = TBrushStyle::bsSolid;
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    int FFontSize = 0;
    TColor FFontColor = clNone;
    TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = TColorOf(0);
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    int FPaintID = 0;
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = acNONE;
    TObject *FCalcObject = nullptr;
    int FNodeLevel = 0;
    TEditorType FEditor = edNormal;
    UnicodeString FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = GradientVertical;
    TControl *FControl = nullptr;
};

// The platform string grid under its own name, so that the grid library has a class of its
// own to stand on.
class TObjStringGrid : public TStringGrid {
public:
    explicit TObjStringGrid(TComponent *AOwner) : TStringGrid(AOwner) {}
};

class TBaseGrid : public TObjStringGrid {
    friend class TCellProperties;

public:
    explicit TBaseGrid(TComponent *AOwner);
    ~TBaseGrid() override;

    // ---- cells ----
    // Text through the base cell of a merged range and the display hooks.
    UnicodeString Cells(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
    void SetCells(int ACol, int ARow, const UnicodeString &Value) { SetCellEx(ACol, ARow, Value); }
    UnicodeString GetCellEx(int ACol, int ARow);
    void SetCellEx(int ACol, int ARow, const UnicodeString &Value);
    // The raw text slot of that very cell.
    UnicodeString GridCells(int ACol, int ARow) const { return TStringGrid::Cells(ACol, ARow); }
    void SetGridCell(int ACol, int ARow, const UnicodeString &Value) { TStringGrid::SetCells(ACol, ARow, Value); }
    // The application's value of the cell (its properties' CellObject); nil without properties.
    TObject *Objects(int ACol, int ARow) const { return GetObjectEx(ACol, ARow); }
    void SetObjects(int ACol, int ARow, TObject *Value) { SetObjectEx(ACol, ARow, Value); }
    TObject *GetObjectEx(int ACol, int ARow) const;
    void SetObjectEx(int ACol, int ARow, TObject *Value);
    // The raw object slot: the cell's properties or nil.
    TObject *GridObjects(int ACol, int ARow) const { return TStringGrid::Objects(ACol, ARow); }
    void SetGridObject(int ACol, int ARow, TObject *Value) { TStringGrid::SetObjects(ACol, ARow, Value); }
    // Created on first read; a cell outside the grid raises EInvalidGridOperation.
    TCellProperties *CellProperties(int ACol, int ARow);
    // Frees what the slot held and keeps Value; a cell outside the grid is left alone.
    void SetCellProperties(int ACol, int ARow, TCellProperties *Value);
    TObject *GraphicObjects(int ACol, int ARow) const;
    void SetGraphicObjects(int ACol, int ARow, TObject *Value);

    // ---- merged cells ----
    virtual void MergeCells(int c, int r, int spanx, int spany);
    virtual void SplitCells(int c, int r);
    TPoint CellSpan(int ACol, int ARow) const;
    TPoint CellExt(int ACol, int ARow) const;
    TPoint BaseCell(int ACol, int ARow) const;
    TRect FullCell(int c, int r) const;
    bool IsBaseCell(int ACol, int ARow) const;
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    bool ColSpanIdentical(int ACol1, int ACol2) const;

    // ---- rectangles ----
    // Client rectangle of a cell, of the whole range for a cell of a merged range; a partly
    // visible cell gets its full size.
    TRect CellRect(int c, int r) const;
    TPoint CellSize(int c, int r) const;
    // From column widths, row heights and the scroll position; also for cells out of view.
    TRect VirtualCellRect(int c, int r) const;
    void RepaintCell(int c, int r);

    // ---- painting of one cell on any canvas ----
    void PaintCell(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState);
    // Background, selection and lines only; a selected cell takes the active-row colours.
    void PaintCellExt(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState);

    // ---- virtual operations the string grid plugs into ----
    virtual bool IsFixed(int ACol, int ARow) { return false; }
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool Print, bool Select, bool Remap,
                                     TBrush *ABrush, TColor &AColorTo, TColor &AMirrorColor, TColor &AMirrorColorTo,
                                     TFont *AFont, TAlignment &HA, TVAlignment &VA, bool &WW,
                                     TCellGradientDirection &GD);
    virtual int DisplColIndex(int ACol) { return ACol; }
    virtual int TotalColCount() const { return ColCount(); }

    // ---- for the string grid ----
    bool CellHasProperties(int c, int r) const
    {
        // The slot first: it is cheap for any index, and most cells have none.
        return TStringGrid::Objects(c, r) != nullptr && c >= 0 && r >= 0 && c < TotalColCount() && r < RowCount();
    }
    // True when the cell is its own base (no properties, or the base of its range).
    bool ResolveBaseCell(int c, int r, int &BaseCol, int &BaseRow) const;
    TObject *GraphicOfCellProps(TCellProperties *Props) const { return Props ? Props->GraphicObject() : nullptr; }
    void SnapToBaseCell();
    void ResetColCells(int ACol);
    void ResetRowCells(int ARow);
    void ResetCell(int ACol, int ARow);
    void FreeCellPropsRange(int ACol1, int ARow1, int ACol2, int ARow2);
    void FreeCellObject(int ACol, int ARow);

    // ---- properties ----
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor Value);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor Value);
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool Value);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor Value);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor Value);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor Value);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor Value);
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle Value);
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool Value) { FHoverRow = Value; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor Value) { FHoverRowColor = Value; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor Value) { FHoverRowColorTo = Value; }
    THoverRowCells HoverRowCells() const { return FHoverRowCells; }
    void SetHoverRowCells(THoverRowCells Value) { FHoverRowCells = Value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }
    TExtGridUndoRedo *UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TExtGridUndoRedo *Value);

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    // Queries the string grid answers for its rows and its look.
    virtual int GetRowIndent(int ARow) { return 0; }
    virtual bool HasNodes() { return false; }
    virtual bool HasCellBorderEvent() { return false; }
    virtual bool IsPlatformStyled() { return false; }

protected:
    virtual void DrawGridCell(TCanvas *ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    virtual void HiddenLastRowChanged() {}
    virtual void DoGetDisplText(int ACol, int ARow, UnicodeString &Value);
    virtual void DoGetDisplWideText(int ACol, int ARow, UnicodeString &Value);
    virtual void GetDefaultCellProperties(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo,
                                          TColor &AMirrorColor, TColor &AMirrorColorTo, TAlignment &HA,
                                          TVAlignment &VA, bool &WW, TCellGradientDirection &GD);
    virtual void CellTextSet(int ACol, int ARow) {}

    void Notification(TComponent *AComponent, TOperation Operation) override;
    void Paint() override;
    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    UnicodeString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const UnicodeString &Value) override;
    void TopLeftChanged() override;

    void PaintCellCore(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState, bool Full);

    // The properties of a cell known to have them.
    TCellProperties *PropsOf(int c, int r) const { return static_cast<TCellProperties *>(TStringGrid::Objects(c, r)); }
    // The properties of a cell inside the grid, made with the default look when missing.
    TCellProperties *EnsureProps(int c, int r, bool SetCalcType);
    bool InsideGrid(int c, int r) const { return c >= 0 && r >= 0 && c < TotalColCount() && r < RowCount(); }
    TPoint LastCellOfRange(TPoint Base, TPoint Span) const;
    // The grid is drawn right to left.
    bool RightToLeftGrid() const;

    // The cell the platform is drawing through DrawCell, (-1, -1) otherwise.
    TPoint FPlatformCell{-1, -1};
    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = TColorOf(0xC0C0C0u);
    TColor FGridFixedLineColor = TColorOf(0x808080u);
    int FPaintID = 1;
    bool FHideLastRow = false;
    int FNormalRowCount = 0;
    TExtGridUndoRedo *FUndoRedo = nullptr;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    int FHoverRowIdx = -1;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells{hcNormal, hcSelected};
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    bool FShowSel = true;
    bool FHasCellProps = false;
    int FMergeCount = 0;
};
