// OLE drag and drop of the string grid: the drop target that pastes dropped text, cells, files,
// links and columns, the drag source's feedback, the start of a drag of cells or of a column,
// and the grid's registration as a drop target.
#include "grid/services/ExtGridOleDrop.h"

#include "controls/GridAuxWindows.h"
#include "grid/core/ExtGrid.h"
#include "platform/StdCtrls.h"

#include <QFileInfo>

#include <algorithm>

// ---- the drop target ----

void TGridDropTarget::DropCell(TPoint Pt, bool Column, int &ACol, int &ARow, bool &Append)
{
    TExtStringGrid *g = FGrid;
    g->ScreenToCell(Pt, ACol, ARow);
    Append = false;
    TDragDropSettings *dd = g->DragDropSettings();
    if (ARow == -1 && !Column && dd->OleEntireRows && dd->OleAppendRows && g->RowCount() > 0) {
        const TPoint p = g->ScreenToClient(Pt);
        if (p.Y >= g->CellRect(g->LeftCol(), g->RowCount() - 1).Bottom) {
            ACol = g->FixedCols();
            ARow = g->RowCount() - 1;
            Append = true;
        }
    }
}

void TGridDropTarget::HideMarkers(bool Button)
{
    for (TArrowWindow *w : {FGrid->ArwL, FGrid->ArwD})
        if (w)
            w->SetVisible(false);
    if (Button && FGrid->MoveButton)
        FGrid->MoveButton->SetVisible(false);
}

HRESULT TGridDropTarget::DragEnter(IDataObject *DataObj, DWORD KeyState, TPoint Pt, DWORD &Effect)
{
    if (FGrid) {
        TDragDropSettings *dd = FGrid->DragDropSettings();
        SetAcceptCols(dd->OleColumnDragDrop || dd->OleColumnReorder || FGrid->FOleDragCol != -1);
    }
    return TESGDropTarget::DragEnter(DataObj, KeyState, Pt, Effect);
}

void TGridDropTarget::DragMouseMove(TPoint Pt, bool &Allow, TDropFormats DropFormats)
{
    TExtStringGrid *g = FGrid;
    if (!g) {
        Allow = false;
        return;
    }
    const bool column = DropFormats.Contains(dfCol);
    int ACol = -1, ARow = -1;
    bool append = false;
    DropCell(Pt, column, ACol, ARow, append);
    const TPoint p = g->ScreenToClient(Pt);
    Allow = ACol >= 0 && ARow >= 0;

    if (Allow && !column) {
        if ((ARow == 0 && g->TopRow() > g->FixedRows()) || (p.Y < 8 && g->FixedRows() == 0 && g->TopRow() > 0))
            g->SetTopRow(g->TopRow() - 1);
        else if (ARow == g->TopRow() + g->VisibleRowCount())
            g->SetTopRow(g->TopRow() + 1);
        // Sideways at most one column per timer tick: the tick makes the count even again.
        if (g->FTimerTicks % 2 == 0) {
            if (ACol == 0 && g->LeftCol() > g->FixedCols())
                g->SetLeftCol(g->LeftCol() - 1);
            else if (ACol == g->LeftCol() + g->VisibleColCount())
                g->SetLeftCol(g->LeftCol() + 1);
            ++g->FTimerTicks;
        }
    }

    if (!column) {
        if (ARow >= 0 && ARow < g->FixedRows() && !(g->RowCount() == 1 && g->FixedRowAlways()))
            Allow = false;
    } else if (ACol < 0) {
        ACol = g->ColCount();
        ARow = 0;
        Allow = true;
    } else if (ARow < g->FixedRows()) {
        if (ACol < g->FixedCols())
            Allow = false;
    } else {
        Allow = false;
    }
    Allow = Allow || DropFormats.Contains(dfFile) || DropFormats.Contains(dfGridCells);
    if (g->OnOleDragOver)
        g->OnOleDragOver(g, ARow, ACol, Allow);
    Allow = Allow && ((ARow >= 0 && ACol >= 0) || DropFormats.Contains(dfFile));

    TArrowWindow *up = g->ArwU, *down = g->ArwD, *left = g->ArwL;
    if (!up || !down || !left)
        return;
    if (Allow && column) {
        const TRect r = g->CellRect(std::min(ACol, g->ColCount() - 1), ARow);
        // Past the last column the markers stand at its right edge.
        const int x = ACol >= g->ColCount() ? r.Right : r.Left;
        const TPoint tl = g->ClientToScreen(TPoint(x, r.Top));
        const TPoint bl = g->ClientToScreen(TPoint(x, r.Bottom));
        down->SetBounds(tl.X, tl.Y - 8, down->Width(), down->Height());
        up->SetBounds(bl.X, bl.Y, up->Width(), up->Height());
        down->SetVisible(true);
        up->SetVisible(true);
        left->SetVisible(false);
    } else if (Allow && ACol >= 0 && ARow >= 0) {
        if (ARow == 0 && g->FixedRowAlways()) {
            ARow = 1;
            append = false;
        }
        const int c = g->DragDropSettings()->OleEntireRows ? g->FixedCols() : ACol;
        TRect r = g->CellRect(c, std::min(ARow, g->RowCount() - 1));
        if (append)
            r.Top += g->RowHeights(ARow);
        const TPoint tl = g->ClientToScreen(TPoint(r.Left, r.Top));
        left->SetBounds(tl.X - 10, tl.Y, left->Width(), left->Height());
        left->SetVisible(true);
        up->SetVisible(false);
        down->SetVisible(false);
    } else {
        up->SetVisible(false);
        down->SetVisible(false);
        left->SetVisible(false);
    }
}

void TGridDropTarget::DragMouseLeave()
{
    if (!FGrid)
        return;
    for (TArrowWindow *w : {FGrid->ArwD, FGrid->ArwU, FGrid->ArwL})
        if (w)
            w->SetVisible(false);
}

void TGridDropTarget::DropText(TPoint Pt, const UnicodeString &Text)
{
    TExtStringGrid *g = FGrid;
    if (!g)
        return;
    TDragDropSettings *dd = g->DragDropSettings();
    int ACol = -1, ARow = -1;
    bool append = false;
    DropCell(Pt, DropFormats().Contains(dfCol), ACol, ARow, append);
    bool allow = true;
    int cols = 0, rows = 0;
    TExtStringGrid::ClipboardTextExtent(Text, cols, rows);
    const bool rowSelect = g->Options().Contains(goRowSelect);
    if (rowSelect && ACol >= 0)
        ACol = dd->OleEntireRows ? 0 : g->FixedCols();
    if (g->OnOleDrop)
        g->OnOleDrop(g, ARow, ACol, Text, allow);
    TGridRect sel = g->Selection();
    // A drop beside the cells has no place to go.
    if (allow && ACol >= 0 && ARow >= 0) {
        if (ARow == 0 && g->FixedRowAlways() && g->RowCount() == 1)
            ARow = 1;
        // Rows inserted above the dragged ones push them down, so that a move removes the rows
        // that were dragged.
        TGridRect r = g->FDropSelection;
        if (dd->OleRemoveRows && dd->OleInsertRows && !append && r.Top >= ARow) {
            r.Top += rows + 1;
            r.Bottom += rows + 1;
            g->FDropSelection = r;
            // The selected rows' flags go down with their rows; the new rows come unselected.
            const int at = g->NumHiddenRows() > 0 ? g->RealRowIndex(ARow) : ARow;
            if (g->MouseActions()->DisjunctRowSelect() && at < g->FRowSelect->Count())
                for (int i = 0; i <= rows; ++i)
                    g->FRowSelect->Insert(at, 0);
        }
        if (dd->OleInsertRows) {
            int t = g->TopRow();
            if (append) {
                g->SetRowCount(g->RowCount() + rows + 1);
                ++ARow;
            } else {
                g->InsertRows(ARow, rows + 1);
            }
            if (t > g->FixedRows())
                ++t;
            if (t > 0)
                g->SetTopRow(t);
        }
        int pr = 0, pc = 0;
        g->PasteTextAt(ACol, ARow, pr, pc, Text);
        ACol = std::max(ACol, g->FixedCols());
        sel.Left = ACol;
        sel.Top = ARow;
        sel.Bottom = std::min(ARow + rows, g->RowCount() - 1);
        sel.Right = std::min(rowSelect ? ACol + cols - g->FixedCols() : ACol + cols - 1, g->ColCount() - 1);
        sel.Right = std::max(sel.Right, sel.Left);
        g->SetSelection(sel);
    }
    HideMarkers(true);
    if (g->OnOleDropped)
        g->OnOleDropped(g, sel);
}

void TGridDropTarget::DropStream(TPoint Pt, std::unique_ptr<TMemoryStream> Stream)
{
    TExtStringGrid *g = FGrid;
    if (!g || !Stream)
        return;
    int ACol = -1, ARow = -1;
    g->ScreenToCell(Pt, ACol, ARow);
    HideMarkers(true);
    if (ACol < 0 || ARow < 0)
        return;
    Stream->SetPosition(0);
    g->LoadAtPointFromBinStream(TPoint(ACol, ARow), Stream.get());
    if (g->OnOleDropped)
        g->OnOleDropped(g, g->Selection());
}

void TGridDropTarget::DropIntoCell(TPoint Pt, const UnicodeString &S, bool Link)
{
    TExtStringGrid *g = FGrid;
    if (!g)
        return;
    int ACol = -1, ARow = -1;
    g->ScreenToCell(Pt, ACol, ARow);
    bool allow = true;
    const TExtStringGrid::TOleDragEvent &event = Link ? g->OnOleDropURL : g->OnOleDrop;
    if (event)
        event(g, ARow, ACol, S, allow);
    if (allow && ACol >= 0 && ARow >= 0)
        g->SetCells(g->RealColIndex(ACol), ARow, S);
    HideMarkers(false);
}

void TGridDropTarget::DropRTF(TPoint Pt, const UnicodeString &RTF)
{
    DropIntoCell(Pt, RTF, false);
}

void TGridDropTarget::DropURL(TPoint Pt, const UnicodeString &URL)
{
    DropIntoCell(Pt, URL, true);
}

void TGridDropTarget::DropFiles(TPoint Pt, TStrings *Files)
{
    TExtStringGrid *g = FGrid;
    if (!g || !Files)
        return;
    if (Files->Count() == 1) {
        int ACol = -1, ARow = -1;
        g->ScreenToCell(Pt, ACol, ARow);
        const UnicodeString name = Files->Strings(0);
        bool allow = true;
        if (g->OnOleDropFile)
            g->OnOleDropFile(g, ARow, ACol, name, allow);
        if (allow) {
            // By the file's own extension: a folder named "x.csv.d" does not make its files CSV.
            const UnicodeString ext = QFileInfo(name).suffix().toLower();
            const bool csv = ext == QLatin1String("csv");
            const bool xls = ext == QLatin1String("xls") || ext == QLatin1String("xlsx");
            if (csv || xls) {
                if (g->OnOleDrop)
                    g->OnOleDrop(g, -1, -1, name, allow);
                if (allow) {
                    if (csv)
                        g->LoadFromCSV(name);
                    else
                        g->LoadFromXLS(name);
                }
            }
        }
    }
    HideMarkers(false);
}

void TGridDropTarget::DropCol(TPoint Pt, int Col)
{
    TExtStringGrid *g = FGrid;
    if (!g)
        return;
    int ACol = -1, ARow = -1;
    g->ScreenToCell(Pt, ACol, ARow);
    if (ACol < 0)
        ACol = g->ColCount();
    for (TControl *w : std::initializer_list<TControl *>{g->ArwD, g->ArwU, g->MoveButton})
        if (w)
            w->SetVisible(false);
    const bool enh = g->FEnhRowColMove;
    if (g->FOleDragCol != -1) {
        if (g->FOleDragList && g->FOleDragIndex >= 0 && g->FOleDragIndex < g->FOleDragList->Items()->Count())
            g->FOleDragList->Items()->Delete(g->FOleDragIndex);
        if (g->IsHiddenColumn(g->FOleDragCol))
            g->UnHideColumn(g->FOleDragCol);
        const int from = g->DisplColIndex(g->FOleDragCol);
        const int to = std::min(ACol, g->ColCount() - 1);
        g->FEnhRowColMove = true;
        if (from >= 0 && from != to)
            g->MoveColumn(from, to);
        g->FEnhRowColMove = enh;
        g->FOleDragCol = -1;
        g->FOleDragList = nullptr;
        g->FOleDragIndex = -1;
    } else if (g->DragDropSettings()->OleColumnReorder) {
        ACol = std::min(ACol, g->ColCount() - 1);
        const int from = g->DisplColIndex(Col);
        if (from >= 0 && from < g->ColCount() && from != ACol) {
            g->FEnhRowColMove = true;
            g->MoveColumn(from, ACol);
            g->FEnhRowColMove = enh;
        }
    }
    if (g->OnOleDropCol)
        g->OnOleDropCol(g, ARow, ACol, Col);
}

// ---- the drop source ----

void TGridDropSource::DragEnded()
{
    if (FGrid && FGrid->DragDropSettings()->ShowCells)
        FGrid->FreeMoveForm();
}

void TGridDropSource::CurrentEffect(DWORD Effect)
{
    if (Effect == DROPEFFECT_COPY || Effect == DROPEFFECT_MOVE)
        FLastEffect = int(Effect);
}

void TGridDropSource::QueryDrag()
{
    if (!FGrid)
        return;
    TPoint pt;
    GetCursorPos(pt);
    if (FGrid->DragDropSettings()->ShowCells) {
        if (TDragImageWindow *f = FGrid->MoveForm)
            f->SetBounds(pt.X + 4, pt.Y + 4, f->Width(), f->Height());
        return;
    }
    if (!FGrid->MoveButton || !FGrid->MoveButton->Visible())
        return;
    const TPoint p = FGrid->ScreenToClient(pt);
    THeaderDragButton *b = FGrid->MoveButton;
    b->SetBounds(p.X, p.Y - b->Height(), b->Width(), b->Height());
}

// ---- the grid ----

void TDragDropSettings::SetOleDropTarget(bool Value)
{
    FOleDropTarget = Value;
    if (FGrid && !FGrid->Designing())
        FGrid->SetOleDropTargetActive(Value);
}

void TExtStringGrid::SyncOleDropAccept()
{
    if (!FGridDropTarget)
        return;
    FGridDropTarget->SetAcceptText(FDragDropSettings->OleAcceptText);
    FGridDropTarget->SetAcceptFiles(FDragDropSettings->OleAcceptFiles);
    FGridDropTarget->SetAcceptURLs(FDragDropSettings->OleAcceptURLs);
    // Columns come only from grids that drag them.
    FGridDropTarget->SetAcceptCols(FDragDropSettings->OleColumnDragDrop || FDragDropSettings->OleColumnReorder ||
                                   FOleDragCol != -1);
}

void TExtStringGrid::SetOleDropTargetActive(bool Value)
{
    if (Value) {
        if (!FGridDropTarget) {
            FGridDropTarget = new TGridDropTarget(this);
            FGridDropTarget->AddRef();
        }
        SyncOleDropAccept();
        RegisterOleDropTarget();
        return;
    }
    if (FOleDropTargetAssigned && HandleAllocated())
        RevokeDragDrop(Handle());
    FOleDropTargetAssigned = false;
    if (FGridDropTarget) {
        FGridDropTarget->ForgetGrid();
        FGridDropTarget->Release();
        FGridDropTarget = nullptr;
    }
}

void TExtStringGrid::RegisterOleDropTarget()
{
    if (FGridDropTarget && !FOleDropTargetAssigned && HandleAllocated())
        FOleDropTargetAssigned = RegisterDragDrop(Handle(), FGridDropTarget) == S_OK;
}

void TExtStringGrid::OleColumnDragStart(int ACol, int AIndex, TCustomListBox *AList)
{
    FOleDragCol = ACol;
    FOleDragIndex = AIndex;
    FOleDragList = AList;
    SyncOleDropAccept();
}

void TExtStringGrid::StartOleDrag(int ACol, int ARow)
{
    TComPtr<TGridDropSource> source(new TGridDropSource(this));
    const int realCol = RealColIndex(ACol);
    if (OnOleDragStart)
        OnOleDragStart(this, ARow, realCol);
    DoStartBlockFocus();
    DWORD effect = DROPEFFECT_NONE;
    const DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE;

    if (FDragDropSettings->ShowCells && !MoveForm) {
        TGridRect r = Selection();
        if (FDragDropSettings->OleColumnDragDrop)
            r = TGridRect{ACol, TopRow(), ACol, std::min(RowCount() - 1, TopRow() + VisibleRowCount())};
        r.Left = std::max(r.Left, LeftCol());
        r.Top = std::max(r.Top, TopRow());
        r.Right = std::min(r.Right, LeftCol() + VisibleColCount());
        r.Bottom = std::min(r.Bottom, TopRow() + VisibleRowCount());
        // The picture shows the cells as they are, not selected.
        HideSelection();
        SelectionToForm(r, ClientToScreen(TPoint(Clickposx, Clickposy)));
        UnHideSelection();
    }
    // The image goes with the drag, however it ends.
    struct TFreeImage {
        TExtStringGrid *G;
        ~TFreeImage() { G->FreeMoveForm(); }
    } freeImage{this};

    if (ARow < FixedRows() && FDragDropSettings->OleColumnDragDrop) {
        if (!FDragDropSettings->ShowCells && MoveButton) {
            MoveButton->SetCaption(Cells(realCol, 0));
            // A window of its own: placed on the screen.
            const TPoint at = ClientToScreen(TPoint(Clickposx, Clickposy - RowHeights(0)));
            MoveButton->SetBounds(at.X, at.Y, ColWidths(ACol), RowHeights(0));
            MoveButton->SetVisible(true);
        }
        const HRESULT hr = BeginColumnDrag(source.Get(), realCol, effects, effect);
        if (hr != DRAGDROP_S_CANCEL && OnOleDragStop)
            OnOleDragStop(this, int(effect));
        for (TControl *w : std::initializer_list<TControl *>{MoveButton, ArwD, ArwU})
            if (w)
                w->SetVisible(false);
        return;
    }

    FDropSelection = Selection();
    std::unique_ptr<TMemoryStream> cells;
    if (FNavigation->AllowFmtClipboard) {
        cells = std::make_unique<TMemoryStream>();
        SaveRectToBinStream(TRect(FDropSelection.Left, FDropSelection.Top, FDropSelection.Right, FDropSelection.Bottom),
                            cells.get());
    }
    // Only a cell that holds rich text offers it as such.
    const UnicodeString cell = Cells(realCol, ARow);
    const UnicodeString rtf = cell.contains(QStringLiteral("{\\")) ? cell : UnicodeString();
    const HRESULT hr = BeginTextDrag(source.Get(), SelectedText(), rtf, cells.get(), effects, effect);
    if (hr == DRAGDROP_S_CANCEL)
        return;
    if (effect == DROPEFFECT_MOVE && !FDragDropSettings->OleCopyAlways) {
        const TGridRect d = FDropSelection;
        const bool disjunct = FMouseActions->DisjunctRowSelect();
        if (FDragDropSettings->OleRemoveRows && Options().Contains(goRowSelect)) {
            if (disjunct) {
                for (int r = RowCount() - 1; r >= FixedRows(); --r)
                    if (RowSelect(r))
                        RemoveRows(r, 1);
            } else if (d.Bottom >= d.Top && d.Top >= FixedRows()) {
                RemoveRows(d.Top, std::min(d.Bottom, RowCount() - 1) - d.Top + 1);
            }
        } else if (disjunct) {
            for (int r = FixedRows(); r < RowCount(); ++r)
                if (RowSelect(r))
                    ClearRows(r, 1);
        } else {
            ClearRect(d.Left, d.Top, d.Right, d.Bottom);
        }
    }
    if (OnOleDragStop)
        OnOleDragStop(this, int(effect));
}

// ---- drag images ----

void TExtStringGrid::SelectionToForm(const TGridRect &R, TPoint At)
{
    FreeMoveForm();
    if (R.Left > R.Right || R.Top > R.Bottom || !HandleAllocated())
        return;
    const TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
    const TRect client = ClientRect();
    const int left = std::max(client.Left, std::min(a.Left, b.Left)), top = std::max(client.Top, std::min(a.Top, b.Top));
    const int right = std::min(client.Right, std::max(a.Right, b.Right)), bottom = std::min(client.Bottom, std::max(a.Bottom, b.Bottom));
    if (right <= left || bottom <= top)
        return;
    TBitmap whole;
    whole.SetSize(client.Right, client.Bottom);
    PaintTo(whole.Canvas(), 0, 0);
    MoveForm = new TDragImageWindow(this);
    MoveForm->Picture()->SetSize(right - left, bottom - top);
    MoveForm->Picture()->Canvas()->Draw(-left, -top, &whole);
    // Right to left the picture hangs left of the pointer.
    const int x = RightToLeftGrid() ? At.X - (right - left) + ColWidths(0) : At.X;
    MoveForm->SetBounds(x, At.Y, right - left, bottom - top);
    MoveForm->SetVisible(true);
}

void TExtStringGrid::FreeMoveForm()
{
    delete MoveForm;
    MoveForm = nullptr;
}

void TExtStringGrid::ShowMoveFeedback(bool ColMove, int ACol, int ARow, int X, int Y)
{
    DoStartBlockFocus();
    const bool cells = FDragDropSettings->ShowCells;
    int w = 0, h = 0;
    if (ColMove && Movecell >= FixedCols() && Movecell < ColCount() && ARow >= 0) {
        if (cells && !MoveForm)
            SelectionToForm(TGridRect{Movecell, 0, Movecell, std::min(RowCount() - 1, TopRow() + VisibleRowCount() - FixedRows())},
                            ClientToScreen(TPoint(X - MoveOfsX, Y - MoveOfsY)));
        w = ColWidths(Movecell);
        h = RowHeights(ARow);
        if (MoveButton)
            MoveButton->SetCaption(Cells(RealColIndex(Movecell), 0));
    } else if (!ColMove && Movecell >= FixedRows() && Movecell < RowCount() && ACol >= 0) {
        if (cells && !MoveForm)
            SelectionToForm(TGridRect{0, Movecell, std::min(ColCount() - 1, LeftCol() + VisibleColCount() - FixedCols()), Movecell},
                            ClientToScreen(TPoint(X - MoveOfsX, Y - MoveOfsY)));
        w = ColWidths(ACol);
        h = RowHeights(Movecell);
        if (MoveButton)
            MoveButton->SetCaption(Cells(RealColIndex(0), Movecell));
    }
    if (cells && MoveForm) {
        const TPoint s = ClientToScreen(TPoint(X - MoveOfsX, Y - MoveOfsY));
        const int x = RightToLeftGrid() ? s.X - MoveForm->Width() + ColWidths(0) : s.X;
        MoveForm->SetBounds(x, s.Y, MoveForm->Width(), MoveForm->Height());
    } else if (MoveButton && w > 0) {
        const TPoint at = ClientToScreen(TPoint(X - MoveOfsX, Y - MoveOfsY));
        MoveButton->SetBounds(at.X, at.Y, w, h);
    }

    const int prev = FMoveTarget;
    if (ColMove && ArwU && ArwD) {
        const bool show = prev >= FixedCols() && prev < ColCount() && prev >= LeftCol() &&
                          prev <= LeftCol() + VisibleColCount() && ACol >= 0;
        if (show) {
            const TRect r = CellRect(prev, 0);
            const TPoint tl = ClientToScreen(TPoint(r.Left, r.Top)), bl = ClientToScreen(TPoint(r.Left, r.Bottom));
            const int x = prev < Movecell ? tl.X - 5 : tl.X + ColWidths(prev) - 5;
            ArwU->SetBounds(x, bl.Y, ArwU->Width(), ArwU->Height());
            ArwD->SetBounds(x, tl.Y - 8, ArwD->Width(), ArwD->Height());
        }
        ArwU->SetVisible(show);
        ArwD->SetVisible(show);
    } else if (!ColMove && ArwL && ArwR) {
        const bool footerRow = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle == fsFixedLastRow &&
                               prev == RowCount() - 1;
        const bool show = !footerRow && prev >= FixedRows() && prev < RowCount() && prev >= TopRow() &&
                          prev <= TopRow() + VisibleRowCount() && ARow >= 0;
        if (show) {
            const TRect r = CellRect(0, prev);
            const TPoint tl = ClientToScreen(TPoint(r.Left, r.Top)), tr = ClientToScreen(TPoint(r.Right, r.Top));
            const int y = prev < Movecell ? tl.Y - 5 : tl.Y + RowHeights(prev) - 5;
            ArwL->SetBounds(tl.X - 10, y, ArwL->Width(), ArwL->Height());
            ArwR->SetBounds(tr.X, y, ArwR->Width(), ArwR->Height());
        }
        ArwL->SetVisible(show);
        ArwR->SetVisible(show);
    }
    if (MoveButton) {
        if (!MoveButton->Visible() && !cells)
            MoveButton->SetVisible(true);
        MoveButton->SetEnabled(true);
    }
}

void TExtStringGrid::EndMoveFeedback()
{
    FreeMoveForm();
    for (TControl *w : std::initializer_list<TControl *>{MoveButton, ArwU, ArwD, ArwL, ArwR})
        if (w)
            w->SetVisible(false);
}
