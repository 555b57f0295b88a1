// The small editors that clicks open rather than the in-place editing: the option of a radio
// group, the EDIT, PASSWORD, MASK and COMBO controls inside a mini-HTML cell text, and the edit
// box or combo box over a fixed cell.

#include "grid/core/ExtGrid.h"

#include "controls/MiniHTML.h"

#include <algorithm>
#include <memory>

// ---- radio groups -------------------------------------------------------------------------------

void TExtStringGrid::ClickRadioCell(int ACol, int ARow, int X, int Y)
{
    TStrings *options = GetRadioStrings(ACol, ARow);
    const TPoint base = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(base.X, base.Y);
    if (!options || !g)
        return;
    const int displCol = DisplColOfReal(base.X);
    // The options measure as they paint: the cell's own colours and font.
    TBitmap bmp;
    bmp.SetSize(1, 1);
    TCanvas *c = bmp.Canvas();
    const bool fixed = displCol < FixedCols() || base.Y < FixedRows() || IsFixed(displCol, base.Y);
    c->Font()->Assign(fixed ? FFixedFont : Font());
    TGridDrawState state;
    if (fixed)
        state << gdFixed;
    DoGetCellColor(base.X, base.Y, state, c->Brush(), c->Font());
    if (!IsFixed(displCol, base.Y)) {
        SetCol(displCol);
        SetRow(base.Y);
    }
    const TControlLook::TControlStyle style = FControlLook->ControlStyle();
    const int mark = style >= TControlLook::csWinXP ? 16 : FControlLook->RadioSize;
    const bool horizontal = g->CellBoolean();
    const int lineHeight = std::max(mark, c->TextHeight(QStringLiteral("gh")));
    int end = 0, chosen = -1;
    for (int i = 0; i < options->Count(); ++i) {
        const int start = end;
        end += horizontal ? c->TextWidth(options->Strings(i)) + mark : lineHeight;
        const int at = horizontal ? X : Y;
        if (at > start && at < end) {
            chosen = i;
            break;
        }
    }
    if (chosen < 0)
        return;
    if (g->CellIndex() != -1)
        g->SetCellIndex(chosen);
    else
        SetCellEx(base.X, base.Y, options->Strings(chosen));
    // Written again so that the change notifications of the cell run.
    SetCells(base.X, base.Y, Cells(base.X, base.Y));
    SetRadioIdx(base.X, base.Y, chosen);
    if (OnRadioClick)
        OnRadioClick(this, base.X, base.Y, chosen);
}

// ---- in-text controls ---------------------------------------------------------------------------

void TExtStringGrid::CellHtmlLayout(int ACol, int ARow, TBitmap &Bmp, THtmlRenderParams &P)
{
    const int realCol = RealColIndex(ACol);
    TRect r = CellRect(ACol, ARow);
    r.Left += FXYOffset.X + 1;
    r.Top += FXYOffset.Y + 1;
    if (HasCheckBox(realCol, ARow))
        r.Left += FControlLook->CheckSize;
    Bmp.SetSize(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
    const bool fixed = ACol < FixedCols() || ARow < FixedRows() || IsFixed(ACol, ARow);
    Bmp.Canvas()->Font()->Assign(fixed ? FFixedFont : Font());
    P.Canvas = Bmp.Canvas();
    P.Text = GridCells(realCol, ARow);
    P.Rect = r;
    P.Images = dynamic_cast<TCustomImageList *>(GetGridImageList());
    P.WordWrap = WordWraps(realCol, ARow);
    P.AnchorColor = FURLColor;
    P.PictureCache = FImageCache;
}

void TExtStringGrid::EditCellControl(int ACol, int ARow, const UnicodeString &CtrlID)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount() || !HandleAllocated())
        return;
    const int realCol = RealColIndex(ACol);
    const UnicodeString text = GridCells(realCol, ARow);
    // The control's place comes from laying the text out as the cell paints it.
    TBitmap bmp;
    THtmlRenderParams p;
    CellHtmlLayout(ACol, ARow, bmp, p);
    p.FindControl = true;
    p.ControlID = CtrlID;
    RenderHtmlText(p);
    // No control of that ID in the text: nothing to edit.
    if (p.ControlType.isEmpty() || p.ControlID != CtrlID)
        return;
    EditCellControlAt(text, p.ControlType, ARow, realCol, ACol, p.ControlRect, p.ControlValue, CtrlID);
}

void TExtStringGrid::EditCellControlAt(const UnicodeString &CellText, const UnicodeString &CtrlType, int ARow,
                                       int ARealCol, int ACol, const TRect &CtrlRect, const UnicodeString &CtrlValue,
                                       const UnicodeString &CtrlID)
{
    const UnicodeString type = CtrlType.toUpper();
    const bool edit = type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK");
    const bool combo = type == QLatin1String("COMBO");
    if ((!edit && !combo) || !FEditControl || !FComboControl)
        return;
    FCtrlXY = TPoint(ACol, ARow);
    FCtrlID = CtrlID;
    FCtrlType = type;
    FCtrlEditing = true;
    const int maxLen = std::max(0, GetControlMaxLen(CellText, CtrlID));
    const int w = CtrlRect.Right - CtrlRect.Left;
    if (edit) {
        TControlEdit *e = FEditControl;
        e->SetPasswordChar(type == QLatin1String("PASSWORD") ? WideChar(u'*') : WideChar(0));
        e->SetEditMask(type == QLatin1String("MASK") ? GetControlProp(CellText, CtrlID) : UnicodeString());
        e->SetText(CtrlValue);
        e->SetBorderStyle(bsNone);
        e->SetBounds(CtrlRect.Left + 1, CtrlRect.Top + 8, std::max(0, w - 4), 14);
        e->SetMaxLength(maxLen);
        e->OnExit = [this](TObject *) { EndCellControlEdit(); };
        e->SetVisible(true);
        e->BringToFront();
        if (e->CanFocus())
            e->SetFocus();
        return;
    }
    TControlCombo *cb = FComboControl;
    auto values = std::make_unique<TStringList>();
    bool editable = true;
    int dropCount = 8;
    if (OnControlComboList)
        OnControlComboList(this, ARow, ACol, CtrlID, type, CtrlValue, values.get(), editable, dropCount);
    cb->SetStyle(editable ? csDropDown : csDropDownList);
    cb->Items()->Assign(values.get());
    cb->SetItemIndex(cb->Items()->IndexOf(CtrlValue));
    if (editable)
        cb->SetText(CtrlValue);
    cb->SetDropDownCount(std::max(1, dropCount));
    cb->SetBounds(CtrlRect.Left - 1, CtrlRect.Top + 4, w, cb->ItemHeight() * (dropCount + 2));
    cb->SetMaxLength(maxLen);
    cb->OnSelect = [this](TObject *Sender) { ControlComboSelect(Sender); };
    cb->OnExit = [this](TObject *) { EndCellControlEdit(); };
    cb->SetVisible(true);
    cb->BringToFront();
    if (cb->CanFocus())
        cb->SetFocus();
    cb->SetDroppedDown(true);
}

void TExtStringGrid::EndCellControlEdit()
{
    if (!FCtrlEditing)
        return;
    FCtrlEditing = false;
    const bool combo = FCtrlType == QLatin1String("COMBO");
    const UnicodeString value = combo ? FComboControl->Text() : FEditControl->Text();
    const int col = FCtrlXY.X, row = FCtrlXY.Y;
    if (col >= 0 && row >= 0 && col < ColCount() && row < RowCount()) {
        const int realCol = RealColIndex(col);
        UnicodeString text = GridCells(realCol, row);
        if (SetControlValue(text, FCtrlID, value))
            SetCellEx(realCol, row, text);
    }
    if (combo)
        FComboControl->SetVisible(false);
    else
        FEditControl->SetVisible(false);
    if (OnControlEditDone)
        OnControlEditDone(this, row, col, FCtrlID, FCtrlType, value);
    FCtrlType.clear();
}

void TExtStringGrid::ControlComboSelect(TObject *Combo)
{
    auto *cb = dynamic_cast<TCustomComboBox *>(Combo);
    if (!cb || !OnControlComboSelect)
        return;
    const int i = cb->ItemIndex();
    const UnicodeString item = i >= 0 && i < cb->Items()->Count() ? cb->Items()->Strings(i) : cb->Text();
    OnControlComboSelect(this, FCtrlXY.Y, FCtrlXY.X, i, FCtrlID, item);
}

// ---- fixed cells --------------------------------------------------------------------------------

void TExtStringGrid::EditFixedCell(int ACol, int ARow)
{
    if (!EditTrans || !ComboTrans || ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return;
    // An open fixed-cell editor stops first; it has nothing that could refuse yet.
    EditTrans->SetVisible(false);
    ComboTrans->SetVisible(false);
    bool canEdit = true;
    DoCanEditCell(ACol, ARow, canEdit);
    if (!canEdit)
        return;
    FFixedColEdit = ACol;
    FFixedRowEdit = ARow;
    // Each editor writes back into the cell it was opened on.
    EditTrans->FCol = ComboTrans->FCol = ACol;
    EditTrans->FRow = ComboTrans->FRow = ARow;
    TGridFixedCellEditor kind = ACol == 0 ? FMouseActions->FixedColsEditor : FMouseActions->FixedRowsEditor;
    auto values = std::make_unique<TStringList>();
    values->Assign(FMouseActions->FixedComboValues());
    DoFixedEdit(ACol, ARow, kind, values.get());
    TRect r = CellRect(ACol, ARow);
    InflateRect(r, -1, -1);
    const UnicodeString text = Cells(RealColIndex(ACol), ARow);
    if (kind == fceEdit) {
        EditTrans->OnChange = nullptr;
        EditTrans->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        EditTrans->SetText(text);
        EditTrans->OnChange = [this](TObject *Sender) { FixedCellEditChange(Sender); };
        EditTrans->SetVisible(true);
        EditTrans->BringToFront();
        if (EditTrans->CanFocus())
            EditTrans->SetFocus();
        return;
    }
    ComboTrans->OnChange = nullptr;
    ComboTrans->SetStyle(kind == fceComboEdit ? csDropDown : csDropDownList);
    ComboTrans->Items()->Assign(values.get());
    ComboTrans->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top);
    ComboTrans->SetItemIndex(ComboTrans->Items()->IndexOf(text));
    if (kind == fceComboEdit)
        ComboTrans->SetText(text);
    ComboTrans->OnChange = [this](TObject *Sender) { FixedCellEditChange(Sender); };
    ComboTrans->SetVisible(true);
    ComboTrans->BringToFront();
    if (ComboTrans->CanFocus())
        ComboTrans->SetFocus();
}

void TExtStringGrid::FixedCellEditChange(TObject *Sender)
{
    if (!OnEditChange)
        return;
    UnicodeString text;
    if (auto *e = dynamic_cast<TCustomEdit *>(Sender))
        text = e->Text();
    else if (auto *cb = dynamic_cast<TCustomComboBox *>(Sender))
        text = cb->Text();
    OnEditChange(this, FFixedColEdit, FFixedRowEdit, text);
}
