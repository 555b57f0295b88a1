// Grouping rows on the values of a column: every run of equal values becomes a tree node with a
// header row (and, with Grouping.Summary, a summary row after it); a second level splits the
// groups again on another column. Group calculations write a column's sum, average and so on
// into each group's header or summary row.

#include "grid/core/ExtGrid.h"

namespace {

// Starts the scan: no cell holds these two characters.
const UnicodeString NoValue = QString(QChar(0xFF)) + QChar(0xFE);

TColor AsRGB(TColor C) { return TColorOf(ColorToRGB(C)); }

} // namespace

// ---- row colours of headers and summaries ---------------------------------------------------------

void TExtStringGrid::ColorGroupRow(int ARow, TColor Color, TColor ColorTo, TColor TextColor)
{
    if (Color != clNone)
        SetRowColor(ARow, AsRGB(Color));
    if (ColorTo != clNone)
        SetRowColorTo(ARow, AsRGB(ColorTo));
    if (TextColor != clNone)
        SetRowFontColor(ARow, AsRGB(TextColor));
}

void TExtStringGrid::ResetGroupRowColors(int ARow, TColor Color, TColor ColorTo, TColor TextColor)
{
    if (Color != clNone)
        SetRowColor(ARow, clNone);
    if (ColorTo != clNone)
        SetRowColorTo(ARow, clNone);
    if (TextColor != clNone)
        SetRowFontColor(ARow, clNone);
}

void TExtStringGrid::MarkSummaryRow(int ARow)
{
    SetSummaryRow(RealRowIndex(ARow));
    if (!(FGrouping->MergeSummary && FGrouping->Summary))
        ColorGroupRow(ARow, FGrouping->SummaryColor, FGrouping->SummaryColorTo, FGrouping->SummaryTextColor);
}

// ---- grouping -----------------------------------------------------------------------------------------

void TExtStringGrid::SetGroupColumn(int Value)
{
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

void TExtStringGrid::Group(int ColIndex)
{
    // Column 0 carries the nodes: grouped away, it would take them along and could never be
    // ungrouped.
    if (ColIndex < FixedCols() || ColIndex < 1 || ColIndex >= ColCount())
        return;
    if (FGroupColumn != -1)
        UnGroup();
    if (RowCount() - FFixedFooters <= FixedRows())
        return;

    BeginUpdate();
    FIsGrouping = true;
    // However the rearranging ends, the grid is usable afterwards.
    struct TFinish {
        TExtStringGrid *G;
        ~TFinish()
        {
            G->FIsGrouping = false;
            G->EndUpdate();
            if (G->FSearchFooter->Visible() && G->FSearchPanel) {
                G->FSearchPanel->SetWidth(G->FSearchPanel->Width() + 1);
                G->FSearchPanel->SetWidth(G->FSearchPanel->Width() - 1);
            }
        }
    } finish{this};

    FGroupColumn = ColIndex;
    FGroupWidth = ColWidths(ColIndex);
    if (FixedRows() > 0)
        FGroupCaption = GridCells(ColIndex, 0);
    if (FFixedFooters > 0)
        FGroupFooter = GridCells(ColIndex, RowCount() - 1);
    if (FSortSettings->AutoSortForGrouping) {
        FSortSettings->Column = ColIndex;
        QSort();
    }

    const int T = ColIndex == 1 ? 2 : 1;
    const bool summary = FGrouping->Summary;
    UnicodeString P = NoValue;
    int H = -1;
    int R = FixedRows();
    // Summaries are inserted one group late: the summary of a group goes in when the group after
    // it is closed, right above that group's header.
    while (R <= RowCount() - FFixedFooters - 1) {
        const UnicodeString V = GridCells(ColIndex, R);
        if (V != P) {
            if (H != -1) {
                if (H > FixedRows() && summary) {
                    InsertRows(H, 1, true);
                    MarkSummaryRow(H);
                    AddNode(RealRowIndex(H + 1), R - H);
                    ++R;
                } else {
                    AddNode(RealRowIndex(H), R - H);
                }
            }
            InsertRows(R, 1, true);
            SetCells(T, R, V);
            if (!FGrouping->MergeHeader)
                ColorGroupRow(R, FGrouping->HeaderColor, FGrouping->HeaderColorTo, FGrouping->HeaderTextColor);
            H = R;
            ++R;
        }
        if (R < RowCount() - 1)
            P = GridCells(ColIndex, R);
        ++R;
    }
    if (H == -1) {
        AddNode(RealRowIndex(FixedRows()), R - 1);
    } else {
        if (H > FixedRows() && summary) {
            InsertRows(H, 1, true);
            MarkSummaryRow(H);
            ++H;
            ++R;
        }
        AddNode(RealRowIndex(H), R - H);
        if (!FGrouping->MergeHeader)
            ColorGroupRow(H, FGrouping->HeaderColor, FGrouping->HeaderColorTo, FGrouping->HeaderTextColor);
    }
    if (summary) {
        InsertRows(R, 1, true);
        MarkSummaryRow(R);
    }

    RemoveCols(ColIndex, 1);

    const bool mergeSummary = FGrouping->MergeSummary && summary;
    if (FGrouping->MergeHeader || mergeSummary) {
        for (int B = FixedRows(); B < RowCount(); ++B) {
            if (IsNode(B)) {
                if (FGrouping->MergeHeader) {
                    MergeCells(1, B, ColCount() - 1, 1);
                    ColorGroupRow(B, FGrouping->HeaderColor, FGrouping->HeaderColorTo, FGrouping->HeaderTextColor);
                }
            } else if (mergeSummary && (B == RowCount() - 1 || IsNode(B + 1))) {
                MergeCells(1, B, ColCount() - 1, 1);
                ColorGroupRow(B, FGrouping->SummaryColor, FGrouping->SummaryColorTo, FGrouping->SummaryTextColor);
            }
        }
    }

    if (FCellNode->ExpandOne())
        for (int B = FixedRows(); B < RowCount(); ++B)
            if (IsNode(B)) {
                ExpandNode(RealRowIndex(B));
                break;
            }

    if (Col() >= ColCount() || Row() >= RowCount())
        MoveCurrent(FixedCols(), FixedRows(), true, false);
    if (FixedRows() < RowCount())
        SetRow(FixedRows());
}

void TExtStringGrid::UnGroup()
{
    if (FGroupColumn <= 0)
        return;
    // Sub-groups go first, so that the main column comes back with its own saved values.
    if (FSubGroupColumn != -1)
        SubUnGroup(FSubGroupColumn);

    const bool expandOne = FCellNode->ExpandOne();
    FCellNode->SetExpandOne(false);
    ExpandAll();

    InsertCols(FGroupColumn, 1);
    SetColWidths(FGroupColumn, FGroupWidth);
    if (FixedRows() > 0)
        SetCells(FGroupColumn, 0, FGroupCaption);
    if (FFixedFooters > 0)
        SetCells(FGroupColumn, RowCount() - 1, FGroupFooter);

    FIsGrouping = true;
    const int T = FGroupColumn == 1 ? 2 : 1;
    UnicodeString G;
    int R = FixedRows();
    while (R <= RowCount() - FFixedFooters - 1) {
        if (!IsNode(R)) {
            SetCells(FGroupColumn, R, G);
            ++R;
            continue;
        }
        if (FGrouping->Summary) {
            const int S = R + GetNodeSpan(R);
            if (S < RowCount() && IsSummary(S)) {
                if (FGrouping->MergeSummary)
                    SplitCells(1, S);
                else
                    ResetGroupRowColors(S, FGrouping->SummaryColor, FGrouping->SummaryColorTo,
                                        FGrouping->SummaryTextColor);
                ClearRows(S, 1);
                RemoveRows(S, 1);
            }
        }
        G = GridCells(T, R);
        RemoveNode(RealRowIndex(R));
        FreeCellObject(0, R);
        if (FGrouping->MergeHeader)
            SplitCells(1, R);
        else
            ResetGroupRowColors(R, FGrouping->HeaderColor, FGrouping->HeaderColorTo, FGrouping->HeaderTextColor);
        ClearRows(R, 1);
        RemoveRows(R, 1);
    }
    FIsGrouping = false;
    FGroupColumn = -1;
    FCellNode->SetExpandOne(expandOne);
    Invalidate();
}

// ---- the second level ---------------------------------------------------------------------------------

void TExtStringGrid::SubGroup(int ColIndex)
{
    if (ColIndex < FixedCols() || ColIndex < 1 || ColIndex + 1 >= ColCount() || FGroupColumn == -1)
        return;
    if (FSubGroupColumn != -1)
        SubUnGroup(FSubGroupColumn);
    BeginUpdate();
    struct TFinish {
        TExtStringGrid *G;
        ~TFinish() { G->EndUpdate(); }
    } finish{this};
    // The main grouping keeps its saved column: ungrouping restores it after the sub-groups go.
    FSubGroupColumn = ColIndex;
    const int textCol = ColIndex + 1;

    auto special = [this](int ARow) { return IsNode(ARow) || IsSummary(ARow); };
    auto closeSubHeader = [&](int H, int R) {
        AddNode(RealRowIndex(H), R - H);
        if (TCellGraphic *g = GetCellGraphic(0, H))
            g->SetCellVar(ColIndex);
    };
    auto dressSubHeader = [&](int H) {
        if (FGrouping->MergeHeader)
            MergeCells(textCol, H, ColCount() - textCol, 1);
        ColorGroupRow(H, FGrouping->HeaderColor, FGrouping->HeaderColorTo, FGrouping->HeaderTextColor);
    };

    UnicodeString P = NoValue;
    int H = -1;
    int R = FixedRows() + 1;
    while (R < RowCount() - FFixedFooters) {
        const UnicodeString V = Cells(ColIndex, R);
        const bool isSpecial = special(R);
        if (V != P || isSpecial) {
            if (H != -1 && !special(H))
                closeSubHeader(H, R);
            if (!isSpecial) {
                InsertChildRow(RealRowIndex(R), 0);
                SetCells(textCol, R, V);
                dressSubHeader(R);
            }
            H = R;
            ++R;
        }
        if (R >= RowCount() - FFixedFooters || special(R - 1)) {
            P = NoValue;
        } else {
            P = Cells(ColIndex, R);
            SetCells(ColIndex, R, UnicodeString());
            ++R;
        }
    }
    if (H == -1 || !IsSummary(H)) {
        if (H == -1) {
            if (R < RowCount() - FFixedFooters) {
                InsertChildRow(RealRowIndex(R), 0);
                closeSubHeader(R, R + 2);
                SetCells(textCol, R, Cells(ColIndex, R + 1));
                SetCells(ColIndex, R + 1, UnicodeString());
            }
        } else if (!IsNode(H)) {
            closeSubHeader(H, R);
            dressSubHeader(H);
        }
        if (R < RowCount() - FFixedFooters && R > 0 && !special(R - 1)) {
            SetCells(ColIndex, R, UnicodeString());
            ++R;
        }
    }
    if (FixedRows() < RowCount())
        SetRow(FixedRows());
}

void TExtStringGrid::SubUnGroup(int ColIndex)
{
    ExpandAll();
    UnicodeString G;
    int R = FixedRows();
    while (R <= RowCount() - FFixedFooters - 1) {
        if (IsNode(R)) {
            TCellGraphic *g = GetCellGraphic(0, R);
            if (g && g->CellVar().toInt() == ColIndex) {
                G = Cells(ColIndex + 1, R);
                RemoveNode(RealRowIndex(R));
                if (FGrouping->MergeHeader)
                    SplitCells(ColIndex + 1, R);
                else
                    ResetGroupRowColors(R, FGrouping->HeaderColor, FGrouping->HeaderColorTo,
                                        FGrouping->HeaderTextColor);
                RemoveChildRow(RealRowIndex(R));
            } else {
                ++R;
            }
        } else if (IsSummary(R)) {
            ++R;
        } else {
            SetCells(ColIndex, R, G);
            ++R;
        }
    }
    if (ColIndex == FSubGroupColumn)
        FSubGroupColumn = -1;
}

// ---- group calculations -----------------------------------------------------------------------------

void TExtStringGrid::GroupCalc(int Colindex, int Method)
{
    if (Method < 1 || Method > 8)
        return;
    int R = FixedRows();
    while (R < RowCount()) {
        if (!IsNode(R) || GetNodeState(R)) {
            ++R;
            continue;
        }
        const int S = std::max(1, GetNodeSpan(R));
        const int target = FGrouping->Summary ? R + S : R;
        const int from = R + 1, to = R + S - 1;
        // A group whose value cannot be computed shows an empty cell; the others still get theirs.
        try {
            switch (Method) {
            case 1:
                SetFloats(Colindex, target, ColumnSum(Colindex, from, to));
                break;
            case 2:
                SetFloats(Colindex, target, ColumnAvg(Colindex, from, to));
                break;
            case 3:
                SetFloats(Colindex, target, ColumnMin(Colindex, from, to));
                break;
            case 4:
                SetFloats(Colindex, target, ColumnMax(Colindex, from, to));
                break;
            case 5:
                SetInts(Colindex, target, S - 1);
                break;
            case 6:
                SetFloats(Colindex, target, DoGroupCalc(Colindex, from, to));
                break;
            case 7:
                SetFloats(Colindex, target, ColumnDistinct(Colindex, from, to));
                break;
            case 8:
                SetFloats(Colindex, target, ColumnStdDev(Colindex, from, to));
                break;
            default:
                break;
            }
        } catch (const RIdeZareVorev &) {
            SetCells(Colindex, target, UnicodeString());
        }
        R += S;
    }
}

namespace {

// The group figure, and the same figure for the whole column in the floating footer.
void GroupCalcWithFooter(TExtStringGrid *G, int Colindex, int Method, TColumnCalcType FooterCalc)
{
    G->GroupCalc(Colindex, Method);
    if (G->FloatingFooter()->Visible())
        G->FloatingFooter()->SetColumnCalc(Colindex, FooterCalc);
}

} // namespace

void TExtStringGrid::GroupSum(int Colindex) { GroupCalcWithFooter(this, Colindex, 1, acSUM); }

void TExtStringGrid::GroupAvg(int Colindex) { GroupCalcWithFooter(this, Colindex, 2, acAVG); }

void TExtStringGrid::GroupMin(int Colindex) { GroupCalcWithFooter(this, Colindex, 3, acMIN); }

void TExtStringGrid::GroupMax(int Colindex) { GroupCalcWithFooter(this, Colindex, 4, acMAX); }

void TExtStringGrid::GroupCount(int Colindex) { GroupCalcWithFooter(this, Colindex, 5, acCOUNT); }
