// Cells read and written as numbers, dates and times; values of the controls in a cell's
// mini-HTML; highlight and error marks over cells; the cell checker run over ranges; fills.

#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "dropdowns/ExtGridCheck.h"
#include "platform/SysUtils.h"

#include <QRandomGenerator>

namespace {

const UnicodeString HighlightTag = QStringLiteral("hi");
const UnicodeString ErrorTag = QStringLiteral("e");

[[noreturn]] void RaiseNoInteger() { throw RIdeZareVorev(QStringLiteral("Cell does not contain integer value")); }
[[noreturn]] void RaiseNoFloat() { throw RIdeZareVorev(QStringLiteral("Cell does not contain a float value")); }

// The ranges of marking, checking and filling: DoFixed takes the fixed rows and columns too.
// Columns reach to FixedWidth (DoFixed) or NormalWidth less the right fixed columns; the grid
// counts shown or all columns depending on the operation.
TRect ColRange(const TExtStringGrid *G, bool DoFixed, int Col)
{
    return DoFixed ? TRect(Col, 0, Col, G->RowCount() - 1)
                   : TRect(Col, G->FixedRows(), Col, G->RowCount() - G->FixedFooters() - 1);
}

TRect RowRange(const TExtStringGrid *G, bool DoFixed, int Row, int Width)
{
    return DoFixed ? TRect(0, Row, Width - 1, Row) : TRect(G->FixedCols(), Row, Width - G->FixedRightCols() - 1, Row);
}

TRect GridRange(const TExtStringGrid *G, bool DoFixed, int FixedWidth, int NormalWidth)
{
    return DoFixed ? TRect(0, 0, FixedWidth - 1, G->RowCount() - 1)
                   : TRect(G->FixedCols(), G->FixedRows(), NormalWidth - G->FixedRightCols() - 1,
                           G->RowCount() - G->FixedFooters() - 1);
}

void CheckPrintColumn(int ACol, const std::vector<int> &Table)
{
    if (ACol < 0 || std::size_t(ACol) >= Table.size())
        throw RIdeZareVorev(QStringLiteral("Columns is not in valid range"));
}

} // namespace

// ---- typed values -------------------------------------------------------------------------------

int TExtStringGrid::Ints(int ACol, int ARow)
{
    int v = 0;
    if (!CellTextToInt(StrippedCells(ACol, ARow), v))
        RaiseNoInteger();
    return v;
}

void TExtStringGrid::SetInts(int ACol, int ARow, int Value) { SetCells(ACol, ARow, IntToStr(Value)); }

int TExtStringGrid::AllInts(int ACol, int ARow)
{
    int v = 0;
    if (!CellTextToInt(AllCells(ACol, ARow), v))
        RaiseNoInteger();
    return v;
}

void TExtStringGrid::SetAllInts(int ACol, int ARow, int Value) { SetAllCells(ACol, ARow, IntToStr(Value)); }

bool TExtStringGrid::CellTextToNumber(const UnicodeString &Text, double &Value)
{
    if (!CellTextToFloat(Text, Value))
        return false;
    const UnicodeString t = Text.trimmed();
    if (t.isEmpty() || t == QStringLiteral("-"))
        return true;
    const UnicodeString n = ExtractNumberText(t);
    return !n.isEmpty() && n != QStringLiteral("-");
}

double TExtStringGrid::Floats(int ACol, int ARow)
{
    double v = 0;
    if (!CellTextToNumber(StrippedCells(ACol, ARow), v))
        RaiseNoFloat();
    return v;
}

void TExtStringGrid::SetFloats(int ACol, int ARow, double Value)
{
    SetCells(ACol, ARow, Format(GetCellFloatFormat(ACol, ARow), {Value}));
}

double TExtStringGrid::AllFloats(int ACol, int ARow)
{
    double v = 0;
    if (!CellTextToNumber(StripHtmlTags(AllCells(ACol, ARow)), v))
        RaiseNoFloat();
    return v;
}

void TExtStringGrid::SetAllFloats(int ACol, int ARow, double Value)
{
    SetAllCells(ACol, ARow, Format(FFloatFormat, {Value}));
}

TDateTime TExtStringGrid::Dates(int ACol, int ARow) { return StrToDate(Cells(ACol, ARow)); }

void TExtStringGrid::SetDates(int ACol, int ARow, TDateTime Value)
{
    SetCells(ACol, ARow, Value > 0 || FShowNullDates ? DateToStr(Value) : UnicodeString());
}

TDateTime TExtStringGrid::Times(int ACol, int ARow) { return StrToTime(Cells(ACol, ARow)); }

void TExtStringGrid::SetTimes(int ACol, int ARow, TDateTime Value) { SetCells(ACol, ARow, TimeToStr(Value)); }

UnicodeString TExtStringGrid::ControlValues(int ACol, int ARow, const UnicodeString &ID)
{
    UnicodeString v;
    return GetControlValue(Cells(ACol, ARow), ID, v) ? v : UnicodeString();
}

void TExtStringGrid::SetControlValues(int ACol, int ARow, const UnicodeString &ID, const UnicodeString &Value)
{
    UnicodeString text = Cells(ACol, ARow);
    if (SetControlValue(text, ID, Value))
        SetCells(ACol, ARow, text);
}

int TExtStringGrid::PrintColWidth(int ACol) const
{
    CheckPrintColumn(ACol, MaxWidths);
    return MaxWidths[std::size_t(ACol)];
}

int TExtStringGrid::PrintColOffset(int ACol) const
{
    CheckPrintColumn(ACol, Indents);
    return Indents[std::size_t(ACol)];
}

// ---- marking text ---------------------------------------------------------------------------------

UnicodeString TExtStringGrid::HilightText(bool DoCase, const UnicodeString &S, const UnicodeString &Text)
{
    UnicodeString result;
    HighlightMatches(S, Text, HighlightTag, DoCase, result);
    return result;
}

UnicodeString TExtStringGrid::UnHilightText(const UnicodeString &S) { return RemoveHighlightTags(S, HighlightTag); }

UnicodeString TExtStringGrid::MarkText(bool DoCase, const UnicodeString &S, const UnicodeString &Text)
{
    UnicodeString result;
    HighlightMatches(S, Text, ErrorTag, DoCase, result);
    return result;
}

UnicodeString TExtStringGrid::UnMarkText(const UnicodeString &S) { return RemoveHighlightTags(S, ErrorTag); }

// The stored text is read and written, never the display text: a display hook's text stored in
// its place would change the cell's value.
void TExtStringGrid::TagTextInRect(const UnicodeString &HiText, const UnicodeString &Tag, int ACol1, int ARow1,
                                   int ACol2, int ARow2, bool DoCase)
{
    const UnicodeString search = EncodeHtmlEntities(HiText, false);
    for (int r = ARow1; r <= ARow2; ++r)
        for (int c = ACol1; c <= ACol2; ++c) {
            if (IsMergedNonBaseCell(c, r))
                continue;
            UnicodeString result;
            HighlightMatches(EncodeHtmlEntities(GridCells(c, r), false), search, Tag, DoCase, result);
            SetCells(c, r, result);
        }
}

void TExtStringGrid::UntagTextInRect(const UnicodeString &Tag, int ACol1, int ARow1, int ACol2, int ARow2)
{
    for (int r = ARow1; r <= ARow2; ++r)
        for (int c = ACol1; c <= ACol2; ++c) {
            if (IsMergedNonBaseCell(c, r))
                continue;
            SetCells(c, r, RemoveHighlightTags(DecodeHtmlEntities(GridCells(c, r), false), Tag));
        }
}

void TExtStringGrid::HilightInCell(bool DoCase, int Col, int Row, const UnicodeString &HiText)
{
    TagTextInRect(HiText, HighlightTag, Col, Row, Col, Row, DoCase);
}

void TExtStringGrid::MarkInCell(bool DoCase, int Col, int Row, const UnicodeString &HiText)
{
    TagTextInRect(HiText, ErrorTag, Col, Row, Col, Row, DoCase);
}

void TExtStringGrid::HilightInCol(bool DoFixed, bool DoCase, int Col, const UnicodeString &HiText)
{
    const TRect R = ColRange(this, DoFixed, Col);
    TagTextInRect(HiText, HighlightTag, R.Left, R.Top, R.Right, R.Bottom, DoCase);
}

void TExtStringGrid::MarkInCol(bool DoFixed, bool DoCase, int Col, const UnicodeString &HiText)
{
    const TRect R = ColRange(this, DoFixed, Col);
    TagTextInRect(HiText, ErrorTag, R.Left, R.Top, R.Right, R.Bottom, DoCase);
}

void TExtStringGrid::HilightInRow(bool DoFixed, bool DoCase, int Row, const UnicodeString &HiText)
{
    const TRect R = RowRange(this, DoFixed, Row, ColCount());
    TagTextInRect(HiText, HighlightTag, R.Left, R.Top, R.Right, R.Bottom, DoCase);
}

void TExtStringGrid::MarkInRow(bool DoFixed, bool DoCase, int Row, const UnicodeString &HiText)
{
    const TRect R = RowRange(this, DoFixed, Row, ColCount());
    TagTextInRect(HiText, ErrorTag, R.Left, R.Top, R.Right, R.Bottom, DoCase);
}

void TExtStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const UnicodeString &HiText)
{
    const TRect R = GridRange(this, DoFixed, ColCount(), AllColCount());
    TagTextInRect(HiText, HighlightTag, R.Left, R.Top, R.Right, R.Bottom, DoCase);
}

void TExtStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const UnicodeString &HiText)
{
    const TRect R = GridRange(this, DoFixed, ColCount(), ColCount());
    TagTextInRect(HiText, ErrorTag, R.Left, R.Top, R.Right, R.Bottom, DoCase);
}

void TExtStringGrid::UnHilightInCell(int Col, int Row) { UntagTextInRect(HighlightTag, Col, Row, Col, Row); }

void TExtStringGrid::UnMarkInCell(int Col, int Row) { UntagTextInRect(ErrorTag, Col, Row, Col, Row); }

void TExtStringGrid::UnHilightInCol(bool DoFixed, int Col)
{
    const TRect R = ColRange(this, DoFixed, Col);
    UntagTextInRect(HighlightTag, R.Left, R.Top, R.Right, R.Bottom);
}

void TExtStringGrid::UnMarkInCol(bool DoFixed, int Col)
{
    const TRect R = ColRange(this, DoFixed, Col);
    UntagTextInRect(ErrorTag, R.Left, R.Top, R.Right, R.Bottom);
}

void TExtStringGrid::UnHilightInRow(bool DoFixed, int Row)
{
    const TRect R = RowRange(this, DoFixed, Row, AllColCount());
    UntagTextInRect(HighlightTag, R.Left, R.Top, R.Right, R.Bottom);
}

void TExtStringGrid::UnMarkInRow(bool DoFixed, int Row)
{
    const TRect R = RowRange(this, DoFixed, Row, AllColCount());
    UntagTextInRect(ErrorTag, R.Left, R.Top, R.Right, R.Bottom);
}

void TExtStringGrid::UnHilightInGrid(bool DoFixed)
{
    const TRect R = GridRange(this, DoFixed, AllColCount(), AllColCount());
    UntagTextInRect(HighlightTag, R.Left, R.Top, R.Right, R.Bottom);
}

void TExtStringGrid::UnMarkInGrid(bool DoFixed)
{
    const TRect R = GridRange(this, DoFixed, AllColCount(), AllColCount());
    UntagTextInRect(ErrorTag, R.Left, R.Top, R.Right, R.Bottom);
}

// ---- cell checking ------------------------------------------------------------------------------

bool TExtStringGrid::CheckCell(int Col, int Row)
{
    if (!FCellChecker)
        return true;
    const UnicodeString orig = RemoveHighlightTags(Cells(Col, Row), ErrorTag);
    if (FCellChecker->GotoCell)
        MoveCurrent(Col, Row, true, true);
    // With both switches the marked text wins over the correction.
    UnicodeString text = orig;
    if (FCellChecker->UseCorrect)
        text = FCellChecker->Correct(Col, Row, orig);
    if (FCellChecker->UseMarkError)
        text = FCellChecker->MarkError(Col, Row, orig);
    SetCells(Col, Row, text);
    return text == orig;
}

bool TExtStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    if (!FCellChecker)
        return true;
    FCellChecker->StartCheck();
    const int oldRow = Row();
    const int oldCol = Col();
    bool all = true;
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c)
            all = CheckCell(c, r) && all;
    // The checker may have been freed by its own handlers.
    if (FCellChecker) {
        FCellChecker->StopCheck();
        if (FCellChecker->GotoCell)
            MoveCurrent(oldCol, oldRow, true, true);
    }
    return all;
}

bool TExtStringGrid::CheckCol(bool DoFixed, int Col)
{
    const TRect R = ColRange(this, DoFixed, Col);
    return CheckCells(R.Left, R.Top, R.Right, R.Bottom);
}

bool TExtStringGrid::CheckRow(bool DoFixed, int Row)
{
    const TRect R = RowRange(this, DoFixed, Row, ColCount());
    return CheckCells(R.Left, R.Top, R.Right, R.Bottom);
}

bool TExtStringGrid::CheckGrid(bool DoFixed)
{
    const TRect R = GridRange(this, DoFixed, ColCount(), ColCount());
    return CheckCells(R.Left, R.Top, R.Right, R.Bottom);
}

// ---- fills ----------------------------------------------------------------------------------------

void TExtStringGrid::FillRange(bool DoFixed, int &C1, int &R1, int &C2, int &R2) const
{
    const TRect R = GridRange(this, DoFixed, ColCount(), ColCount());
    C1 = R.Left;
    R1 = R.Top;
    C2 = R.Right;
    R2 = R.Bottom;
}

void TExtStringGrid::TextFill(bool DoFixed, const UnicodeString &Txt)
{
    int c1, r1, c2, r2;
    FillRange(DoFixed, c1, r1, c2, r2);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            SetCells(c, r, Txt);
    BulkCellsChanged();
}

void TExtStringGrid::FormatFill(bool DoFixed, const UnicodeString &Fmt)
{
    int c1, r1, c2, r2;
    FillRange(DoFixed, c1, r1, c2, r2);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            SetCells(c, r, Format(Fmt, {c, r}));
    BulkCellsChanged();
}

void TExtStringGrid::RandomFill(bool DoFixed, int Rnd)
{
    int c1, r1, c2, r2;
    FillRange(DoFixed, c1, r1, c2, r2);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            SetInts(c, r, Rnd > 1 ? int(QRandomGenerator::global()->bounded(Rnd)) : 0);
    BulkCellsChanged();
}

void TExtStringGrid::LinearFill(bool DoFixed)
{
    int c1, r1, c2, r2;
    FillRange(DoFixed, c1, r1, c2, r2);
    for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
            SetCells(c, r, IntToStr(c) + QLatin1Char(':') + IntToStr(r));
    BulkCellsChanged();
}
