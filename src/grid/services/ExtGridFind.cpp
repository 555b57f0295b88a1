// Search and replace in the string grid: the cell test, the scan in either order and direction,
// Replace, and the quick lookup in the sort column.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/ExtDropDown.h"
#include "controls/MiniHTML.h"

#include <algorithm>

bool TExtStringGrid::MatchFindCell(int ACol, int ARow, bool Wide)
{
    const TFindParams &p = FFindParams;
    const int col = p.Contains(fnIncludeHiddenColumns) ? ACol : DisplToRealCol(ACol);
    UnicodeString text = Wide ? WideCells(col, ARow) : p.Contains(fnIncludeHiddenRows) ? AllCells(col, ARow) : Cells(col, ARow);
    const UnicodeString raw = text;
    if (!p.Contains(fnMatchCase))
        text = AnsiUpperCase(text);
    if (p.Contains(fnIgnoreHTMLTags) && !Wide)
        text = StripHtmlTags(text);
    if (FSearchText == QStringLiteral("\"\""))
        return text.isEmpty();
    if (p.Contains(fnMatchRegular)) {
        try {
            return MatchFilterExpression(FSearchText, p.Contains(fnIgnoreHTMLTags) ? StripHtmlTags(raw) : raw,
                                         p.Contains(fnMatchCase));
        } catch (const std::exception &) {
            return false;
        }
    }
    // An empty search text stands nowhere in a cell.
    const qsizetype at = FSearchCache.isEmpty() ? -1 : text.indexOf(FSearchCache);
    const bool ok1 = p.Contains(fnMatchStart) ? at == 0 : at >= 0;
    const bool ok2 = !p.Contains(fnMatchFull) || text == FSearchCache;
    return ok1 && ok2;
}

TPoint TExtStringGrid::RunFind(TPoint StartCell, const UnicodeString &s, TFindParams P, bool Wide)
{
    TPoint result(-1, -1);
    FFindParams = P;
    FFindBusy = true;
    FSearchText = s;
    FSearchCache = P.Contains(fnMatchCase) ? s : AnsiUpperCase(s);
    if (ColCount() == FixedCols() || ColCount() == 0 || AllRowCount() == FixedRows() || RowCount() == 0) {
        FFindBusy = false;
        return result;
    }
    int c1 = FixedCols(), c2 = ColCount() - FFixedRightCols - 1;
    int r1 = FixedRows(), r2 = RowCount() - FFixedFooters - 1;
    if (P.Contains(fnIncludeFixed)) {
        c1 = 0;
        c2 = ColCount() - 1;
        r1 = 0;
        r2 = RowCount() - 1;
    }
    if (P.Contains(fnSelectedCells)) {
        const TGridRect sel = Selection();
        c1 = std::min(sel.Left, sel.Right);
        c2 = std::max(sel.Left, sel.Right);
        r1 = std::min(sel.Top, sel.Bottom);
        r2 = std::max(sel.Top, sel.Bottom);
    }
    if (P.Contains(fnIncludeHiddenColumns))
        c2 += NumHiddenColumns();
    if (P.Contains(fnIncludeHiddenRows))
        r2 += NumHiddenRows();
    const bool back = P.Contains(fnBackward);
    const bool byRow = P.Contains(fnDirectionLeftRight);
    // A scan kept to one row or column starts on it. The line is fixed before the step, so that a
    // step along it leaves it and the scan goes on instead of finding the same cell again.
    int sc = StartCell.X, sr = StartCell.Y;
    const bool fromStart = sc == -1 && sr == -1;
    if (P.Contains(fnFindInCurrentRow))
        sr = r1 = r2 = Row();
    if (P.Contains(fnFindInPresetRow))
        sr = r1 = r2 = FindRow;
    if (P.Contains(fnFindInCurrentCol))
        sc = c1 = c2 = Col();
    if (P.Contains(fnFindInPresetCol))
        sc = c1 = c2 = FindCol;
    if (fromStart) {
        sc = back ? c2 : c1;
        sr = back ? r2 : r1;
    } else {
        // One step on in the scan order; it may leave the bounds, and the scan then takes the
        // next line.
        int &inner = byRow ? sc : sr;
        int &outer = byRow ? sr : sc;
        const int innerLast = byRow ? c2 : r2, outerLast = byRow ? r2 : c2;
        const int innerFirst = byRow ? c1 : r1, outerFirst = byRow ? r1 : c1;
        if (!back) {
            if (inner <= innerLast)
                ++inner;
            else if (outer <= outerLast)
                ++outer;
            else {
                sc = c1;
                sr = r1;
            }
        } else {
            if (inner >= innerFirst)
                --inner;
            else if (outer >= outerFirst)
                --outer;
            else {
                sc = c2;
                sr = r2;
            }
        }
    }
    const int step = back ? -1 : 1;
    bool found = false;
    int fc = -1, fr = -1;
    if (byRow) {
        int c = sc;
        for (int d = sr; !found && d >= r1 && d <= r2; d += step) {
            for (; c >= c1 && c <= c2; c += step) {
                ExportNotification(esExportNewRow, d);
                if (IsIgnoredColumn(c))
                    continue;
                if (MatchFindCell(c, d, Wide)) {
                    found = true;
                    fc = c;
                    fr = d;
                    break;
                }
            }
            c = P.Contains(fnFindInCurrentCol) ? Col() : back ? c2 : c1;
        }
    } else {
        int d = sr;
        for (int c = sc; !found && c >= c1 && c <= c2; c += step) {
            for (; d >= r1 && d <= r2; d += step) {
                ExportNotification(esExportNewRow, d);
                if (MatchFindCell(c, d, Wide)) {
                    found = true;
                    fc = c;
                    fr = d;
                    break;
                }
            }
            d = P.Contains(fnFindInCurrentRow) ? Row() : back ? r2 : r1;
        }
    }
    if (!found) {
        FFindBusy = false;
        return result;
    }
    FSearchCell = TPoint(fc, fr);
    result = FSearchCell;
    if (P.Contains(fnAutoGoto)) {
        int row = fr;
        if (P.Contains(fnIncludeHiddenRows) && NumHiddenRows() > 0) {
            // A row hidden under a contracted node is shown by expanding that node.
            if (FGridItems->IsHidden(fr))
                ExpandNodeOver(fr);
            row = FGridItems->IsHidden(fr) ? -1 : DisplRowIndex(fr);
        }
        const int col = P.Contains(fnIncludeHiddenColumns) ? DisplColIndex(fc) : fc;
        if (row >= 0 && row < RowCount() && col >= 0 && col < ColCount()) {
            if (FMouseActions->DisjunctRowSelect()) {
                ClearRowSelect();
                SetRowSelect(row, true);
                SetRow(row);
            } else {
                SetRow(row);
                SetCol(col);
            }
        }
    }
    return result;
}

void TExtStringGrid::ExpandNodeOver(int ARealRow)
{
    // The shown rows from the top, each standing for its node's span of real rows (itself and
    // the rows under it), until the one whose span holds the row.
    int real = FixedRows();
    for (int r = FixedRows(); r < RowCount() && real <= ARealRow; ++r) {
        const int span = IsNode(r) ? std::max(GetNodeSpan(r), 1) : 1;
        if (real + span > ARealRow) {
            if (span > 1)
                ExpandNode(RealRowIndex(r));
            return;
        }
        real += span;
    }
}

TPoint TExtStringGrid::Find(TPoint StartCell, const UnicodeString &s, TFindParams FindParams)
{
    ExportNotification(esExportStart, -1);
    const TPoint r = RunFind(StartCell, s, FindParams, false);
    // Kept as callers know it: a found cell reports esExportFail, none esExportDone.
    ExportNotification(r.X < 0 ? esExportDone : esExportFail, -1);
    if (FindParams.Contains(fnAutoGoto) && r.X >= 0) {
        const int a = FFloatingFooter->Visible() ? 2 : 0;
        if (Row() > TopRow() + VisibleRowCount() - a - 2 && VisibleRowCount() + FixedRows() + a < RowCount())
            SetTopRow(TopRow() + a + 1);
    }
    return r;
}

TPoint TExtStringGrid::FindWide(TPoint StartCell, const UnicodeString &s, TFindParams FindParams)
{
    ExportNotification(esExportStart, -1);
    const TPoint r = RunFind(StartCell, s, FindParams, true);
    ExportNotification(r.X < 0 ? esExportDone : esExportFail, -1);
    return r;
}

TPoint TExtStringGrid::FindFirst(const UnicodeString &s, TFindParams FindParams)
{
    FSearchCell = Find(TPoint(-1, -1), s, FindParams);
    return FSearchCell;
}

TPoint TExtStringGrid::FindNext()
{
    FSearchCell = Find(FSearchCell, FSearchText, FFindParams);
    return FSearchCell;
}

int TExtStringGrid::Replace(const UnicodeString &OrigStr, const UnicodeString &NewStr, TFindParams FindParams)
{
    int count = 0;
    const Qt::CaseSensitivity cs = FindParams.Contains(fnMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool hiddenRows = FindParams.Contains(fnIncludeHiddenRows);
    TPoint cell(-1, -1);
    for (;;) {
        cell = Find(cell, OrigStr, FindParams);
        if (cell.X < 0)
            break;
        const int col = FindParams.Contains(fnIncludeHiddenColumns) ? cell.X : DisplToRealCol(cell.X);
        UnicodeString text = hiddenRows ? AllCells(col, cell.Y) : Cells(col, cell.Y);
        text.replace(OrigStr, NewStr, cs);
        if (hiddenRows)
            SetAllCells(col, cell.Y, text);
        else
            SetCells(col, cell.Y, text);
        if (FShowModified->Enabled)
            SetRowModified(hiddenRows ? cell.Y : RealRowIndex(cell.Y), true);
        ++count;
    }
    return count;
}

int TExtStringGrid::Search(const UnicodeString &Value)
{
    if (RowCount() < 2)
        return -1;
    int col = FixedCols();
    if (FSortSettings->Show) {
        if (FSortSettings->IndexShow)
            col = FSortIndexes->Count() > 0 ? FSortIndexes->SortColumns(0) : FixedCols();
        else
            col = FSortSettings->Column;
    }
    if (col < 0)
        return -1;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (AnsiUpperCase(StrippedCells(col, r)).left(Value.size()) == Value)
            return r;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// The search footer

void TRetEdit::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_RETURN) {
        const TNotifyEvent &e = Shift.Contains(ssCtrl) ? OnCtrlReturn : OnReturn;
        Key = 0;
        if (e)
            e(this);
        return;
    }
    TEdit::KeyDown(Key, Shift);
}

void TRetEdit::KeyPress(WideChar &Key)
{
    if (Key == WideChar(13) || Key == WideChar(10)) {
        if (OnKeyPress)
            OnKeyPress(this, Key);
        Key = WideChar(0);
        return;
    }
    TEdit::KeyPress(Key);
}

TSearchPanel::TSearchPanel(TComponent *AOwner) : TPanel(AOwner), FGrid(dynamic_cast<TExtStringGrid *>(AOwner))
{
    SetAlign(alBottom);
    SetHeight(0);
    SetBorderWidth(0);
    FEdit = new TRetEdit(this);
    FEdit->SetParent(this);
    FEdit->SetBounds(25, 6, 110, 21);
    FEdit->OnChange = [this](TObject *Sender) { EditChanged(Sender); };
    FEdit->OnReturn = [this](TObject *) {
        if (OnForwardClick)
            OnForwardClick(this);
    };
    FEdit->OnCtrlReturn = [this](TObject *) {
        if (OnBackwardClick)
            OnBackwardClick(this);
    };
    auto button = [this](int Left, int Top, int W, int H, TNotifyEvent *Event) {
        auto *b = new TExtGridButton(this);
        b->SetParent(this);
        b->SetBounds(Left, Top, W, H);
        b->OnClick = [this, Event](TObject *) {
            if (*Event)
                (*Event)(this);
        };
        return b;
    };
    FForward = button(140, 5, 90, 23, &OnForwardClick);
    FBackward = button(235, 5, 90, 23, &OnBackwardClick);
    FExit = button(5, 7, 14, 14, &OnExitClick);
    FHighLight = button(330, 5, 90, 23, &OnHighLightClick);
    FHighLight->SetGroupIndex(1);
    FHighLight->SetAllowAllUp(true);
    FHighLight->SetVisible(false);
    FForward->SetEnabled(false);
    FBackward->SetEnabled(false);
    FMatchCase = new TExtCheckBox(this);
    FMatchCase->SetParent(this);
    FMatchCase->SetBounds(330, 8, 120, 17);
    FHighLight->SetEnabled(false);
    auto glyph = [](TExtGridButton *B, void (TExtGridButton::*Set)(TBitmap *), const char *Name) {
        TBitmap bmp;
        bmp.LoadFromResourceName(QString::fromLatin1(Name));
        (B->*Set)(&bmp);
    };
    glyph(FForward, &TExtGridButton::SetGlyph, "ESGARDOWN");
    glyph(FForward, &TExtGridButton::SetGlyphDisabled, "ESGARDOWND");
    glyph(FBackward, &TExtGridButton::SetGlyph, "ESGARUP");
    glyph(FBackward, &TExtGridButton::SetGlyphDisabled, "ESGARUPD");
    glyph(FExit, &TExtGridButton::SetGlyph, "ESGCLOSE");
    glyph(FExit, &TExtGridButton::SetGlyphHot, "ESGCLOSEH");
    glyph(FExit, &TExtGridButton::SetGlyphDown, "ESGCLOSED");
    glyph(FHighLight, &TExtGridButton::SetGlyph, "ESGHI");
    glyph(FHighLight, &TExtGridButton::SetGlyphDisabled, "ESGHID");
    if (FGrid) {
        OnEditChange = [g = FGrid](TObject *Sender) { g->SearchFooterEditChange(Sender); };
        OnForwardClick = [g = FGrid](TObject *Sender) { g->SearchFooterFindNext(Sender); };
        OnBackwardClick = [g = FGrid](TObject *Sender) { g->SearchFooterFindPrevious(Sender); };
        OnExitClick = [g = FGrid](TObject *Sender) { g->SearchFooterClose(Sender); };
        OnHighLightClick = [g = FGrid](TObject *Sender) { g->SearchFooterHighlight(Sender); };
        if (TSearchFooter *f = FGrid->SearchFooter()) {
            FForward->SetCaption(f->FindNextCaption());
            FBackward->SetCaption(f->FindPrevCaption());
            FMatchCase->SetCaption(f->MatchCaseCaption());
        }
    }
}

void TSearchPanel::Place(TControl *C, int ALeft, int ATop)
{
    C->SetBounds(UseRightToLeftReading() ? Width() - C->Width() - ALeft : ALeft, ATop, C->Width(), C->Height());
}

void TSearchPanel::PlaceMatchCase() { Place(FMatchCase, FHighLight->Visible() ? 425 : 330, 8); }

void TSearchPanel::LayOut()
{
    Place(FEdit, 25, 6);
    Place(FForward, 140, 5);
    Place(FBackward, 235, 5);
    Place(FExit, 5, 7);
    Place(FHighLight, 330, 5);
    PlaceMatchCase();
}

void TSearchPanel::CreateWnd()
{
    TPanel::CreateWnd();
    // Mirroring needs the width the panel takes at the bottom of the grid.
    if (Parent() && Align() != alNone)
        Parent()->Realign();
    LayOut();
    if (FGrid && FGrid->OnCreatedSearchFooter)
        FGrid->OnCreatedSearchFooter(FGrid);
}

void TSearchPanel::Resize()
{
    TPanel::Resize();
    if (FMatchCase && HandleAllocated() && UseRightToLeftReading())
        LayOut();
}

void TSearchPanel::EditChanged(TObject *Sender)
{
    const bool any = !FEdit->Text().isEmpty();
    FForward->SetEnabled(any);
    FBackward->SetEnabled(any);
    FHighLight->SetEnabled(any);
    if (OnEditChange)
        OnEditChange(this);
}

void TSearchPanel::SetColorTo(TColor Value)
{
    FColorTo = Value;
    Invalidate();
}

void TSearchPanel::Paint()
{
    TPanel::Paint();
    TCanvas *c = Canvas();
    const TRect r = ClientRect();
    if (FColorTo == clNone) {
        c->Pen()->SetColor(Color());
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Rectangle(r);
    } else {
        DrawGradient(c, Color(), FColorTo, 32, r, false);
    }
    c->Pen()->SetColor(FGrid ? FGrid->GridLineColor() : clSilver);
    c->MoveTo(0, 0);
    c->LineTo(Width(), 0);
}

namespace {

// The options the footer's own searches share.
TFindParams FooterParams(TExtStringGrid *G, TSearchPanel *Panel)
{
    TSearchFooter *f = G->SearchFooter();
    TFindParams p{fnAutoGoto};
    // Highlighted matches are tags in the cell text, which the search looks through.
    if (Panel->HighLightButton()->Down())
        p << fnIgnoreHTMLTags;
    if (Panel->MatchCase()->Checked())
        p << fnMatchCase;
    if (f->SearchActiveColumnOnly)
        p << fnFindInCurrentCol;
    if (f->SearchMatchStart)
        p << fnMatchStart;
    if (f->SearchDirection == sdLeftRight)
        p << fnDirectionLeftRight;
    if (f->SearchColumn >= 0 && f->SearchColumn < G->ColCount()) {
        p << fnFindInPresetCol;
        G->FindCol = f->SearchColumn;
    }
    return p;
}

// The edit takes a new colour at once only when its size changes: a pixel wider and back.
void ColourSearchEdit(TEdit *Edit, TColor Color)
{
    Edit->SetColor(Color);
    const int w = Edit->Width();
    Edit->SetWidth(w + 1);
    Edit->SetWidth(w);
}

} // namespace

void TExtStringGrid::SearchFooterEditChange(TObject *Sender)
{
    TRetEdit *edit = FSearchPanel->EditControl();
    const UnicodeString text = edit->Text();
    bool defaultSearch = true;
    if (OnSearchEditChange)
        OnSearchEditChange(this, text, defaultSearch);
    if (!defaultSearch || !FSearchFooter->AutoSearch)
        return;
    TFindParams p = FooterParams(this, FSearchPanel);
    if (FSearchFooter->SearchFixedCells)
        p << fnIncludeFixed;
    if (FSearchFooter->SearchHiddenRows)
        p << fnIncludeHiddenRows;
    const bool highlight = FSearchPanel->HighLightButton()->Down() || FSearchFooter->AlwaysHighLight;
    if (highlight)
        SearchFooterUnHighlight();
    if (text.isEmpty()) {
        ColourSearchEdit(edit, clWindow);
        return;
    }
    FSearchCell = Find(TPoint(-1, -1), text, p);
    DoSearchFooterAction(text, FSearchCell.X, FSearchCell.Y, saFindFirst);
    ColourSearchEdit(edit, FSearchCell.X < 0 ? clRed : clWindow);
    if (FSearchCell.X >= 0)
        ScrollInView(FSearchCell.X, FSearchCell.Y);
    if (FSearchCell.X >= 0 && highlight)
        SearchFooterHighlightText(text);
}

void TExtStringGrid::SearchFooterHighlight(TObject *Sender)
{
    if (FSearchPanel->HighLightButton()->Down())
        SearchFooterHighlightText(FSearchPanel->EditControl()->Text());
    else
        SearchFooterUnHighlight();
}

void TExtStringGrid::SearchFooterHighlightText(const UnicodeString &Text)
{
    if (Text.isEmpty())
        return;
    const bool doCase = FSearchPanel->MatchCase()->Checked();
    if (FSearchFooter->SearchColumn == -1)
        HilightInGrid(false, doCase, Text);
    else
        HilightInCol(false, doCase, FSearchFooter->SearchColumn, Text);
}

void TExtStringGrid::SearchFooterUnHighlight()
{
    if (FSearchFooter->SearchColumn == -1)
        UnHilightInGrid(false);
    else
        UnHilightInCol(false, FSearchFooter->SearchColumn);
}

void TExtStringGrid::SearchFooterKeepRowClear()
{
    // The current row near the bottom: two more rows come up, so that it stays clear of the panel.
    const int spare = FFloatingFooter->Visible() ? 0 : 1;
    if (Row() > TopRow() + VisibleRowCount() + spare - 3 &&
        VisibleRowCount() + FixedRows() + (FFloatingFooter->Visible() ? 1 : 0) < RowCount())
        SetTopRow(TopRow() + 2);
}

void TExtStringGrid::SearchFooterFindNext(TObject *Sender)
{
    const UnicodeString text = FSearchPanel->EditControl()->Text();
    if (!FSearchFooter->AutoSearch && text != FSearchFooter->LastSearch)
        FSearchCell = TPoint(-1, -1);
    FSearchFooter->LastSearch = text;
    FSearchCell = Find(FSearchCell, text, FooterParams(this, FSearchPanel));
    if (FSearchCell.X >= 0)
        ScrollInView(FSearchCell.X, FSearchCell.Y);
    SearchFooterKeepRowClear();
    DoSearchFooterAction(text, FSearchCell.X, FSearchCell.Y, saFindNext);
    FSearchPanel->Invalidate();
}

void TExtStringGrid::SearchFooterFindPrevious(TObject *Sender)
{
    const UnicodeString text = FSearchPanel->EditControl()->Text();
    if (!FSearchFooter->AutoSearch && text != FSearchFooter->LastSearch)
        FSearchCell = TPoint(-1, -1);
    FSearchFooter->LastSearch = text;
    TFindParams p = FooterParams(this, FSearchPanel);
    p >> fnDirectionLeftRight;
    p << fnBackward;
    FSearchCell = Find(FSearchCell, text, p);
    SearchFooterKeepRowClear();
    if (FSearchCell.X >= 0)
        ScrollInView(FSearchCell.X, FSearchCell.Y);
    DoSearchFooterAction(text, FSearchCell.X, FSearchCell.Y, saFindPrevious);
    FSearchPanel->Invalidate();
}

void TExtStringGrid::SearchFooterClose(TObject *Sender)
{
    if (OnSearchFooterClose)
        OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}
