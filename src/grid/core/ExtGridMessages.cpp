// Window messages of the grid that are not input handling proper: the typed character that opens
// the editor, the grid timer, painting under the update lock, focus, the pointer's shape over the
// grid and the marker shown while the middle button pans.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridButton.h"
#include "controls/ExtGridUtil.h"
#include "grid/services/ExtGridFind.h"
#include "platform/Windows.h"

#include <algorithm>

namespace {

bool CtrlHeld()
{
    return GetKeyState(VK_CONTROL) < 0;
}

} // namespace

void TExtStringGrid::WMChar(TWMKey &Message)
{
    WideChar key = WideChar(Message.CharCode);
    const int realCol = RealColIndex(Col());
    const int row = Row();
    const bool cellExists = realCol >= 0 && row >= 0 && realCol < TotalColCount() && row < RowCount();
    // Cells with controls in their text take no typing.
    if (FEnableHTML && cellExists && CellTextKind(GridCells(realCol, row), true) == 1 &&
        GridCells(realCol, row).toUpper().contains(QStringLiteral("<CONTROL"))) {
        Message.Result = 1;
        return;
    }
    if (FMouseActions->EditOnDblClickOnly()) {
        bool can = true;
        CanEditCell(realCol, row, can);
        if (can)
            SetOptions(Options() + TGridOptions{goEditing});
    }
    // The clipboard keys are handled when they go down; their characters type nothing.
    if (FNavigation->AllowClipboardShortCuts && CtrlHeld() && (key == 3 || key == 22 || key == 24)) {
        Message.CharCode = 0;
        return;
    }
    const bool controlCell = IsControlCell(realCol, row);
    if (FMouseActions->RangeSelectAndEdit && !controlCell && cellExists && key != 9 && key != 27 && !CtrlHeld()) {
        bool editable = true;
        CanEditCell(realCol, row, editable);
        if (editable) {
            WideChar copy = key;
            if (OnKeyPress)
                OnKeyPress(this, copy);
            FStartEditChar = key;
            SetOptions(Options() + TGridOptions{goEditing});
            if (Col() < LeftCol())
                SetLeftCol(Col());
            else if (Col() > LeftCol() + VisibleColCount())
                SetLeftCol(std::max(FixedCols(), Col() - VisibleColCount() + 1));
            if (row < TopRow())
                SetTopRow(row);
            else if (row > TopRow() + VisibleRowCount())
                SetTopRow(std::max(FixedRows(), row - VisibleRowCount() + 1));
            // The range selection starts at the cell as a click there would start it.
            const TRect r = CellRect(Col(), row);
            MouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
            TBaseGrid::WMChar(Message);
            return;
        }
    }
    if (ExcelStyleDecimalSeparator && key == u'.' && (Message.KeyData & ExtGrid::KeypadDecimalBit)) {
        key = ExtGrid::GetDecimalSeparator();
        Message.CharCode = Word(key);
    }
    bool handled = false;
    if (controlCell && key == 13 && FNavigation->AdvanceOnEnter) {
        TBaseGrid::WMChar(Message);
        handled = true;
    }
    if (Options().Contains(goEditing) && key != 9 && (key == 8 || (key >= 32 && key <= 255))) {
        if (controlCell) {
            // A check box or button cell hears the key but opens no editor.
            if (OnKeyPress)
                OnKeyPress(this, key);
            FStartEditChar = key;
            return;
        }
        // The special editors take the key that opened them as their first character.
        FStartEditChar = key;
        if (!handled)
            TBaseGrid::WMChar(Message);
        if (IsTextEditorType(EditControl))
            FStartEditChar = WideChar(0);
        return;
    }
    if (!handled)
        TBaseGrid::WMChar(Message);
}

void TExtStringGrid::WMPaint(TWMPaint &Message)
{
    // Under the update lock the grid shows what it showed; the last EndUpdate repaints all.
    if (FUpdateCount > 0) {
        Message.Result = 0;
        return;
    }
    TBaseGrid::WMPaint(Message);
    if (!TabStop() && FPaintCount == 0)
        FPaintCount = 1;
}

void TExtStringGrid::WMTimer(TWMTimer &Message)
{
    if (FGridTimerID == 0 || Message.TimerID != WPARAM(FGridTimerID)) {
        TBaseGrid::WMTimer(Message);
        return;
    }
    ++FTimerTicks;
    // The incremental search text lives about 2 s after the last typed character.
    if (FNavigation->AutoGotoIncremental) {
        ++SearchTics;
        if (SearchTics >= 4) {
            SearchInc.clear();
            SearchTics = 0;
        }
    }
    if (FHovering && !Designing())
        HoverToCell();
    if (FEnableBlink) {
        FGridBlink = !FGridBlink;
        RepaintBlinkingCells();
    }
}

void TExtStringGrid::SetEnableBlink(bool Value)
{
    FEnableBlink = Value;
    // Blinking text shows while the blink is off, whichever phase it stopped in.
    if (!Value && FGridBlink) {
        FGridBlink = false;
        RepaintBlinkingCells();
    }
}

void TExtStringGrid::RepaintBlinkingCells()
{
    if (!HandleAllocated())
        return;
    auto blinks = [this](int realCol, int row) {
        return realCol >= 0 && realCol < TotalColCount() && row >= 0 && row < RowCount() &&
               GridCells(realCol, row).toUpper().contains(QStringLiteral("<BLI"));
    };
    const int lastRow = std::min(TopRow() + VisibleRowCount(), RowCount()) - 1;
    // The visible normal rows, by real column, hidden columns' share included.
    for (int r = TopRow(); r <= lastRow; ++r)
        for (int c = LeftCol(); c < LeftCol() + VisibleColCount() + NumHiddenColumns(); ++c)
            if (blinks(c, r))
                RepaintCell(DisplColIndex(c), r);
    for (int r = 0; r < FixedRows(); ++r)
        for (int c = LeftCol(); c < LeftCol() + VisibleColCount(); ++c)
            if (blinks(RealColIndex(c), r))
                RepaintCell(c, r);
    for (int c = 0; c < FixedCols(); ++c)
        for (int r = TopRow(); r <= lastRow; ++r)
            if (blinks(RealColIndex(c), r))
                RepaintCell(c, r);
}

void TExtStringGrid::WMSize(TWMSize &Message)
{
    if (FSearchPanel && FSearchPanel->Visible()) {
        // Changing the height makes the panel lay its controls out again.
        FSearchPanel->SetHeight(33);
        FSearchPanel->SetHeight(32);
        FSearchPanel->SetAlign(alBottom);
    }
    // The platform sizes its window and scroll bars first: the widths below are taken from the
    // client area it leaves.
    TBaseGrid::WMSize(Message);
    if (!FColumnSize)
        return;
    const int width = Message.Width;
    if (FColumnSize->SynchWithGrid && FOldSize > 0) {
        HideInplaceEdit();
        const double factor = BorderStyle() == bsSingle ? double(width + 2) / FOldSize : double(width) / FOldSize;
        const int first = FColumnSize->SynchNormalCellsOnly ? FixedCols() : 0;
        const int last = FColumnSize->SynchNormalCellsOnly ? ColCount() - FFixedRightCols - 1 : ColCount() - 1;
        for (int c = std::max(first, 0); c <= last && c < FOrigColSizes->Count(); ++c)
            SetColWidths(c, int(FOrigColSizes->Items(c) * factor));
    }
    if (!FColumnSize->Stretch() || (FScrollBarAlways != saNone && FScrollBarAlways != saVert))
        return;
    const int stretchCol = FColumnSize->StretchColumn == -1 ? ColCount() - 1 : FColumnSize->StretchColumn;
    if (stretchCol < 0 || stretchCol >= ColCount())
        return;
    int others = 0;
    for (int c = 0; c < ColCount(); ++c)
        if (c != stretchCol)
            others += ColWidths(c);
    bool stretched = false;
    if (others < width) {
        StretchColumn(stretchCol);
        stretched = true;
    }
    if (FScrollBarAlways != saNone)
        return;
    if (ScrollBars() == ssHorizontal || ScrollBars() == ssBoth)
        ShowScrollBar(SB_HORZ, ClientWidth() < others + ColWidths(stretchCol));
    if (ScrollBars() == ssVertical || ScrollBars() == ssBoth)
        ShowScrollBar(SB_VERT, VisibleRowCount() < RowCount() - FixedRows());
    if (stretched && OnGridResize)
        OnGridResize(this);
}

void TExtStringGrid::CMDialogChar(TCMDialogChar &Message)
{
    // Only the search footer's buttons answer accelerators inside the grid.
    Message.Result = 0;
    if (!FSearchFooter || !FSearchFooter->Visible() || !FSearchPanel)
        return;
    for (TExtGridButton *b : {FSearchPanel->ForwardButton(), FSearchPanel->BackwardButton(),
                              FSearchPanel->HighLightButton()}) {
        if (b && b->Visible() && b->Enabled() && IsAccel(Message.CharCode, b->Caption())) {
            b->Click();
            Message.Result = 1;
            return;
        }
    }
}

void TExtStringGrid::CMEnabledChanged(TCMEnabledChanged &Message)
{
    TBaseGrid::CMEnabledChanged(Message);
    Invalidate();
}

void TExtStringGrid::CMColorChanged(TCMColorChanged &Message)
{
    TBaseGrid::CMColorChanged(Message);
    if (FFloatingFooter->Visible() && FFooterPanel)
        FFooterPanel->Invalidate();
}

void TExtStringGrid::CMCursorChanged(TCMCursorChanged &Message)
{
    TBaseGrid::CMCursorChanged(Message);
    // A cursor set from outside ends the row, column or whole-grid selection look.
    if (!Invokedchange)
        FMouseSelectMode = msNormal;
    Invokedchange = false;
}

void TExtStringGrid::ResetFixedCellHighlight()
{
    FSizeFixed = false;
    FSizeFixedR = false;
    FNoMouseLeave = false;
    if (FHoverFixedCells == hfNone || (FHoverFixedX == -1 && FHoverFixedY == -1))
        return;
    const int c = FHoverFixedX, r = FHoverFixedY;
    FHoverFixedX = -1;
    FHoverFixedY = -1;
    if (c >= 0 && r >= 0)
        RepaintCell(c, r);
}

void TExtStringGrid::HoverToCell()
{
    TPoint pt;
    if (!HandleAllocated() || !GetCursorPos(pt) || WindowFromPoint(pt) != Handle())
        return;
    pt = ScreenToClient(pt);
    if (pt.X < 0 || pt.Y < 0 || pt.X >= ClientWidth() || pt.Y >= ClientHeight())
        return;
    int c = -1, r = -1;
    MouseToCell(pt.X, pt.Y, c, r);
    if (c < FixedCols() || r < FixedRows() || c >= ColCount() || r >= RowCount())
        return;
    if (CanFocus())
        SetFocus();
    SetRow(r);
    SetCol(c);
}

void TExtStringGrid::DrawPanMarker(TCanvas *ACanvas)
{
    const char *name = nullptr;
    switch (FIntelliPan) {
    case ipVertical: name = "INTLI3"; break;
    case ipHorizontal: name = "INTLI2"; break;
    case ipBoth: name = "INTLI1"; break;
    case ipNone: return;
    }
    TCanvas *target = ACanvas ? ACanvas : Canvas();
    if (!target)
        return;
    TBitmap marker;
    try {
        marker.LoadFromResourceName(QString::fromLatin1(name));
    } catch (const Exception &) {
        return;
    }
    // The marker's background (its top-left colour) shows white, whatever lies under it.
    TBitmap plate;
    plate.SetSize(marker.Width(), marker.Height());
    plate.Canvas()->Brush()->SetColor(clWhite);
    plate.Canvas()->FillRect(TRect(0, 0, marker.Width(), marker.Height()));
    marker.SetTransparentMode(TTransparentMode::tmFixed);
    marker.SetTransparentColor(marker.Canvas()->Pixels(0, 0));
    marker.SetTransparent(true);
    plate.Canvas()->Draw(0, 0, &marker);
    target->Draw(wheelpanpos.X, wheelpanpos.Y, &plate);
}

void TExtStringGrid::InvalidatePanMarker()
{
    if (!HandleAllocated())
        return;
    const TRect r(wheelpanpos.X, wheelpanpos.Y, wheelpanpos.X + 32, wheelpanpos.Y + 32);
    ::InvalidateRect(Handle(), &r, false);
}

void TExtStringGrid::WMSetCursor(TWMGeneric &Message)
{
    const bool sizing = GridState() == gsRowSizing || GridState() == gsColSizing;
    int id = 0;
    if ((FMouseSelectMode == msColumn || FMouseSelectMode == msRow || FMouseSelectMode == msAll) && !sizing)
        id = FMouseSelectMode == msColumn ? 8011 : FMouseSelectMode == msRow ? 8010 : 8012;
    else if (FCellSelectorMode)
        id = 8014;
    if (id != 0) {
        if (HCURSOR c = LoadCursor(nullptr, id)) {
            ::SetCursor(c);
            Message.Result = 1;
            return;
        }
    }
    TBaseGrid::WMSetCursor(Message);
    TPoint p;
    if (!GetCursorPos(p))
        return;
    p = ScreenToClient(p);
    int c = -1, r = -1;
    MouseToCell(p.X, p.Y, c, r);
    if (c >= 0 && r >= 0)
        DoGetCellCursor(c, r, p.X, p.Y);
}

void TExtStringGrid::WMKillFocus(TWMKillFocus &Message)
{
    // The grid's own editor controls take the focus while an edit is committed.
    if (FBlockKill) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WMKillFocus(Message);
    if (IsMergedCell(RealColIndex(Col()), Row()))
        RepaintCell(Col(), Row());
    if (FCtrlDown) {
        FCtrlDown = false;
        if (FCtrlXY.X >= 0 && FCtrlXY.Y >= 0)
            RepaintCell(FCtrlXY.X, FCtrlXY.Y);
    }
}

void TExtStringGrid::WMSetFocus(TWMSetFocus &Message)
{
    if (InvokedFocusChange)
        return;
    TBaseGrid::WMSetFocus(Message);
    const int realCol = RealColIndex(Col());
    if (GetCellType(realCol, Row()) == ctCheckBox)
        return;
    if (FInplaceRichEdit && FInplaceRichEdit->Visible())
        HideInplaceEdit();
    auto visible = [this] {
        return Col() >= LeftCol() && Col() <= LeftCol() + VisibleColCount() && Row() >= TopRow() &&
               Row() <= TopRow() + VisibleRowCount();
    };
    const bool moving = GridState() == gsRowMoving || GridState() == gsColMoving;
    if (TInplaceEdit *ed = InplaceEditor()) {
        const bool fromEditor = ed->HandleAllocated() && Message.FocusedWnd == ed->Handle();
        if (!fromEditor && !moving && FNavigation->AlwaysEdit && EditControl == edNormal) {
            bool can = true;
            CanEditCell(realCol, Row(), can);
            if (can && visible()) {
                ShowInplaceEdit();
                Message.Result = 0;
                return;
            }
        }
    } else if (FNavigation->AlwaysEdit) {
        bool can = true;
        CanEditCell(realCol, Row(), can);
        if (can && visible() && !FMouseActions->DirectEdit && !FControlLook->DropDownAlwaysVisible &&
            HasComboBox(realCol, Row()))
            ShowInplaceEdit();
    }
    if (IsMergedCell(realCol, Row()))
        RepaintCell(Col(), Row());
}

void TExtStringGrid::DoEnter()
{
    if (FBlockFocus)
        return;
    try {
        TBaseGrid::DoEnter();
        if (Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit)
            SelectCell(Col(), Row());
    } catch (...) {
        SaveOldCellValue(Col(), Row());
        throw;
    }
    SaveOldCellValue(Col(), Row());
}

void TExtStringGrid::DoExit()
{
    if (FBlockKill)
        return;
    // A selection made with the mouse becomes the rows that stay selected while the grid is left.
    if (FSelChange && FMouseActions->DisjunctRowSelect())
        SelectionToRowSelect();
    FSelChange = false;
    TBaseGrid::DoExit();
}

void TExtStringGrid::Click()
{
    TBaseGrid::Click();
    FEntered = false;
    SaveOldCellValue(Col(), Row());
}
