// The mouse buttons on cells: which cell a press hits (the base cell of a merged range), check
// boxes and radio buttons, in-cell and expand buttons, node glyphs, links, the sizing of fixed
// columns and rows, header selections, the click on the sort row and the double click on a
// header border that sizes a column to its content.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/Forms.h"
#include "platform/ShellApi.h"
#include "platform/Windows.h"

#include <algorithm>
#include <cmath>

namespace {

// The shift state a press reports: one of Alt, Shift and Ctrl, in that order.
TShiftState PressShift(TShiftState S)
{
    if (S.Contains(ssAlt))
        return TShiftState{ssAlt};
    if (S.Contains(ssShift))
        return TShiftState{ssShift};
    if (S.Contains(ssCtrl))
        return TShiftState{ssCtrl};
    return {};
}

// "R5C3" (letters in any case): row and column of a cell reference.
bool ParseCellReference(const UnicodeString &Ref, int &ACol, int &ARow)
{
    const UnicodeString s = Ref.toUpper();
    if (s.size() < 4 || s[0] != u'R')
        return false;
    const qsizetype c = s.indexOf(u'C', 1);
    if (c < 2 || c == s.size() - 1)
        return false;
    bool okR = false, okC = false;
    ARow = s.mid(1, c - 1).toInt(&okR);
    ACol = s.mid(c + 1).toInt(&okC);
    return okR && okC;
}

} // namespace

bool TExtStringGrid::InHeaderSizingZone(int ACol, int ARow, int X) const
{
    if (ARow < 0 || ARow >= FixedRows() || ACol < 0 || !Options().Contains(goColSizing))
        return false;
    const TRect r = CellRect(ACol, ARow);
    return X - r.Left < 4 || r.Right - X < 4;
}

void TExtStringGrid::HandleCheckBoxClick(int ACol, int ARow, int RealCol)
{
    HideInplaceEdit();
    if (CanFocus() && HandleAllocated() && !Focused())
        SetFocus();
    if (HasRadioButton(RealCol, ARow)) {
        ToggleCellRadioButton(RealCol, ARow, true);
        if (OnRadioButtonClick)
            OnRadioButtonClick(this, RealCol, ARow);
    } else {
        ToggleCellCheckBox(RealCol, ARow, true);
    }
    if (FShowModified->Enabled) {
        SetRowModified(ARow, true);
        RepaintCell(0, ARow);
    }
    if (ACol == 0 && FMouseActions->HotmailRowSelect() && ARow >= FixedRows()) {
        const int rr = RealRowIndex(ARow);
        SetRowSelect(rr, !GetRowSelect(rr));
    }
    bool state = false;
    GetCheckBoxState(RealCol, RealRowIndex(ARow), state);
    if (!FNavigation->AlwaysEdit && ACol >= FixedCols() && ARow >= FixedRows() && ARow < RowCount() &&
        ACol < ColCount())
        MoveCurrent(ACol, ARow, true, true);
    DoCheckBoxClick(ACol, ARow, state ? cbChecked : cbUnchecked);
    if (FHideFocusRect)
        RepaintCell(ACol, ARow);
    if (ARow < FixedRows() && FMouseActions->CheckAllCheck) {
        for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r) {
            if (FMouseActions->HotmailRowSelect())
                SetRowSelect(r, state);
            else
                SetCheckBoxState(RealCol, r, state);
        }
        Invalidate();
    }
}

bool TExtStringGrid::HtmlAnchorAt(int ACol, int ARow, int X, int Y, UnicodeString &Anchor, UnicodeString &CtrlID,
                                  UnicodeString &CtrlType, UnicodeString &CtrlVal, int &AnchorIndex)
{
    Anchor.clear();
    CtrlID.clear();
    CtrlType.clear();
    CtrlVal.clear();
    AnchorIndex = -1;
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount() || !HandleAllocated())
        return false;
    const int realCol = RealColIndex(ACol);
    const UnicodeString text = GridCells(realCol, ARow);
    if (!FEnableHTML || CellTextKind(text, true) != 1)
        return false;
    // Laid out as the cell paints it, on a picture of the client area, to find what is hit.
    TBitmap bmp;
    THtmlRenderParams p;
    CellHtmlLayout(ACol, ARow, bmp, p);
    p.HitX = X;
    p.HitY = Y;
    RenderHtmlText(p);
    Anchor = p.HitAnchor;
    CtrlID = p.ControlID;
    CtrlType = p.ControlType;
    CtrlVal = p.ControlValue;
    AnchorIndex = p.HitAnchorIndex;
    return !Anchor.isEmpty();
}

bool TExtStringGrid::HandleAnchorClick(int ACol, int ARow, int X, int Y)
{
    const int realCol = RealColIndex(ACol);
    UnicodeString text = GridCells(realCol, ARow);
    const bool html = FEnableHTML && CellTextKind(text, true) == 1;
    UnicodeString anchor, id, type, val;
    int index = -1;
    if (html)
        HtmlAnchorAt(ACol, ARow, X, Y, anchor, id, type, val, index);
    else if (FURLShow && IsLinkText(text))
        anchor = text;
    if (anchor.isEmpty()) {
        if (!(html && text.toUpper().contains(QStringLiteral("<CONTROL"))))
            return false;
        // A cell of in-text controls is selected, never edited as a whole.
        if (OnClickCell)
            OnClickCell(this, ARow, ACol);
        HideInplaceEdit();
        FocusCell(ACol, ARow, true);
        return true;
    }
    bool autoHandle = true;
    if (!id.isEmpty()) {
        bool canEdit = EditingGrid() && !GetReadOnly(realCol, ARow);
        DoCanEditCell(realCol, ARow, canEdit);
        if (canEdit) {
            const UnicodeString t = type.toUpper();
            if (t == QLatin1String("BUTTON")) {
                FCtrlXY = TPoint(ACol, ARow);
                FCtrlDown = true;
                RepaintCell(ACol, ARow);
            } else if (t == QLatin1String("CHECK")) {
                val = val.toUpper() == QLatin1String("TRUE") ? QStringLiteral("FALSE") : QStringLiteral("TRUE");
                SetControlValue(text, id, val);
                SetCells(realCol, ARow, text);
            } else if (t == QLatin1String("RADIO")) {
                text = ResetRadioControls(text);
                val = QStringLiteral("TRUE");
                SetControlValue(text, id, val);
                SetCells(realCol, ARow, text);
            }
            if (OnControlClick)
                OnControlClick(this, ARow, ACol, id, type, val);
            if (t != QLatin1String("BUTTON") && t != QLatin1String("CHECK") && t != QLatin1String("RADIO"))
                EditCellControl(ACol, ARow, id);
            return true;
        }
        // A control that may not be used is no link either.
        if (OnAnchorClick)
            OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
        return true;
    }
    if (OnAnchorClick)
        OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
    if (!autoHandle)
        return true;
    const qsizetype at = anchor.toUpper().indexOf(QStringLiteral("CELL://"));
    if (at < 0) {
        // The shell opens web links only; anything else is left alone.
        ShellExecuteW(0, QStringLiteral("open"), anchor, QString(), QString(), SW_SHOWNORMAL);
        return true;
    }
    int c = -1, r = -1;
    // A reference outside the grid is ignored as an unreadable one is.
    if (ParseCellReference(anchor.mid(at + 7).trimmed(), c, r) && c >= 0 && r >= 0 && c < ColCount() &&
        r < RowCount()) {
        SetRow(r);
        SetCol(c);
    }
    return true;
}

void TExtStringGrid::WMLButtonDown(TWMMouse &Message)
{
    int X = Message.XPos, Y = Message.YPos;
    // Only a sizing during this press keeps its release from sorting, not widths set in code
    // since the last one.
    ColSizeFlg = false;
    FDoOnClick = true;
    FMouseDownMove = true;
    FMouseKeepDown = true;
    FSpinUpClick = false;
    FSpinDnClick = false;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const TGridRect oldSel = Selection();
    const bool valid = ACol >= 0 && ARow >= 0;

    // The grip at the selection's corner: the drag that follows copies the selection over the
    // cells it reaches (pasted at button up).
    auto startResize = [&]() {
        FGridState = gsSelecting;
        FDropSelection = oldSel;
        CopySelectionToClipboard();
        FMouseResize = true;
        if (!Options().Contains(goEditing) && !FMouseActions->RangeSelectAndEdit)
            TBaseGrid::WMLButtonDown(Message);
        // The selection comes back with its top-left corner held, so that the drag moves the
        // bottom-right one.
        SetSelection(TGridRect{oldSel.Right, oldSel.Bottom, oldSel.Left, oldSel.Top});
        FGridState = gsSelecting;
        MouseMove(KeysToShiftState(Message.Keys), X, Y);
        Message.Result = 1;
    };
    if (FSelectionResizer && FSelectionRectangle) {
        const TRect sr = CellRect(oldSel.Right, oldSel.Bottom);
        if (TRect(sr.Right - 6, sr.Bottom - 6, sr.Right, sr.Bottom).Contains(TPoint(X, Y))) {
            startResize();
            return;
        }
    }

    if (Options().Contains(goEditing) && FMouseActions->RangeSelectAndEdit && valid &&
        !(ACol >= oldSel.Left && ACol <= oldSel.Right && ARow >= oldSel.Top && ARow <= oldSel.Bottom))
        SetOptions(Options() - TGridOptions{goEditing});

    bool allow = true;
    if (OnCanClickCell)
        OnCanClickCell(this, ARow, ACol, allow);
    if (!allow)
        return;

    if (FCellSelectorMode) {
        DoCellMouseDown(ACol, ARow);
        return;
    }
    if (FMouseSelectMode == msResize) {
        startResize();
        return;
    }

    const TShiftState keys = KeysToShiftState(Message.Keys) + (KeyboardShift() * TShiftState{ssAlt});
    const TShiftState shift = PressShift(keys);
    if (FMouseActions->DisjunctCellSelect() && !keys.Contains(ssCtrl) && valid && !IsFixed(ACol, ARow) &&
        ACol >= FixedCols() && ARow >= FixedRows() && FSelectedCells->Count() > 0) {
        FSelectedCells->Clear();
        Invalidate();
    }
    SearchInc.clear();
    FMoveColInd = -1;
    FMoveRowInd = -1;
    FSelectionClick = false;
    FPushedCellButton = TPoint(-1, -1);
    FOldTopRow = TopRow();
    FOldKeepLeftCol = LeftCol();
    MouseToCell(X - (ACol == 0 && ARow != 0 ? 0 : 5), Y - (ARow == 0 ? 0 : 4), Colclicked, Rowclicked);
    Colclickedsize = Colclicked >= 0 ? ColWidths(Colclicked) : 0;
    Rowclickedsize = Rowclicked >= 0 ? RowHeights(Rowclicked) : 0;
    Clickposx = X;
    Clickposy = Y;

    const bool fixedArea = valid && (ARow < FixedRows() || ACol < FixedCols());
    if (!valid) {
        HideInplaceEdit();
        if (!FFixedRowAlways)
            TBaseGrid::WMLButtonDown(Message);
        return;
    }
    if (ACol >= ColCount() || ARow >= RowCount()) {
        TBaseGrid::WMLButtonDown(Message);
        return;
    }

    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    ACol = DisplColOfReal(base.X);
    ARow = base.Y;
    const TRect cr = CellRect(ACol, ARow);
    if (FMouseActions->CaretPositioning)
        LButFlg = true;

    if (FSizeFixed || FSizeFixedR) {
        if (FSizeFixed) {
            FSizingFixed = true;
            FSizeFixedX = X;
            int edge = 0;
            for (int c = 0; c < FixedCols(); ++c) {
                edge += ColWidths(c) + 1;
                if (std::abs(X - edge) <= 3 && !Designing())
                    FSizingFixedCol = c;
            }
        } else {
            FSizingFixedR = true;
            FSizeFixedY = Y;
            int edge = 0;
            for (int r = 0; r < FixedRows(); ++r) {
                edge += RowHeights(r) + 1;
                if (std::abs(Y - edge) <= 3 && !Designing())
                    FSizingFixedRow = r;
            }
        }
        Invalidate();
        return;
    }

    const bool reportsFixed = IsFixed(ACol, ARow);
    if (fixedArea || reportsFixed)
        HideInplaceEdit();
    const bool fixedNormal = reportsFixed && !fixedArea;
    const int realCol = RealColIndex(ACol);
    const bool nodeRow = IsNode(ARow);

    if ((fixedArea || fixedNormal) && FFixedAsButtons && Options().Contains(goFixedVertLine) &&
        Options().Contains(goFixedHorzLine) && !(nodeRow && ACol == 0 && IsNodeGlyphHit(ARow, X))) {
        FPushedFixedCell = TPoint(ACol, ARow);
        FPushedCellButton = TPoint(ACol, ARow);
        FFixedCellPushed = true;
        RepaintCell(ACol, ARow);
    }

    if (!Designing()) {
        if (FControlLook->SpinButtonsAlwaysVisible && HasSpinEdit(realCol, ARow) && X > cr.Right - 18) {
            if (Y > (cr.Top + cr.Bottom) / 2)
                FSpinDnClick = true;
            else
                FSpinUpClick = true;
        }
        // The header's node glyph opens or closes every node.
        if (ACol == 0 && nodeRow && ARow < FixedRows() && FMouseActions->NodeAllExpandContract &&
            IsNodeGlyphHit(ARow, X)) {
            const bool contracted = GetNodeState(ARow);
            if (contracted)
                ExpandAll();
            else
                ContractAll();
            SetNodeState(ARow, !contracted);
        }
        if (ACol == 0 && nodeRow && ARow >= FixedRows() && IsNodeGlyphHit(ARow, X)) {
            if (OnMouseDown)
                OnMouseDown(this, mbLeft, shift, X, Y);
            if (OnClickCell)
                OnClickCell(this, ARow, ACol);
            bool go = true;
            const int real = RealRowIndex(ARow);
            if (GetNodeState(ARow)) {
                if (OnBeforeExpandNode)
                    OnBeforeExpandNode(this, ARow, real, go);
                if (go) {
                    ExpandNode(real);
                    if (OnExpandNode)
                        OnExpandNode(this, ARow, real);
                }
            } else {
                if (OnBeforeContractNode)
                    OnBeforeContractNode(this, ARow, real, go);
                if (go) {
                    ContractNode(real);
                    if (OnContractNode)
                        OnContractNode(this, ARow, real);
                }
            }
            if (FMouseActions->MoveRowOnNodeClick)
                SetRow(ARow);
            return;
        }
        if (IsRadio(realCol, ARow) && (KeyEditableCell(ACol, ARow) || FControlLook->RadioAlwaysActive)) {
            HideInplaceEdit();
            ClickRadioCell(realCol, ARow, X - cr.Left, Y - cr.Top);
            if (CanFocus() && !Focused())
                SetFocus();
            return;
        }
        if (HasNodes() && ACol == 0 && ARow >= FixedRows() && !FMouseActions->RowSelect &&
            !Options().Contains(goRowSizing)) {
            if (OnMouseDown)
                OnMouseDown(this, mbLeft, shift, X, Y);
            if (OnClickCell)
                OnClickCell(this, ARow, ACol);
            return;
        }
    }

    // A press on the selection may start dragging it out; the move decides (pointer tracking).
    if (!Designing() && FDragDropSettings->OleDropSource && !Options().Contains(goEditing) && ACol >= FixedCols() &&
        ((ARow >= FixedRows() && IsSelected(ACol, ARow)) || (ARow < FixedRows() && !FEnhRowColMove)) &&
        !HasButton(realCol, ARow) && !HasCheckBox(realCol, ARow) &&
        !(ARow < FixedRows() && (FMouseActions->ColSelect || FMouseActions->AllSelect)) &&
        (!Options().Contains(goColSizing) || (X - cr.Left > 3 && cr.Right - X > 3))) {
        if (CanFocus() && !Focused())
            SetFocus();
        if (OnMouseDown)
            OnMouseDown(this, mbLeft, shift, X, Y);
        FSelectionClick = true;
        if (OnClickCell)
            OnClickCell(this, ARow, ACol);
        return;
    }

    // A rating takes half-star steps: a star is 18 pixels wide.
    if (GetCellType(realCol, ARow) == ctRating && KeyEditableCell(ACol, ARow)) {
        HideInplaceEdit();
        double rate = std::round(double(X - cr.Left) / 9.0) / 2.0;
        if (DoRatingChange(realCol, ARow, rate)) {
            SetCells(realCol, ARow, FloatToStr(rate));
            RepaintCell(ACol, ARow);
        }
        return;
    }

    if (HasButton(realCol, ARow) || HasExpand(realCol, ARow)) {
        HideInplaceEdit();
        TRect br;
        if (HasButton(realCol, ARow))
            GetCellButtonRect(realCol, ARow, br);
        else
            GetExpandButtonRect(realCol, ARow, br);
        if (br.Contains(TPoint(X, Y))) {
            if (HasButton(realCol, ARow))
                PushButton(ACol, ARow, true);
            FPushedCellButton = TPoint(ACol, ARow);
            SetMouseCapture(true);
            if (OnClickCell)
                OnClickCell(this, ARow, ACol);
            return;
        }
    }

    // A covered cell of a merged range is pressed at its base cell.
    if (IsMergedCell(realCol, ARow) && !reportsFixed && !OnMouseDown) {
        X = cr.Left + 2;
        Y = cr.Top + 2;
        Message.XPos = SmallInt(X);
        Message.YPos = SmallInt(Y);
    }

    Clickposdx = Colclicked >= 0 ? X - CellRect(Colclicked, std::max(0, Rowclicked)).Right : 0;
    Clickposdy = Rowclicked >= 0 ? Y - CellRect(std::max(0, Colclicked), Rowclicked).Bottom : 0;
    if (FMouseActions->DisjunctRowSelect() && ARow >= FixedRows() && !(ACol == 0 && FMouseActions->HotmailRowSelect())) {
        if (keys.Contains(ssShift)) {
            TBaseGrid::WMLButtonDown(Message);
            SetSelection(TGridRect{std::min(ACol, oldSel.Left), std::min(ARow, oldSel.Top),
                                   std::max(ACol, oldSel.Left), std::max(ARow, oldSel.Top)});
            return;
        }
        const int rr = FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow;
        if (keys.Contains(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl) {
            if (GetRowSelect(rr))
                FDeselectState = true;
        } else {
            FMouseDown = true;
            if (!keys.Contains(ssAlt))
                ClearRowSelect();
        }
    }
    if (FMouseActions->DisjunctColSelect() && ACol >= FixedCols()) {
        if (keys.Contains(ssCtrl)) {
            if (ColSelect(ACol))
                FDeselectState = true;
        } else {
            FMouseDown = true;
            ClearColSelect();
        }
    }

    if (HandleAnchorClick(ACol, ARow, X, Y))
        return;

    Movecell = -1;
    if (ACol < FixedCols() && ARow < FixedRows() && FMouseActions->AllSelect && Options().Contains(goRangeSelect) &&
        FMouseSelectMode == msAll) {
        if (CanFocus())
            SetFocus();
        const TGridRect all{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
        DoSelectionMouseDown(all);
        SetSelection(all);
        DoExit();
        return;
    }
    if (ACol < FixedCols() && ARow >= FixedRows() && FMouseActions->RowSelect && FMouseSelectMode == msRow) {
        const int from = keys.Contains(ssShift) ? oldSel.Top : ARow;
        SetSelection(TGridRect{FixedCols(), std::min(from, ARow), ColCount() - 1, std::max(from, ARow)});
        if (FMouseActions->DisjunctCellSelect())
            FSelectedCells->Clear();
        FMouseSelectStart = ARow;
        DoExit();
        RepaintCol(0);
        return;
    }
    if (ARow < FixedRows() && ACol >= FixedCols() && FMouseActions->ColSelect && Options().Contains(goRangeSelect) &&
        FMouseSelectMode == msColumn) {
        const int from = keys.Contains(ssShift) ? oldSel.Left : ACol;
        SetSelection(TGridRect{std::min(from, ACol), FixedRows(), std::max(from, ACol), RowCount() - 1});
        FMouseSelectStart = ACol;
        return;
    }
    if (ARow < FixedRows() && ACol >= FixedCols())
        Movecell = ACol;
    else if (ACol < FixedCols() && ARow >= FixedRows())
        Movecell = ARow;
    MoveOfsX = X - cr.Left;
    MoveOfsY = Y - cr.Top;

    bool canEdit = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit;
    CanEditCell(realCol, ARow, canEdit);
    if ((canEdit || FControlLook->CheckAlwaysActive || (ACol == 0 && FMouseActions->HotmailRowSelect())) &&
        (HasCheckBox(realCol, ARow) || HasRadioButton(realCol, ARow)) && IsInCheckBox(realCol, ARow, X, Y)) {
        HandleCheckBoxClick(ACol, ARow, realCol);
        if (OnMouseDown)
            OnMouseDown(this, mbLeft, KeyboardShift(), X, Y);
        Click();
        return;
    }

    const bool onCurrent = cr.Contains(TPoint(X, Y)) && oldSel.Left == ACol && oldSel.Right == ACol &&
                           oldSel.Top == ARow && oldSel.Bottom == ARow;
    bool switchedOff = false;
    if (!onCurrent && FMouseActions->RangeSelectAndEdit && !fixedArea && !fixedNormal &&
        !KeyEditableCell(ACol, ARow) && Options().Contains(goEditing)) {
        SetOptions(Options() - TGridOptions{goEditing});
        switchedOff = true;
    }

    if (fixedNormal) {
        if (!(FFloatingFooter->Visible() && ARow == RowCount() - 1) && OnClickCell)
            OnClickCell(this, ARow, ACol);
        return;
    }

    if (!FSelHidden) {
        const bool alwaysEdit = FNavigation->AlwaysEdit;
        FNavigation->AlwaysEdit = false;
        try {
            TBaseGrid::WMLButtonDown(Message);
        } catch (...) {
            FNavigation->AlwaysEdit = alwaysEdit;
            throw;
        }
        FNavigation->AlwaysEdit = alwaysEdit;
        if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll && LeftCol() != FOldKeepLeftCol)
            SetLeftCol(FOldKeepLeftCol);
        if (FMouseActions->NoScrollOnPartialRow && TopRow() != FOldTopRow)
            SetTopRow(FOldTopRow);
    }
    FDownInSizingZone = InHeaderSizingZone(ACol, ARow, X);
    if (!FDownInSizingZone && OnClickCell)
        OnClickCell(this, ARow, ACol);
    if (OnCellValidate) {
        FEntered = false;
        SaveOldCellValue(Col(), Row());
    }
    const bool editableNormal = !fixedArea && KeyEditableCell(ACol, ARow);
    if (IsMergedCell(realCol, ARow) && editableNormal && (onCurrent || FMouseActions->DirectEdit))
        ShowInplaceEdit();
    if (FMouseActions->DirectEdit && X > cr.Left + 3 && editableNormal && !IsControlCell(realCol, ARow) &&
        Col() == ACol && Row() == ARow) {
        SaveOldCellValue(ACol, ARow);
        ShowInplaceEdit();
    }
    if (switchedOff)
        FGridState = gsSelecting;
}

void TExtStringGrid::WMLButtonUp(TWMMouse &Message)
{
    const int X = Message.XPos, Y = Message.YPos;
    const TGridState stateAtUp = GridState();
    if (stateAtUp == gsColMoving || stateAtUp == gsRowMoving) {
        EndMoveFeedback();
        const bool noDrop = Screen->Cursor() == crNoDrop;
        if (FEnhRowColMove && (noDrop || Screen->Cursor() == crDrag)) {
            if (MoveButton)
                MoveButton->SetEnabled(false);
            DoEndBlockFocus();
            Screen->SetCursor(crDefault);
            if (noDrop) {
                // The target was refused: the platform must not drop the column or row.
                FGridState = gsNormal;
                if (stateAtUp == gsColMoving)
                    RepaintRow(0);
                else
                    RepaintCol(0);
            }
        }
        FMoveAllowed = true;
    }
    const bool movedOrSized = ColMoveFlg || ColSizeFlg || stateAtUp == gsColSizing || stateAtUp == gsRowSizing ||
                              stateAtUp == gsColMoving || stateAtUp == gsRowMoving;
    ColMoveFlg = false;
    ColSizeFlg = false;
    FMouseDown = false;
    FMouseKeepDown = false;
    FMouseDownMove = false;
    FMouseSelectMode = msNormal;
    FMouseSelectStart = -1;
    if (FCtrlDown) {
        FCtrlDown = false;
        if (FCtrlXY.X >= 0 && FCtrlXY.Y >= 0)
            RepaintCell(FCtrlXY.X, FCtrlXY.Y);
    }

    if (FSizingFixed) {
        FSizeFixed = false;
        FSizingFixed = false;
        if (FSizingFixedCol >= 0 && FSizingFixedCol < ColCount()) {
            int before = 0;
            for (int c = 0; c < FSizingFixedCol; ++c)
                before += ColWidths(c);
            // Released left of its own edge the column keeps one pixel.
            int w = std::max(1, X - before);
            SetColWidths(FSizingFixedCol, w);
            if (OnEndColumnSize)
                OnEndColumnSize(this, FSizingFixedCol);
            int aw = w;
            if (OnUpdateColumnSize)
                OnUpdateColumnSize(this, FSizingFixedCol, aw);
            if (aw != w)
                SetColWidths(FSizingFixedCol, std::max(1, aw));
        }
        FSizingFixedCol = -1;
        Invalidate();
    }
    if (FSizingFixedR) {
        FSizeFixedR = false;
        FSizingFixedR = false;
        if (FSizingFixedRow >= 0 && FSizingFixedRow < RowCount()) {
            int before = 0;
            for (int r = 0; r < FSizingFixedRow; ++r)
                before += RowHeights(r);
            SetRowHeights(FSizingFixedRow, std::max(1, Y - before));
            if (OnEndRowSize)
                OnEndRowSize(this, FSizingFixedRow);
        }
        FSizingFixedRow = -1;
        Invalidate();
    }
    if (FScrollHintShow) {
        FScrollHintWnd->ReleaseHandle();
        FScrollHintShow = false;
    }
    if (FFixedCellPushed) {
        FFixedCellPushed = false;
        RepaintCell(FPushedFixedCell.X, FPushedFixedCell.Y);
        FPushedFixedCell = TPoint(-1, -1);
    }

    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool valid = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();

    if (FPushedCellButton.X >= 0 && FPushedCellButton.Y >= 0) {
        const TPoint held = FPushedCellButton;
        const int heldReal = RealColIndex(held.X);
        bool enabled;
        if (!valid || FControlLook->NoDisabledButtonLook())
            enabled = Options().Contains(goEditing);
        else
            enabled = IsCellEditAllowed(ACol, ARow);
        enabled = enabled || FControlLook->NoDisabledButtonLook() || held.X < FixedCols() || held.Y < FixedRows();
        if (enabled && held.Y < RowCount() && held.X < ColCount()) {
            const bool fixedButton =
                (FFixedAsButtons && held.X < FixedCols()) || held.Y < FixedRows();
            if (HasButton(heldReal, held.Y) && !IsNode(held.Y))
                PushButton(held.X, held.Y, false);
            if (valid) {
                const TPoint b = BaseCell(RealColIndex(ACol), ARow);
                TRect br;
                if (HasButton(b.X, b.Y)) {
                    GetCellButtonRect(b.X, b.Y, br);
                    if (br.Contains(TPoint(X, Y)) || fixedButton)
                        DoButtonClick(held.X, held.Y);
                } else if (fixedButton && FFixedAsButtons) {
                    DoButtonClick(held.X, held.Y);
                }
                if (HasExpand(heldReal, held.Y)) {
                    GetExpandButtonRect(heldReal, held.Y, br);
                    if (br.Contains(TPoint(X, Y)) || fixedButton) {
                        ToggleExpand(heldReal, held.Y);
                        DoExpandClick(heldReal, held.Y, GetExpandState(heldReal, held.Y));
                    }
                }
            }
        }
        FPushedCellButton = TPoint(-1, -1);
        SetMouseCapture(false);
    }

    if (valid) {
        const int realCol = RealColIndex(ACol);
        TRect br;
        if (HasButton(realCol, ARow)) {
            GetCellButtonRect(realCol, ARow, br);
            if (br.Contains(TPoint(X, Y)))
                return;
        }
        if (HasExpand(realCol, ARow)) {
            GetExpandButtonRect(realCol, ARow, br);
            if (br.Contains(TPoint(X, Y)))
                return;
        }
    }

    if (OnClick && FDoOnClick && valid && (ARow < FixedRows() || ACol < FixedCols()) &&
        !(ARow < FixedRows() && stateAtUp == gsColSizing))
        OnClick(this);
    FDoOnClick = false;

    if (FSelectionClick) {
        FSelectionClick = false;
        if (valid && ARow >= FixedRows() && ACol >= FixedCols()) {
            const TShiftState keys = KeysToShiftState(Message.Keys);
            if (FMouseActions->DisjunctRowSelect() && FDragDropSettings->OleDropSource) {
                if (keys.Contains(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl) {
                    SetRowSelect(ARow, !GetRowSelect(ARow));
                    if (OnMouseUp)
                        OnMouseUp(this, mbLeft, TShiftState{ssCtrl}, X, Y);
                    return;
                }
                ClearRowSelect();
            }
            if (Options().Contains(goRowSelect))
                SetSelection(TGridRect{FixedCols(), ARow, ColCount() - 1, ARow});
            else
                FocusCell(ACol, ARow, true);
        }
    }

    bool deselected = false;
    if (FMouseActions->DisjunctRowSelect() && ACol >= 0 && !(ACol == 0 && IsNode(std::max(0, ARow)))) {
        if (!(ACol == 0 && FMouseActions->HotmailRowSelect()))
            SelectionToRowSelect(false);
        if (FDeselectState && ARow >= FixedRows() && ARow < RowCount()) {
            SetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow, false);
            deselected = true;
        }
        FDeselectState = false;
    }
    // An open group clicked right of its glyph selects its rows (the rectangle once the
    // platform has finished its own selection).
    int groupLast = -1;
    if (valid && FGrouping->AutoSelectGroup && ACol > 0 && IsNode(ARow) && !GetNodeState(ARow)) {
        groupLast = std::min(RowCount() - 1, ARow + GetNodeSpan(ARow) - 1);
        if (groupLast > ARow && FMouseActions->DisjunctRowSelect()) {
            for (int r = ARow + 1; r <= groupLast; ++r)
                SetRowSelect(r, true);
            groupLast = -1;
        }
    }
    if (FMouseActions->DisjunctColSelect()) {
        SelectionToColSelect(false);
        if (FDeselectState && ACol >= FixedCols() && ACol < ColCount())
            SetColSelect(ACol, false);
        FDeselectState = false;
    }

    TBaseGrid::WMLButtonUp(Message);
    if (deselected)
        FSelChange = false;
    if (groupLast > ARow)
        SetSelection(TGridRect{FixedCols(), ARow + 1, ColCount() - 1, groupLast});
    if (FMouseResize) {
        if (OnSelectionResize)
            OnSelectionResize(this, FDropSelection, Selection());
        if (FEditDisable)
            PasteSelectionFromClipboard();
        FMouseResize = false;
        FEditDisable = false;
        if (OnSelectionResized)
            OnSelectionResized(this, FDropSelection, Selection());
    }

    if (movedOrSized || !valid)
        return;

    const int realCol = RealColIndex(ACol);
    bool onCheck = false;
    if (ACol >= FixedCols() || FSortSettings->FixedCols) {
        if (HasCheckBox(realCol, ARow)) {
            onCheck = IsInCheckBox(realCol, ARow, X, Y);
            bool state = false;
            GetCheckBoxState(realCol, RealRowIndex(ARow), state);
            if (OnCheckBoxMouseUp)
                OnCheckBoxMouseUp(this, realCol, ARow, state);
        } else if (IsRadio(realCol, ARow)) {
            int idx = -1;
            GetRadioIdx(realCol, ARow, idx);
            if (OnRadioMouseUp)
                OnRadioMouseUp(this, realCol, ARow, idx);
        }
    }
    if (!onCheck)
        HandleSortClick(ACol, ARow, X, Y, KeysToShiftState(Message.Keys));
}

void TExtStringGrid::HandleSortClick(int ACol, int ARow, int X, int Y, TShiftState Shift)
{
    (void)Y;
    if (FDblClk) {
        FDblClk = false;
        return;
    }
    if (ARow == 0 && InHeaderSizingZone(ACol, ARow, X))
        return;
    if (!(ACol >= FixedCols() || FSortSettings->FixedCols))
        return;
    int downCol = -1, downRow = -1;
    MouseToCell(Clickposx, Clickposy, downCol, downRow);
    if (ARow != FSortSettings->Row || downRow != ARow || FixedRows() <= 0 || !FSortSettings->Show ||
        RowCount() <= 2)
        return;
    const int realCol = RealColIndex(ACol);
    // The header's drop-down button and filter button own the right 16 pixels; the filter list
    // itself opens on the release (MouseUp).
    const TRect cr = CellRect(ACol, ARow);
    if (X > cr.Right - 16) {
        const bool allow = FControlLook->FixedDropDownButton() && DoCanShowFixedDropDown(realCol);
        if (allow || FFilterCol == realCol || DoGetColumnFilter(realCol))
            return;
    }
    bool doSort = !IsIgnoredColumn(realCol);
    if (OnCanSort)
        OnCanSort(this, realCol, doSort);
    if (!doSort) {
        RepaintCell(ACol, ARow);
        return;
    }
    const bool indexKey =
        FSortSettings->IndexSortKey == ikCtrl ? Shift.Contains(ssCtrl) : Shift.Contains(ssShift);
    const int keepLeft = LeftCol();
    SortByHeaderClick(realCol, indexKey);
    if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll && LeftCol() != keepLeft)
        SetLeftCol(keepLeft);
    DoClickSort(realCol);
    Invalidate();
}

void TExtStringGrid::WMLButtonDblClk(TWMMouse &Message)
{
    const int X = Message.XPos, Y = Message.YPos;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol >= 0 && ARow >= 0 && FMouseActions->RangeSelectAndEdit && !IsControlCell(RealColIndex(ACol), ARow))
        FForceSel = true;
    if (ACol < 0) {
        if (FFixedRowAlways) {
            TBaseGrid::WMLButtonDblClk(Message);
            return;
        }
        ACol = ColCount() - 1;
        ARow = 0;
    }
    if (ARow < 0) {
        FForceSel = false;
        TBaseGrid::WMLButtonDblClk(Message);
        return;
    }

    if (ARow < FixedRows() && Options().Contains(goColSizing) && FMouseActions->AutoSizeColOnDblClick) {
        const TRect cr = CellRect(ACol, ARow);
        int sizeCol = -1;
        if (X - cr.Left <= 3 && ACol - 1 >= FixedCols())
            sizeCol = ACol - 1;
        else if (cr.Right - X <= 3 && ACol >= FixedCols())
            sizeCol = ACol;
        if (sizeCol >= 0) {
            FDblClk = true;
            bool allow = true;
            if (OnColumnSize)
                OnColumnSize(this, sizeCol, allow);
            if (allow) {
                AutoSizeCol(sizeCol, 0);
                if (OnEndColumnSize)
                    OnEndColumnSize(this, sizeCol);
            }
            FForceSel = false;
            TBaseGrid::WMLButtonDblClk(Message);
            return;
        }
    }

    const int realCol = RealColIndex(ACol);
    if (ARow < RowCount() && ACol < ColCount()) {
        TRect br;
        if (HasButton(realCol, ARow)) {
            GetCellButtonRect(realCol, ARow, br);
            if (br.Contains(TPoint(X, Y))) {
                FForceSel = false;
                return;
            }
        }
        if (HasExpand(realCol, ARow)) {
            GetExpandButtonRect(realCol, ARow, br);
            if (br.Contains(TPoint(X, Y))) {
                FForceSel = false;
                return;
            }
        }
        if (IsControlCell(realCol, ARow)) {
            TBaseGrid::WMLButtonDblClk(Message);
            FForceSel = false;
            return;
        }
    }

    TBaseGrid::WMLButtonDblClk(Message);
    if (OnDblClickCell)
        OnDblClickCell(this, ARow, ACol);

    const bool normal = ACol >= FixedCols() && ARow >= FixedRows() && ACol < ColCount() && ARow < RowCount();
    if (normal && FMouseActions->EditOnDblClickOnly()) {
        bool can = true;
        CanEditCell(realCol, ARow, can);
        if (can) {
            SetOptions(Options() + TGridOptions{goEditing});
            FOldCol = ACol;
            FOldRow = ARow;
            ShowInplaceEdit();
        }
    } else if (normal && FMouseActions->RangeSelectAndEdit && KeyEditableCell(ACol, ARow)) {
        SetOptions(Options() + TGridOptions{goEditing});
        const TPoint b = BaseCell(realCol, ARow);
        const TRect r = CellRect(DisplColOfReal(b.X), b.Y);
        Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(r.Left + 4, r.Top + 4));
    }
    FForceSel = false;
    if (ACol < ColCount() && ARow < RowCount() &&
        ((ARow < FixedRows() && FMouseActions->FixedRowsEdit == fceDblClick) ||
         (ACol < FixedCols() && ARow >= FixedRows() && FMouseActions->FixedColsEdit == fceDblClick)))
        EditFixedCell(ACol, ARow);
}

void TExtStringGrid::WMRButtonDown(TWMMouse &Message)
{
    TBaseGrid::WMRButtonDown(Message);
    const int X = Message.XPos, Y = Message.YPos;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool valid = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();
    if (valid && FMouseActions->SelectOnRightClick && ACol >= FixedCols() && ARow >= FixedRows() &&
        !IsFixed(ACol, ARow) && !(FMouseActions->DisjunctCellSelect() && SelectedCells(ACol, ARow))) {
        if (!IsControlCell(RealColIndex(ACol), ARow)) {
            if (IsSelected(ACol, ARow)) {
                bool can = true;
                if (OnSelectCell)
                    OnSelectCell(this, ACol, ARow, can);
            } else {
                const TPoint b = BaseCell(RealColIndex(ACol), ARow);
                const int keepLeft = LeftCol();
                FocusCell(DisplColOfReal(b.X), b.Y, true);
                if (FNavigation->KeepHorizScroll && LeftCol() != keepLeft)
                    SetLeftCol(keepLeft);
            }
        }
        if (FMouseActions->DisjunctRowSelect()) {
            const TShiftState keys = KeysToShiftState(Message.Keys);
            if (keys.Contains(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl) {
                SetRowSelect(ARow, !GetRowSelect(ARow));
            } else if (!(PopupMenu() && RowSelectCount() > 1 && GetRowSelect(ARow))) {
                // A right click on one of several selected rows keeps them for the popup menu.
                ClearRowSelect();
                SetRowSelect(ARow, true);
            }
        }
    }
    if (valid && OnRightClickCell)
        OnRightClickCell(this, ARow, ACol);
    if (valid && FURLShow && FURLEdit && ACol >= FixedCols() && ARow >= FixedRows() &&
        IsLinkText(GridCells(RealColIndex(ACol), ARow))) {
        const TPoint b = BaseCell(RealColIndex(ACol), ARow);
        FocusCell(DisplColOfReal(b.X), b.Y, true);
        ShowInplaceEdit();
    }
}

void TExtStringGrid::WMRButtonUp(TWMMouse &Message)
{
    // While a row or column is dragged to its new place the right button does nothing.
    if ((GridState() == gsColMoving || GridState() == gsRowMoving) && FEnhRowColMove) {
        Message.Result = 0;
        return;
    }
    TBaseGrid::WMRButtonUp(Message);
}
