#pragma once
// The platform's grids: TCustomGrid (geometry, scrolling, selection, keyboard and mouse),
// TCustomDrawGrid / TDrawGrid (cells drawn by OnDrawCell) and TStringGrid (a text and an object
// per cell, kept in a TGridStore).
//
// Coordinates are client coordinates: (0, 0) is the top-left corner of the window; the scroll
// bars lie at the right and bottom, outside the client area. Column and row positions are sums of
// the widths and heights of the cells before them plus one grid line each, counted from LeftCol
// and TopRow for the scrolling cells; every computation walks only the visible cells, so a grid
// of a million rows costs no more to paint or hit-test than one of ten.
//
// Scroll bars report positions in the classic 0..127 scale whatever the count of rows, as the
// grid library reads them (WM_VSCROLL / WM_HSCROLL with SB_THUMBPOSITION, GetScrollInfo).

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/GridStore.h"
#include "platform/Mask.h"
#include "platform/Messages.h"
#include "platform/Sets.h"
#include "platform/StdCtrls.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "platform/Windows.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class QScrollBar;

FABRICOR_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)

// EnableScrollBar: which bar (SB_HORZ, SB_VERT or both) and which arrows are disabled.
constexpr UINT SB_BOTH = 3;
constexpr UINT ESB_ENABLE_BOTH = 0;
constexpr UINT ESB_DISABLE_LTUP = 1;
constexpr UINT ESB_DISABLE_RTDN = 2;
constexpr UINT ESB_DISABLE_BOTH = 3;

enum TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption, 16>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem, 4>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend constexpr bool operator==(const TGridCoord &, const TGridCoord &) = default;
};

struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TGridRect() = default;
    constexpr TGridRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TGridCoord TopLeft() const { return {Left, Top}; }
    constexpr TGridCoord BottomRight() const { return {Right, Bottom}; }
    friend constexpr bool operator==(const TGridRect &, const TGridRect &) = default;
};

// The state of one scroll bar (the fields of the classic SCROLLINFO that the grids use).
struct TGridScrollInfo {
    int nMin = 0;
    int nMax = 0;
    int nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
    bool Visible = false;
};

// What the painter and the hit tests know of one axis for the current view.
struct TGridAxisDrawInfo {
    int EffectiveLineWidth = 0;
    int FixedBoundary = 0;      // end of the fixed cells
    int GridBoundary = 0;       // end of the last (partly) visible cell, at most GridExtent
    int GridExtent = 0;         // client width or height
    int LastFullVisibleCell = 0;
    int FullVisBoundary = 0;    // end of the last fully visible cell
    int FixedCellCount = 0;
    int FirstGridCell = 0;      // LeftCol or TopRow
    int GridCellCount = 0;      // ColCount or RowCount
    std::function<int(int)> GetExtent;
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

class TCustomGrid;

// The editor the grid places over the current cell: a masked single-line edit whose text the grid
// loads from GetEditText (mask from GetEditMask, limit from GetEditLimit) and hands back through
// SetEditText on every change and when the editor hides. Navigation keys go to the grid; Escape
// puts the text back as it was loaded and closes the editor.
class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent *AOwner);
    TCustomGrid *Grid() const { return FGrid; }
    void SetGrid(TCustomGrid *Value) { FGrid = Value; }
    // Places the editor over the cell rectangle (client coordinates of the grid) and shows it.
    void Move(const TRect &Loc);
    void UpdateLoc(const TRect &Loc);
    void Hide();
    void Deselect();
    // Loads the current cell's text, mask and limit.
    virtual void UpdateContents();
    // The text the editor was loaded with.
    const UnicodeString &LoadedText() const { return FLoadedText; }

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void Change() override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void CMExit(TCMExit &Message) override;

private:
    friend class TCustomGrid;
    // Types a character as a key press would (the grid's ShowEditorChar).
    void TypeKey(WideChar Key);
    TCustomGrid *FGrid = nullptr;
    UnicodeString FLoadedText;
    bool FLoading = false;
};

using TSelectCellEvent = std::function<void(TObject *Sender, int ACol, int ARow, bool &CanSelect)>;
using TDrawCellEvent = std::function<void(TObject *Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TMovedEvent = std::function<void(TObject *Sender, int FromIndex, int ToIndex)>;
using TGetEditEvent = std::function<void(TObject *Sender, int ACol, int ARow, UnicodeString &Value)>;
using TSetEditEvent = std::function<void(TObject *Sender, int ACol, int ARow, const UnicodeString &Value)>;

class TCustomGrid : public TCustomControl {
    friend class TInplaceEdit;

public:
    explicit TCustomGrid(TComponent *AOwner);
    ~TCustomGrid() override;

    // ---- structure ----
    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    int ColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    // RowHeights of each of the given rows, in their order; empty when every row of the grid has
    // the default height.
    void RowHeightsOf(const std::vector<int> &Rows, std::vector<int> &Heights) const;
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    // Sets the height of every row.
    void SetDefaultRowHeight(int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    const TGridOptions &Options() const { return FOptions; }
    void SetOptions(const TGridOptions &Value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // Total width and height of all columns and rows with their lines.
    int GridWidth() const;
    int GridHeight() const;

    // ---- position and selection ----
    int Col() const { return FCurrent.X; }
    void SetCol(int Value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value);
    TGridRect Selection() const;
    void SetSelection(const TGridRect &Value);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    int TopRow() const { return FTopLeft.Y; }
    // TopRow may go one row past the last full page, so that a partly covered last row can be
    // scrolled into view.
    void SetTopRow(int Value);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // Client rectangle of a visible cell without its grid lines; a partly visible cell is cut at
    // the client edge, a cell out of view gives the empty rectangle.
    TRect CellRect(int ACol, int ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    void MouseToCell(int X, int Y, int &ACol, int &ARow) const;
    TGridState GridState() const { return FGridState; }

    // ---- moving and deleting ----
    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    void MoveColRow(bool IsColumn, int FromIndex, int ToIndex);
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);

    // ---- scroll bars ----
    bool GetScrollInfo(int ABar, TGridScrollInfo &Info) const;
    void SetScrollInfo(int ABar, const TGridScrollInfo &Info, bool Redraw);
    int GetScrollPos(int ABar) const;
    void ShowScrollBar(int ABar, bool AShow);
    // A disabled bar stays where it is but takes no input; only both arrows at once are told
    // apart here (ESB_ENABLE_BOTH enables, any other value disables).
    void EnableScrollBar(int ABar, UINT Arrows);
    bool ScrollBarEnabled(int ABar) const { return (ABar == SB_HORZ || ABar == SB_VERT) && FScrollEnabled[ABar]; }

    // ---- repainting ----
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateGrid() { Invalidate(); }
    void InvalidateRect(const TGridRect &ARect);

    // ---- the in-place editor ----
    bool EditorMode() const { return FEditorMode; }
    virtual void SetEditorMode(bool Value);
    virtual void ShowEditor();
    virtual void HideEditor();
    // Opens the editor and types Ch into it (a character typed on the grid with goEditing).
    void ShowEditorChar(WideChar Ch);
    TInplaceEdit *InplaceEditor() const { return FInplaceEdit; }

    TRect ClientRect() const override;
    void WndProc(TMessage &Message) override;

    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;

protected:
    // ---- virtuals of the classic grid ----
    virtual bool SelectCell(int ACol, int ARow);
    virtual void TopLeftChanged();
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) = 0;
    virtual void CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs,
                                 TGridDrawInfo &FixedInfo);
    virtual void TimedScroll(int ADirection);
    virtual bool CanGridAcceptKey(Word Key, TShiftState Shift) { return true; }
    virtual TInplaceEdit *CreateEditor();
    virtual bool CanEditShow();
    virtual bool CanEditAcceptKey(WideChar Key) { return true; }
    virtual bool CanEditModify() { return FCanEditModify; }
    virtual UnicodeString GetEditText(int ACol, int ARow) { return UnicodeString(); }
    virtual void SetEditText(int ACol, int ARow, const UnicodeString &Value) {}
    virtual UnicodeString GetEditMask(int ACol, int ARow) { return UnicodeString(); }
    virtual int GetEditLimit() { return 0; }
    // The grid (or its editor) is the active control of its form, or has the focus when formless.
    bool IsActiveControl() const;
    // Hands the editor's text to SetEditText for the cell it edits.
    virtual void UpdateText();
    // Shows the editor over the current cell when it may be shown, loading it when the cell changed.
    void UpdateEdit();
    // Writes the editor's text back and hides it (EditorMode stays as it is).
    void HideEdit();

    void Paint() override;
    void PaintWindow(TCanvas *DC) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void Resize() override;
    void CreateWnd() override;

    virtual void WMHScroll(TWMScroll &Message);
    virtual void WMVScroll(TWMScroll &Message);
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void WMTimer(TWMTimer &Message) override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void WMKillFocus(TWMKillFocus &Message) override;
    void WMCancelMode(TWMCancelMode &Message) override;
    void WMChar(TWMKey &Message) override;

    // ---- helpers for descendants ----
    void CalcDrawInfo(TGridDrawInfo &DrawInfo) const;
    void CalcFixedInfo(TGridDrawInfo &DrawInfo) const;
    TGridCoord CalcCoordFromPoint(int X, int Y, const TGridDrawInfo &DrawInfo) const;
    TGridCoord CalcMaxTopLeft(const TGridCoord &Coord, const TGridDrawInfo &DrawInfo) const;
    // Moves the current cell; MoveAnchor collapses the selection onto it, Show scrolls it into view.
    void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void MoveAnchor(const TGridCoord &NewAnchor);
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    void MoveTopLeft(int ALeft, int ATop);
    void ClampInView(const TGridCoord &Coord);
    void SelectionMoved(const TGridRect &OldSel);
    void UpdateScrollRange();
    void UpdateScrollPos();
    // Told after the scroll bars took their ranges for new counts or sizes: a descendant with
    // thumbs of its own sets them here.
    virtual void ScrollRangeUpdated() {}
    // The largest TopRow / LeftCol the scroll bars and keys go to (last row fully in view).
    int MaxTopRow() const;
    int MaxLeftCol() const;
    // Heights of rows that a descendant inserts or deletes in its cell store in the middle of
    // the grid: the heights from AIndex on move ACount lines down (up), the lines that open up
    // take the default height, and the row count stays as it is (the caller sets it).
    void InsertRowHeights(int AIndex, int ACount);
    void DeleteRowHeights(int AIndex, int ACount);
    // Exchanges the heights of two rows without the change notification, so that a sort moving
    // many rows tells RowHeightsChanged once; true when the heights differed.
    bool SwapRowHeights(int A, int B);

    // Rows taken out or put in as a block, for grids that keep rows aside (hidden rows): Rows
    // lists row indices in ascending order. DeleteRowLines takes those rows out with their
    // heights; InsertRowLines puts in a row of Heights[i] at each Rows[i] (indices of the grid
    // after the insert). The other rows keep their heights; the sizes move in one pass and the
    // string grid moves only row pointers of its cell store. The current cell and the anchor
    // keep their index while it still exists; the fixed rows shrink as SetRowCount would.
    void DeleteRowLines(const std::vector<int> &Rows);
    void InsertRowLines(const std::vector<int> &Rows, const std::vector<int> &Heights);
    virtual void RowLinesDeleted(const std::vector<int> &Rows) {}
    virtual void RowLinesInserted(const std::vector<int> &Rows) {}

    TGridCoord FCurrent;
    TGridCoord FAnchor;
    TGridCoord FTopLeft;
    TGridState FGridState = gsNormal;
    int FSizingIndex = 0;
    int FSizingPos = 0;
    int FSizingOfs = 0;
    int FMoveIndex = 0;
    int FMovePos = 0;
    bool FEditorMode = false;
    TPoint FLastMouse;
    TInplaceEdit *FInplaceEdit = nullptr;
    int FInplaceCol = -1;
    int FInplaceRow = -1;
    bool FCanEditModify = true;

private:
    void ChangeSize(int NewColCount, int NewRowCount);
    // Closes the editor before its cell goes or stops being current.
    void LeaveEditedCell();
    void Initialize();
    void TopLeftMoved(const TGridCoord &OldTopLeft);
    int ColExtent(int Index) const;
    int RowExtent(int Index) const;
    void ScrollBarMessage(int ABar, int ACode, int APos);
    void LayoutScrollBars();
    void DrawSizingLine(const TGridDrawInfo &DrawInfo);
    void ShowSizingCursor(TGridState State);

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    // Empty while every column (row) has the default size.
    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    TGridOptions FOptions;
    bool FDefaultDrawing = true;
    TColor FFixedColor = clBtnFace;
    TBorderStyle FBorderStyle = bsSingle;
    TScrollStyle FScrollBars = ssBoth;
    TGridScrollInfo FScroll[2];
    // The scroll bar widgets; they go with the window, so the pointers must notice.
    QPointer<QObject> FScrollWidgets[2];
    bool FUpdatingScroll = false;
    bool FScrollEnabled[2] = {true, true};
    bool FTimerOn = false;
};

class TCustomDrawGrid : public TCustomGrid {
    friend class TInplaceEdit;
public:
    explicit TCustomDrawGrid(TComponent *AOwner);
    ~TCustomDrawGrid() override;

    TDrawCellEvent OnDrawCell;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TGetEditEvent OnGetEditText;
    TGetEditEvent OnGetEditMask;
    TSetEditEvent OnSetEditText;

protected:
    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    UnicodeString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const UnicodeString &Value) override;
    UnicodeString GetEditMask(int ACol, int ARow) override;
};

// The classic call on a window: the scroll bars of a grid window (SB_HORZ, SB_VERT, SB_BOTH).
// False for a window that is no grid.
BOOL EnableScrollBar(HWND Wnd, UINT SBFlags, UINT Arrows);

class TDrawGrid : public TCustomDrawGrid {
public:
    explicit TDrawGrid(TComponent *AOwner) : TCustomDrawGrid(AOwner) {}
};

class TStringGrid;

// A row or a column of a string grid seen as a string list: Count is ColCount (RowCount), the
// strings are the cells' texts and the objects their objects. Assign writes the first Count
// items of the source and leaves the rest of the row alone; cells beyond the grid's counts are
// not reached. Insert and Delete are refused, since a grid line has a fixed length.
class TStringGridStrings : public TStrings {
public:
    TStringGridStrings(TStringGrid *AGrid, bool AIsColumn, int AIndex);

    int Count() const override;
    UnicodeString Strings(int Index) const override;
    void SetStrings(int Index, const UnicodeString &S) override;
    TObject *Objects(int Index) const override;
    void SetObjects(int Index, TObject *AObject) override;
    int Add(const UnicodeString &S) override;
    void Insert(int Index, const UnicodeString &S) override;
    void Delete(int Index) override;
    void Clear() override;
    void Assign(TPersistent *Source) override;

    bool IsColumn() const { return FIsColumn; }
    int Index() const { return FIndex; }

private:
    TStringGrid *FGrid;
    bool FIsColumn;
    int FIndex;
};

class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent *AOwner);
    ~TStringGrid() override;

    // Texts and objects of any cell: columns beyond ColCount keep theirs when ColCount shrinks and
    // show them again when it grows; rows likewise. Objects are never freed by the grid.
    UnicodeString Cells(int ACol, int ARow) const { return FStore.Text(ACol, ARow); }
    void SetCells(int ACol, int ARow, const UnicodeString &Value);
    // Cells 0..Count-1 of row ARow at once, as SetCells would write them one by one.
    void SetRowCells(int ARow, const QStringView *Texts, int Count);
    TObject *Objects(int ACol, int ARow) const { return FStore.Object(ACol, ARow); }
    void SetObjects(int ACol, int ARow, TObject *Value);
    TStrings *Rows(int Index);
    void SetRows(int Index, TStrings *Value);
    TStrings *Cols(int Index);
    void SetCols(int Index, TStrings *Value);

    void DeleteColumn(int ACol) override;
    void DeleteRow(int ARow) override;

    // The cell store itself, for bulk work that does not need the grid's per-cell checks.
    TGridStore &Store() { return FStore; }
    const TGridStore &Store() const { return FStore; }

protected:
    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void RowLinesDeleted(const std::vector<int> &Rows) override;
    void RowLinesInserted(const std::vector<int> &Rows) override;
    // DeleteRowLines that hands the rows' cells over instead of freeing them, and InsertRowLines
    // that puts such cells back: Cells[i] belongs to Rows[i]. The rows to detach must be taken
    // out as they stand (ascending, inside the grid, not every row), so that none is dropped.
    void DetachRowLines(const std::vector<int> &Rows, std::vector<TGridStore::TRow *> &Cells);
    void AttachRowLines(const std::vector<int> &Rows, const std::vector<int> &Heights,
                        const std::vector<TGridStore::TRow *> &Cells);
    UnicodeString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const UnicodeString &Value) override;

private:
    friend class TStringGridStrings;
    void CheckWriteIndex(int ACol, int ARow) const;
    void CellChanged(int ACol, int ARow);
    TGridStore FStore;
    // While rows are detached or attached: where their cells go or come from.
    std::vector<TGridStore::TRow *> *FCellsOut = nullptr;
    const std::vector<TGridStore::TRow *> *FCellsIn = nullptr;
    std::unordered_map<int, std::unique_ptr<TStringGridStrings>> FRowLists;
    std::unordered_map<int, std::unique_ptr<TStringGridStrings>> FColLists;
};
