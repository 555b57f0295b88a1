// The inner grid's events handed on to the application: each handler fires the drop-down's
// OnGrid... event with the grid's arguments; a few fill in the column's looks first or keep the
// popup open while the application may show a window.
#include "grid/dropdown/ExtCustomGridDropDown.h"

#include <utility>

namespace ExtCustomGridDropDown {

namespace {

// Blocks the popup's deactivation while a handler may show a window of its own.
class TActivationBlock {
public:
    explicit TActivationBlock(TDropDownForm *Form) : FForm(Form)
    {
        if (FForm)
            FForm->BlockActivate = true;
    }
    ~TActivationBlock()
    {
        if (FForm)
            FForm->BlockActivate = false;
    }
    TActivationBlock(const TActivationBlock &) = delete;
    TActivationBlock &operator=(const TActivationBlock &) = delete;

private:
    TDropDownForm *FForm;
};

bool Attaches(TGridEventExtra Extra, bool Assigned)
{
    return Extra != exNotAttached && (Extra != exWhenAssigned || Assigned);
}

} // namespace

void TCustomExtGridDropDown::AttachGridEvents()
{
#define EXT_ATTACH(Suffix, GridEvent, DropDownEvent, Extra)                                                          \
    if (Attaches(Extra, bool(DropDownEvent)))                                                                          \
        FGrid->GridEvent = [this](TObject *Sender, auto &&...Args) {                                                   \
            DoGrid##Suffix(Sender, std::forward<decltype(Args)>(Args)...);                                             \
        };                                                                                                             \
    else if (Extra == exWhenAssigned)                                                                                  \
        FGrid->GridEvent = nullptr;
    EXT_GRID_DROPDOWN_EVENTS(EXT_ATTACH)
#undef EXT_ATTACH
    FGrid->OnCheckBoxClick = [this](TObject *Sender, int ACol, int ARow, bool State) {
        GridCheckBoxClick(Sender, ACol, ARow, State);
    };
}

void TCustomExtGridDropDown::GridCheckBoxClick(TObject *Sender, int ACol, int ARow, bool State)
{
    if (OnGridCheckBoxClick)
        OnGridCheckBoxClick(Sender, ACol, ARow, State);
}

// ---- handlers with a step of their own ----

void TCustomExtGridDropDown::DoGridAnchorClick(TObject *Sender, int ARow, int ACol, const UnicodeString &Anchor,
                                               bool &AutoHandle)
{
    TActivationBlock block(DropDownForm());
    if (OnGridAnchorClick)
        OnGridAnchorClick(Sender, ARow, ACol, Anchor, AutoHandle);
}

void TCustomExtGridDropDown::DoGridButtonClick(TObject *Sender, int ACol, int ARow)
{
    TActivationBlock block(DropDownForm());
    if (OnGridButtonClick)
        OnGridButtonClick(Sender, ACol, ARow);
}

void TCustomExtGridDropDown::DoGridEllipsClick(TObject *Sender, int ACol, int ARow, UnicodeString &S)
{
    TActivationBlock block(DropDownForm());
    if (OnGridEllipsClick)
        OnGridEllipsClick(Sender, ACol, ARow, S);
}

void TCustomExtGridDropDown::DoGridGetAlignment(TObject *Sender, int ARow, int ACol, TAlignment &HAlign,
                                                TVAlignment &VAlign)
{
    if (ACol >= 0 && ACol < Columns()->Count())
        HAlign = Columns()->Items(ACol)->Alignment;
    if (OnGridGetAlignment)
        OnGridGetAlignment(Sender, ARow, ACol, HAlign, VAlign);
}

void TCustomExtGridDropDown::DoGridGetCellColor(TObject *Sender, int ARow, int ACol, TGridDrawState AState,
                                                TBrush *ABrush, TFont *AFont)
{
    if (ABrush && ACol >= 0 && ACol < Columns()->Count())
        ABrush->SetColor(Columns()->Items(ACol)->Color);
    if (OnGridGetCellColor)
        OnGridGetCellColor(Sender, ARow, ACol, AState, ABrush, AFont);
}

void TCustomExtGridDropDown::DoGridGetFloatFormat(TObject *Sender, int ACol, int ARow, bool &IsFloat,
                                                  UnicodeString &FloatFormat)
{
    FloatFormat.clear();
    if (OnGridGetFloatFormat)
        OnGridGetFloatFormat(Sender, ACol, ARow, IsFloat, FloatFormat);
}

void TCustomExtGridDropDown::DoGridMouseMove(TObject *Sender, TShiftState Shift, int X, int Y)
{
    if (!FBalloonInit) {
        // The hints are set up again for the popup's window on its first move.
        if (FGrid && FGrid->Balloon()->Enable()) {
            FGrid->Balloon()->SetEnable(false);
            FGrid->Balloon()->SetEnable(true);
        }
        FBalloonInit = true;
    }
    if (OnGridMouseMove)
        OnGridMouseMove(Sender, Shift, X, Y);
}

void TCustomExtGridDropDown::DoGridTopLeftChanged(TObject *)
{
    if (OnGridTopLeftChanged)
        OnGridTopLeftChanged(this);
}

// ---- handlers that hand the event on as it came ----

void TCustomExtGridDropDown::DoGridAnchorEnter(TObject *Sender, int ARow, int ACol, const UnicodeString &Anchor)
{
    if (OnGridAnchorEnter)
        OnGridAnchorEnter(Sender, ARow, ACol, Anchor);
}

void TCustomExtGridDropDown::DoGridAnchorExit(TObject *Sender, int ARow, int ACol, const UnicodeString &Anchor)
{
    if (OnGridAnchorExit)
        OnGridAnchorExit(Sender, ARow, ACol, Anchor);
}

void TCustomExtGridDropDown::DoGridAnchorHint(TObject *Sender, int ARow, int ACol, UnicodeString &Anchor)
{
    if (OnGridAnchorHint)
        OnGridAnchorHint(Sender, ARow, ACol, Anchor);
}

void TCustomExtGridDropDown::DoGridCanSort(TObject *Sender, int ACol, bool &DoSort)
{
    if (OnGridCanSort)
        OnGridCanSort(Sender, ACol, DoSort);
}

void TCustomExtGridDropDown::DoGridClickSort(TObject *Sender, int ACol)
{
    if (OnGridClickSort)
        OnGridClickSort(Sender, ACol);
}

void TCustomExtGridDropDown::DoGridCustomCompare(TObject *Sender, const UnicodeString &str1, const UnicodeString &str2, int &Res)
{
    if (OnGridCustomCompare)
        OnGridCustomCompare(Sender, str1, str2, Res);
}

void TCustomExtGridDropDown::DoGridRawCompare(TObject *Sender, int ACol, int Row1, int Row2, int &Res)
{
    if (OnGridRawCompare)
        OnGridRawCompare(Sender, ACol, Row1, Row2, Res);
}

void TCustomExtGridDropDown::DoGridColumnSize(TObject *Sender, int ACol, bool &Allow)
{
    if (OnGridColumnSize)
        OnGridColumnSize(Sender, ACol, Allow);
}

void TCustomExtGridDropDown::DoGridColumnSizing(TObject *Sender, int ACol, int ColumnSize)
{
    if (OnGridColumnSizing)
        OnGridColumnSizing(Sender, ACol, ColumnSize);
}

void TCustomExtGridDropDown::DoGridEndColumnSize(TObject *Sender, int Index)
{
    if (OnGridEndColumnSize)
        OnGridEndColumnSize(Sender, Index);
}

void TCustomExtGridDropDown::DoGridRowSize(TObject *Sender, int ARow, bool &Allow)
{
    if (OnGridRowSize)
        OnGridRowSize(Sender, ARow, Allow);
}

void TCustomExtGridDropDown::DoGridRowSizing(TObject *Sender, int ARow, int RowSize)
{
    if (OnGridRowSizing)
        OnGridRowSizing(Sender, ARow, RowSize);
}

void TCustomExtGridDropDown::DoGridEndRowSize(TObject *Sender, int Index)
{
    if (OnGridEndRowSize)
        OnGridEndRowSize(Sender, Index);
}

void TCustomExtGridDropDown::DoGridRowMove(TObject *Sender, int AIndex, bool &Allow)
{
    if (OnGridRowMove)
        OnGridRowMove(Sender, AIndex, Allow);
}

void TCustomExtGridDropDown::DoGridRowMoving(TObject *Sender, int AIndex, bool &Allow)
{
    if (OnGridRowMoving)
        OnGridRowMoving(Sender, AIndex, Allow);
}

void TCustomExtGridDropDown::DoGridRowMoved(TObject *Sender, int FromIndex, int ToIndex)
{
    if (OnGridRowMoved)
        OnGridRowMoved(Sender, FromIndex, ToIndex);
}

void TCustomExtGridDropDown::DoGridColumnMove(TObject *Sender, int AIndex, bool &Allow)
{
    if (OnGridColumnMove)
        OnGridColumnMove(Sender, AIndex, Allow);
}

void TCustomExtGridDropDown::DoGridColumnMoving(TObject *Sender, int AIndex, bool &Allow)
{
    if (OnGridColumnMoving)
        OnGridColumnMoving(Sender, AIndex, Allow);
}

void TCustomExtGridDropDown::DoGridColumnMoved(TObject *Sender, int FromIndex, int ToIndex)
{
    if (OnGridColumnMoved)
        OnGridColumnMoved(Sender, FromIndex, ToIndex);
}

void TCustomExtGridDropDown::DoGridCustomCellDraw(TObject *Sender, TCanvas *Canvas, int ACol, int ARow, TGridDrawState AState, TRect ARect, bool Printing)
{
    if (OnGridCustomCellDraw)
        OnGridCustomCellDraw(Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}

void TCustomExtGridDropDown::DoGridCustomCellBkgDraw(TObject *Sender, TCanvas *Canvas, int ACol, int ARow, TGridDrawState AState, TRect ARect, bool Printing)
{
    if (OnGridCustomCellBkgDraw)
        OnGridCustomCellBkgDraw(Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}

void TCustomExtGridDropDown::DoGridCellBalloon(TObject *Sender, int ACol, int ARow, UnicodeString &ATitle, UnicodeString &AText, int &AIcon)
{
    if (OnGridCellBalloon)
        OnGridCellBalloon(Sender, ACol, ARow, ATitle, AText, AIcon);
}

void TCustomExtGridDropDown::DoGridGetCellGradient(TObject *Sender, int ARow, int ACol, TColor &Color, TColor &ColorTo, TColor &ColorMirror, TColor &ColorMirrorTo, TCellGradientDirection &GD)
{
    if (OnGridGetCellGradient)
        OnGridGetCellGradient(Sender, ARow, ACol, Color, ColorTo, ColorMirror, ColorMirrorTo, GD);
}

void TCustomExtGridDropDown::DoGridGetEditorType(TObject *Sender, int ACol, int ARow, TEditorType &AEditor)
{
    if (OnGridGetEditorType)
        OnGridGetEditorType(Sender, ACol, ARow, AEditor);
}

void TCustomExtGridDropDown::DoGridGetEditorProp(TObject *Sender, int ARow, int ACol)
{
    if (OnGridGetEditorProp)
        OnGridGetEditorProp(Sender, ARow, ACol);
}

void TCustomExtGridDropDown::DoGridCanEditCell(TObject *Sender, int ARow, int ACol, bool &CanEdit)
{
    if (OnGridCanEditCell)
        OnGridCanEditCell(Sender, ARow, ACol, CanEdit);
}

void TCustomExtGridDropDown::DoGridGetDisplText(TObject *Sender, int ACol, int ARow, UnicodeString &Value)
{
    if (OnGridGetDiplText)
        OnGridGetDiplText(Sender, ACol, ARow, Value);
}

void TCustomExtGridDropDown::DoGridGetFormat(TObject *Sender, int ACol, TSortStyle &AStyle, UnicodeString &aPrefix, UnicodeString &aSuffix)
{
    if (OnGridGetFormat)
        OnGridGetFormat(Sender, ACol, AStyle, aPrefix, aSuffix);
}

void TCustomExtGridDropDown::DoGridHint(TObject *Sender, int ARow, int ACol, UnicodeString &HintStr)
{
    if (OnGridHint)
        OnGridHint(Sender, ARow, ACol, HintStr);
}

void TCustomExtGridDropDown::DoGridMouseDown(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnGridMouseDown)
        OnGridMouseDown(Sender, Button, Shift, X, Y);
}

void TCustomExtGridDropDown::DoGridMouseUp(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnGridMouseUp)
        OnGridMouseUp(Sender, Button, Shift, X, Y);
}

void TCustomExtGridDropDown::DoGridKeyDown(TObject *Sender, Word &Key, TShiftState Shift)
{
    if (OnGridKeyDown)
        OnGridKeyDown(Sender, Key, Shift);
}

void TCustomExtGridDropDown::DoGridKeyUp(TObject *Sender, Word &Key, TShiftState Shift)
{
    if (OnGridKeyUp)
        OnGridKeyUp(Sender, Key, Shift);
}

void TCustomExtGridDropDown::DoGridKeyPress(TObject *Sender, WideChar &Key)
{
    if (OnGridKeyPress)
        OnGridKeyPress(Sender, Key);
}

void TCustomExtGridDropDown::DoGridRightClickCell(TObject *Sender, int ARow, int ACol)
{
    if (OnGridRightClickCell)
        OnGridRightClickCell(Sender, ARow, ACol);
}

void TCustomExtGridDropDown::DoGridScrollHint(TObject *Sender, int ARow, UnicodeString &hintstr)
{
    if (OnGridScrollHint)
        OnGridScrollHint(Sender, ARow, hintstr);
}

void TCustomExtGridDropDown::DoGridSearchEditChange(TObject *Sender, const UnicodeString &Value, bool &DefaultSearch)
{
    if (OnGridSearchEditChange)
        OnGridSearchEditChange(Sender, Value, DefaultSearch);
}

void TCustomExtGridDropDown::DoGridSpinClick(TObject *Sender, int ACol, int ARow, int AValue, bool UpDown)
{
    if (OnGridSpinClick)
        OnGridSpinClick(Sender, ACol, ARow, AValue, UpDown);
}

void TCustomExtGridDropDown::DoGridAutoAddRow(TObject *Sender, int ARow)
{
    if (OnGridAutoAddRow)
        OnGridAutoAddRow(Sender, ARow);
}

void TCustomExtGridDropDown::DoGridInsertRow(TObject *Sender, int ARow)
{
    if (OnGridInsertRow)
        OnGridInsertRow(Sender, ARow);
}

void TCustomExtGridDropDown::DoGridInsertCol(TObject *Sender, int ACol)
{
    if (OnGridInsertCol)
        OnGridInsertCol(Sender, ACol);
}

void TCustomExtGridDropDown::DoGridDeleteRow(TObject *Sender, int ARow)
{
    if (OnGridDeleteRow)
        OnGridDeleteRow(Sender, ARow);
}

void TCustomExtGridDropDown::DoGridCanAddRow(TObject *Sender, bool &CanAdd)
{
    if (OnGridCanAddRow)
        OnGridCanAddRow(Sender, CanAdd);
}

void TCustomExtGridDropDown::DoGridCanInsertRow(TObject *Sender, int ARow, bool &CanInsert)
{
    if (OnGridCanInsertRow)
        OnGridCanInsertRow(Sender, ARow, CanInsert);
}

void TCustomExtGridDropDown::DoGridCanDeleteRow(TObject *Sender, int ARow, bool &Allow)
{
    if (OnGridCanDeleteRow)
        OnGridCanDeleteRow(Sender, ARow, Allow);
}

} // namespace ExtCustomGridDropDown
