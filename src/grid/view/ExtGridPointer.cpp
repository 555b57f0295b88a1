// The pointer over the grid: the hover state that painting reads, the pointer mode that the
// set-cursor handling shows, row and column selections dragged along the headers, the sizing of
// fixed columns and rows, the start of an OLE drag and the sizing events with their hint text.
//
// A window is drawn on only inside its paint: the dotted line of a fixed sizing and the pressed
// fixed cell are state here and drawn over the finished paint pass.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "platform/Forms.h"
#include "platform/Windows.h"

#include <algorithm>
#include <cstdlib>

void TExtStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FMouseDownMove && FMouseActions->RangeSelectAndEdit && Options().Contains(goEditing) && !EditorMode())
        SetOptions(Options() - TGridOptions{goEditing});
    const TGridRect entry = Selection();
    if (GridState() == gsSelecting && FSelectionRectangle)
        FSizeSelection = Selection();

    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool valid = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();

    if (valid && !Designing() && HoverRow() && ARow != FHoverRowIdx) {
        const int old = FHoverRowIdx;
        FHoverRowIdx = ARow;
        RepaintRow(ARow);
        if (old >= 0 && old < RowCount())
            RepaintRow(old);
    }
    if (valid)
        PlaceCellScrollBar(ACol, ARow);

    if (FHoverFixedCells != hfNone && !FNoMouseLeave && (ACol != FHoverFixedX || ARow != FHoverFixedY)) {
        auto inFixed = [this](int C, int R) { return C >= 0 && R >= 0 && (R <= FixedRows() || C <= FixedCols()); };
        if (inFixed(FHoverFixedX, FHoverFixedY))
            RepaintCell(FHoverFixedX, FHoverFixedY);
        FHoverFixedX = ACol;
        FHoverFixedY = ARow;
        if (inFixed(ACol, ARow))
            RepaintCell(ACol, ARow);
    }

    if (FLook == glListView && (ACol != FHotFixedCell.X || ARow != FHotFixedCell.Y)) {
        auto fixedCell = [this](TPoint P) { return P.X >= 0 && P.Y >= 0 && (P.X < FixedCols() || P.Y < FixedRows()); };
        if (fixedCell(FHotFixedCell))
            RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
        FHotFixedCell = TPoint(ACol, ARow);
        if (fixedCell(FHotFixedCell))
            RepaintCell(ACol, ARow);
    }

    bool onButton = false;
    if (valid) {
        const int realCol = RealColIndex(ACol);
        TRect br;
        if (HasButton(realCol, ARow)) {
            GetCellButtonRect(realCol, ARow, br);
            onButton = br.Contains(TPoint(X, Y));
        }
        if (!onButton && HasExpand(realCol, ARow)) {
            GetExpandButtonRect(realCol, ARow, br);
            onButton = br.Contains(TPoint(X, Y));
        }
    }
    if (onButton) {
        if (FHoverButton.X != ACol || FHoverButton.Y != ARow) {
            if (FHoverButton.X >= 0 && FHoverButton.Y >= 0)
                RepaintCell(FHoverButton.X, FHoverButton.Y);
            FHoverButton = TPoint(ACol, ARow);
            RepaintCell(ACol, ARow);
        }
    } else if (FHoverButton.X >= 0 || FHoverButton.Y >= 0) {
        if (FHoverButton.X >= 0 && FHoverButton.Y >= 0)
            RepaintCell(FHoverButton.X, FHoverButton.Y);
        FHoverButton = TPoint(-1, -1);
    }

    if (FMouseSelectStart != -1 && FMouseActions->RowSelect && FMouseSelectMode == msRow) {
        if (ARow >= FixedRows() && ARow <= RowCount() - FFixedFooters) {
            const int to = std::max(FixedRows(), std::min(ARow, RowCount() - 1));
            SetSelection(TGridRect{FixedCols(), std::min(FMouseSelectStart, to), ColCount() - 1,
                                   std::max(FMouseSelectStart, to)});
        }
        if (Y > Height() - 4 && TopRow() + VisibleRowCount() < RowCount())
            SetTopRow(TopRow() + 1);
        else if (FixedRows() > 0 && Y < CellRect(0, 0).Bottom && TopRow() > FixedRows())
            SetTopRow(TopRow() - 1);
    }
    if (FMouseSelectStart != -1 && FMouseActions->ColSelect && FMouseSelectMode == msColumn && ACol >= 0) {
        const int to = std::max(FixedCols(), ACol);
        SetSelection(TGridRect{std::min(FMouseSelectStart, to), FixedRows(), std::max(FMouseSelectStart, to),
                               RowCount() - 1});
    }

    FSizeFixed = false;
    {
        int edge = 0;
        for (int c = 0; c < FixedCols(); ++c) {
            edge += ColWidths(c) + 1;
            if (std::abs(X - edge) < 3 && valid && !Designing())
                FSizeFixed = FMouseActions->SizeFixedCol;
        }
    }
    if (FSizingFixed && FSizeFixedX != X) {
        FSizeFixedX = X;
        Invalidate();
    }
    FSizeFixedR = false;
    {
        int edge = 0;
        for (int r = 0; r < FixedRows(); ++r) {
            edge += RowHeights(r) + 1;
            if (std::abs(Y - edge) < 3 && valid && !Designing())
                FSizeFixedR = FMouseActions->SizeFixedRow;
        }
    }
    if (FSizingFixedR && FSizeFixedY != Y) {
        FSizeFixedY = Y;
        Invalidate();
    }

    FOnResizeGrip = false;
    if (FSelectionResizer && FSelectionRectangle) {
        const TGridRect s = Selection();
        const TRect r = CellRect(s.Right, s.Bottom);
        const TRect grip = RightToLeftGrid() ? TRect(r.Left, r.Bottom - 6, r.Left + 6, r.Bottom)
                                             : TRect(r.Right - 6, r.Bottom - 6, r.Right, r.Bottom);
        FOnResizeGrip = grip.Contains(TPoint(X, Y));
    }

    // More than 3 pixels from the press starts a drag of the selection.
    if (FSelectionClick && valid && GetKeyState(VK_LBUTTON) < 0 &&
        (std::abs(X - Clickposx) > 3 || std::abs(Y - Clickposy) > 3) && FDragDropSettings->OleDropSource &&
        GridState() != gsColSizing && !FOnResizeGrip) {
        FSelectionClick = false;
        const int realCol = RealColIndex(ACol);
        bool allow = true;
        if (FDragDropSettings->OleColumnsOnly && ARow >= FixedRows())
            allow = false;
        else if (OnOleDrag)
            OnOleDrag(this, ARow, realCol, GridCells(realCol, ARow), allow);
        if (!allow) {
            if (GridState() == gsNormal)
                FGridState = gsSelecting;
        } else {
            StartOleDrag(ACol, ARow);
        }
    }

    if (!Designing()) {
        if (GridState() == gsColSizing)
            ColSized = true;
        if (GridState() == gsRowSizing)
            Rowsized = true;
        const bool colMove = GridState() == gsColMoving;
        if (colMove || GridState() == gsRowMoving) {
            bool allow = true;
            if (colMove && OnColumnMove)
                OnColumnMove(this, Movecell, allow);
            else if (!colMove && OnRowMove)
                OnRowMove(this, Movecell, allow);
            if (!allow) {
                FGridState = gsNormal;
                Invalidate();
            } else if (FEnhRowColMove && RowCount() > 1 && (X != Clickposx || Y != Clickposy) && !FSizingFixed &&
                       !FSizingFixedR) {
                ShowMoveFeedback(colMove, ACol, ARow, X, Y);
                const int target = colMove ? ACol : ARow;
                if (target >= 0) {
                    FMoveTarget = target;
                    FMoveAllowed = true;
                    if (colMove && OnColumnMoving)
                        OnColumnMoving(this, target, FMoveAllowed);
                    else if (!colMove && OnRowMoving)
                        OnRowMoving(this, target, FMoveAllowed);
                }
                ScrollWhileMoving(colMove, X, Y);
                // The release reads the cursor: a refused target drops nothing.
                Screen->SetCursor(FMoveAllowed ? crDrag : crNoDrop);
            }
        } else {
            FMoveTarget = -1;
            FMoveAllowed = true;
        }
    }

    if (!Designing()) {
        FMouseSelectMode = FOnResizeGrip ? msResize : msNormal;
        auto onSizingEdge = [&]() {
            if (!valid)
                return false;
            const TRect r = CellRect(ACol, ARow);
            return (Options().Contains(goColSizing) && (X - r.Left < 4 || r.Right - X < 4)) ||
                   (Options().Contains(goRowSizing) && (Y - r.Top < 3 || r.Bottom - Y < 3));
        };
        if (valid && ARow < FixedRows() && ACol < FixedCols() && FMouseActions->AllSelect)
            FMouseSelectMode = msAll;
        else if (valid && ARow < FixedRows() && ACol >= FixedCols() && FMouseActions->ColSelect && !onSizingEdge())
            FMouseSelectMode = msColumn;
        else if (valid && ACol < FixedCols() && ARow >= FixedRows() && FMouseActions->RowSelect && !onSizingEdge() &&
                 !(IsNode(ARow) && IsNodeGlyphHit(ARow, X)))
            FMouseSelectMode = msRow;
        // Links in plain cell texts: the link cursor, the hovered link and its enter and exit.
        UnicodeString anchor;
        int anchorIndex = 0;
        bool htmlAnchor = false;
        if (valid) {
            const UnicodeString text = GridCells(RealColIndex(ACol), ARow);
            const bool html = FEnableHTML && CellTextKind(text, true) == 1;
            htmlAnchor = html;
            if (html) {
                UnicodeString id, type, val;
                // The renderer numbers the anchor it hits from 1, as painting counts the hovered one.
                HtmlAnchorAt(ACol, ARow, X, Y, anchor, id, type, val, anchorIndex);
            } else if (FURLShow && IsLinkText(text)) {
                anchor = text;
            }
        }
        if (!anchor.isEmpty() && FMouseSelectMode == msNormal)
            FMouseSelectMode = msURL;
        if (FURLUnderlineOnHover) {
            const bool sameCell = FHoverCell.X == ACol && FHoverCell.Y == ARow;
            if (!anchor.isEmpty() && (!sameCell || FHoverlink != anchorIndex)) {
                if (FHoverCell.X >= 0 && FHoverCell.Y >= 0)
                    RepaintCell(FHoverCell.X, FHoverCell.Y);
                FHoverCell = TPoint(ACol, ARow);
                FHoverlink = anchorIndex;
                RepaintCell(ACol, ARow);
            } else if (anchor.isEmpty() && FHoverCell.X >= 0 && FHoverCell.Y >= 0) {
                FHoverlink = -1;
                RepaintCell(FHoverCell.X, FHoverCell.Y);
                FHoverCell = TPoint(-1, -1);
            }
        }
        if (!anchor.isEmpty() && anchor != FCurrentAnchor) {
            // A hint still showing for the last anchor would name the wrong link.
            if (htmlAnchor) {
                UnicodeString hint = anchor;
                if (OnAnchorHint)
                    OnAnchorHint(this, ARow, ACol, hint);
                if (hint != FLastAnchorHint && !FLastAnchorHint.isEmpty()) {
                    FLastAnchorHint = hint;
                    Application->CancelHint();
                }
            }
            FCurrentAnchor = anchor;
            if (OnAnchorEnter)
                OnAnchorEnter(this, ARow, ACol, anchor);
        } else if (anchor.isEmpty() && !FCurrentAnchor.isEmpty()) {
            FCurrentAnchor.clear();
            if (OnAnchorExit)
                OnAnchorExit(this, ARow, ACol, anchor);
        }
    }

    // The shapes of the pointer modes that have no cursor of the grid's own; the control's own
    // cursor comes back when none applies.
    TCursor want = crDefault;
    bool set = true;
    if (FSizeFixed || FSizingFixed)
        want = crHSplit;
    else if (FSizeFixedR || FSizingFixedR)
        want = crVSplit;
    else if (FMouseSelectMode == msURL)
        want = crHandPoint;
    else if (FMouseSelectMode == msResize)
        want = crSizeNWSE;
    else
        set = false;
    if (set) {
        if (!FPointerCursorSet) {
            FOldCursor = Cursor();
            FPointerCursorSet = true;
        }
        // The grid's own shape: the selection mode it shows stays.
        Invokedchange = Cursor() != want;
        if (Cursor() != want)
            SetCursor(want);
    } else if (FPointerCursorSet) {
        FPointerCursorSet = false;
        Invokedchange = Cursor() != FOldCursor;
        if (Cursor() != FOldCursor)
            SetCursor(FOldCursor);
    }

    if (GridState() == gsSelecting && FSelectionRectangle) {
        const TGridRect s = Selection();
        if (s.Left != FMoveSelection.Left || s.Top != FMoveSelection.Top || s.Right != FMoveSelection.Right ||
            s.Bottom != FMoveSelection.Bottom) {
            RepaintRect(TRect(s.Left, s.Top, s.Right, s.Bottom));
            FMoveSelection = s;
        }
    }

    TBaseGrid::MouseMove(Shift, X, Y);

    if (FNavigation->KeepHorizScroll && FMouseKeepDown && FOldKeepLeftCol >= 0 && GridState() != gsColMoving &&
        LeftCol() != FOldKeepLeftCol) {
        StartUpdate();
        SetLeftCol(FOldKeepLeftCol);
        ResetUpdate();
    }

    // The sizing events and the hint carry the size the release would give.
    FSizingHint.clear();
    if (GridState() == gsColSizing || FSizingFixed) {
        int col = 0, size = FSizeFixedX;
        if (!FSizingFixed) {
            col = FSizingIndex;
            size = FSizingPos - CellRect(std::clamp(col, 0, ColCount() - 1), 0).Left;
        }
        if (OnColumnSizing)
            OnColumnSizing(this, col, size);
        if (Designing() || FHintShowSizing) {
            FSizingHint = QStringLiteral("cw=<b>%1</b>").arg(size);
            ShowSizingHint(FSizingHint, FSizingFixed ? 0 : col, 0);
        }
    } else if (GridState() == gsRowSizing || FSizingFixedR) {
        int row = 0, size = FSizeFixedY;
        if (!FSizingFixedR) {
            row = FSizingIndex;
            size = FSizingPos - CellRect(0, std::clamp(row, 0, RowCount() - 1)).Top;
        }
        if (OnRowSizing)
            OnRowSizing(this, row, size);
        if (Designing() || FHintShowSizing) {
            FSizingHint = QStringLiteral("rh=<b>%1</b>").arg(size);
            ShowSizingHint(FSizingHint, 0, FSizingFixedR ? 0 : row);
        }
    }

    // A moved column or row shows at once under the pointer. Here a repaint is whole, so only
    // while something is being moved.
    if (FEnhRowColMove && (GridState() == gsColMoving || GridState() == gsRowMoving))
        Update();

    const TGridRect now = Selection();
    if (now.Left != entry.Left || now.Top != entry.Top || now.Right != entry.Right || now.Bottom != entry.Bottom)
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}

void TExtStringGrid::CMMouseLeave(TCMMouseLeave &Message)
{
    TBaseGrid::CMMouseLeave(Message);
    FMouseSelectMode = msNormal;
    FSizeFixed = false;
    FSizeFixedR = false;
    if (FPointerCursorSet && !FSizingFixed && !FSizingFixedR) {
        FPointerCursorSet = false;
        SetCursor(FOldCursor);
    }
    if (!FNoMouseLeave && FHoverFixedCells != hfNone && (FHoverFixedX != -1 || FHoverFixedY != -1)) {
        const int c = FHoverFixedX, r = FHoverFixedY;
        FHoverFixedX = -1;
        FHoverFixedY = -1;
        if (c >= 0 && r >= 0)
            RepaintCell(c, r);
    }
    if (FLook == glListView && FHotFixedCell.X >= 0 && FHotFixedCell.Y >= 0 &&
        (FHotFixedCell.X < FixedCols() || FHotFixedCell.Y < FixedRows()))
        RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
    if (HoverRow() && FHoverRowIdx != -1) {
        const int old = FHoverRowIdx;
        FHoverRowIdx = -1;
        RepaintRow(old);
    }
}

void TExtStringGrid::DrawInputOverlays(TCanvas *ACanvas)
{
    if (!ACanvas)
        return;
    if (FSizingFixed || FSizingFixedR) {
        ACanvas->Pen()->SetColor(clBlack);
        ACanvas->Pen()->SetStyle(TPenStyle::psDot);
        ACanvas->Pen()->SetWidth(1);
        if (FSizingFixed) {
            const int bottom = std::max(Height(), CellRect(0, RowCount() - 1).Bottom);
            ACanvas->MoveTo(FSizeFixedX, 0);
            ACanvas->LineTo(FSizeFixedX, bottom);
        } else {
            const int right = std::max(Width(), CellRect(ColCount() - 1, 0).Right);
            ACanvas->MoveTo(0, FSizeFixedY);
            ACanvas->LineTo(right, FSizeFixedY);
        }
        ACanvas->Pen()->SetStyle(TPenStyle::psSolid);
    }
    if (FFixedCellPushed && FPushedFixedCell.X >= 0 && FPushedFixedCell.Y >= 0) {
        // Sunken: dark bottom and right first, then the top and left.
        const TRect r = CellRect(FPushedFixedCell.X, FPushedFixedCell.Y);
        if (r.Right > r.Left && r.Bottom > r.Top) {
            ACanvas->Pen()->SetColor(clBtnHighlight);
            ACanvas->MoveTo(r.Right - 1, r.Top);
            ACanvas->LineTo(r.Right - 1, r.Bottom - 1);
            ACanvas->LineTo(r.Left - 1, r.Bottom - 1);
            ACanvas->Pen()->SetColor(clBtnShadow);
            ACanvas->MoveTo(r.Left, r.Bottom - 1);
            ACanvas->LineTo(r.Left, r.Top);
            ACanvas->LineTo(r.Right, r.Top);
        }
    }
}

void TExtStringGrid::ScrollWhileMoving(bool ColMove, int X, int Y)
{
    // Past the fixed part or past the far edge the grid brings the next column (row) in, one per
    // move.
    if (ColMove) {
        if (VisibleColCount() >= ColCount() - FixedCols())
            return;
        int fixedWidth = 0;
        for (int c = 0; c < FixedCols(); ++c)
            fixedWidth += ColWidths(c);
        if (X < fixedWidth && LeftCol() > FixedCols())
            SetLeftCol(LeftCol() - 1);
        else if (X > Width() && LeftCol() + VisibleColCount() < ColCount())
            SetLeftCol(LeftCol() + 1);
        else
            return;
    } else {
        if (VisibleRowCount() >= RowCount() - FixedRows())
            return;
        int fixedHeight = 0;
        for (int r = 0; r < FixedRows(); ++r)
            fixedHeight += RowHeights(r);
        if (Y < fixedHeight && TopRow() > FixedRows())
            SetTopRow(TopRow() - 1);
        else if (Y > Height() && TopRow() + VisibleRowCount() < RowCount())
            SetTopRow(TopRow() + 1);
        else
            return;
    }
    Repaint();
}

void TExtStringGrid::ShowSizingHint(const UnicodeString &Text, int ACol, int ARow)
{
    const TRect cell = CellRect(std::clamp(ACol, 0, std::max(ColCount() - 1, 0)), std::clamp(ARow, 0, std::max(RowCount() - 1, 0)));
    const TPoint at = ClientToScreen(TPoint(cell.Left, cell.Top));
    TRect r = FScrollHintWnd->CalcHintRect(200, Text, nullptr);
    FScrollHintWnd->SetColor(FHintColor);
    OffsetRect(r, at.X, at.Y);
    FScrollHintWnd->ActivateHint(r, Text);
    FScrollHintShow = true;
}
