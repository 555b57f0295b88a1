// The hooks the string grid calls at fixed points and a descendant may answer in its own way:
// the rows added and removed by automatic row handling, the text a cell gives to and takes from
// files, and the notifications of selection, filter and fixed-cell editing.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/ComCtrls.h"

void TExtStringGrid::DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor &AEditor, TStrings *Values)
{
    if (OnFixedEdit)
        OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

void TExtStringGrid::DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
{
    // The styled selection looks paint a frame around the whole selection: every cell of it
    // changes when it changes.
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007)
        InvalidateRect(Selection());
    FSelChange = true;
    if (OnSelectionChanged)
        OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TExtStringGrid::InsertRowAt(int ARow)
{
    if (FNumNodes <= 0)
        InsertRows(ARow, 1);
    else if (GetParentRow(ARow) == -1)
        InsertNormalRow(RealRowIndex(ARow));
    else
        InsertChildRow(RealRowIndex(ARow), 0);
}

void TExtStringGrid::DeleteRowAt(int ARow)
{
    if (FNumNodes > 0) {
        // The tree operations take the row as stored, hidden rows counted.
        if (GetParentRow(ARow) == -1)
            RemoveNormalRow(RealRowIndex(ARow));
        else
            RemoveChildRow(RealRowIndex(ARow));
    } else if (RowCount() - FixedRows() - FFixedFooters == 1 && !FFixedRowAlways) {
        // The last normal row stays, so that the grid keeps a row to type into.
        ClearRows(ARow, 1);
    } else {
        DeleteRowRange(ARow, 1);
    }
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, ARow);
}

void TExtStringGrid::DoFilterDone()
{
    if (OnFilterDone)
        OnFilterDone(this);
}

UnicodeString TExtStringGrid::GetCellText(int ACol, int ARow)
{
    return Cells(ACol, ARow);
}

void TExtStringGrid::DoSaveCell(int ACol, int ARow, UnicodeString &Value)
{
    Value = FSaveVirtCells ? GetFormattedCell(ACol, ARow) : GridCells(ACol, ARow);

    if (Value.isEmpty()) {
        const TCellType t = GetCellType(ACol, ARow);
        if (t == ctCheckBox || t == ctTriStateCheckBox) {
            TCheckBoxState state = cbUnchecked;
            GetCheckBoxState(ACol, RealRowIndex(ARow), state);
            if (state == cbChecked)
                DoGetCheckTrue(ACol, ARow, Value);
            else
                DoGetCheckFalse(ACol, ARow, Value);
        }
    }

    switch (CellTextKind(Value, true)) {
    case 1:
        if (!FSaveWithHTML)
            Value = StripHtmlTags(Value);
        break;
    case 2:
        if (FSaveWithRTF) {
            Value.remove(u'\r');
            Value.remove(u'\n');
        } else {
            TRichEdit *rich = CellRichEdit();
            CellToRich(ACol, ARow, rich);
            Value = rich->Lines()->Text();
            while (Value.endsWith(u'\n') || Value.endsWith(u'\r'))
                Value.chop(1);
        }
        break;
    default:
        break;
    }

    if (OnSaveCell)
        OnSaveCell(this, ACol, ARow, Value);
}

void TExtStringGrid::DoLoadCell(int ACol, int ARow, const UnicodeString &Value)
{
    UnicodeString v = Value;
    if (OnLoadCell)
        OnLoadCell(this, ACol, ARow, v);
    if (ACol >= 0 && ARow >= 0 && ACol < TotalColCount() && ARow < RowCount())
        SetGridCell(ACol, ARow, v);
}
