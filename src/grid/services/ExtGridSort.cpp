// Sorting of the string grid: the cell comparison by sort style, the row sorts behind QSort,
// QSortIndexed, the group sorts and the range sorts, the undoing of a sort, and the text form of
// the sort settings.
//
// A sort first reads the key of every row it orders (the text, and whatever the column's style
// compares: a number, a date, a check state, an image key, the facts the automatic style detects
// from), then orders row numbers with a stable bottom-up merge sort, and only then moves the rows,
// each once, through SortSwapRows. The merge sort never reads outside its arrays whatever a
// comparison answers, so a compare handler that contradicts itself costs order, never memory.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <numeric>
#include <utility>
#include <vector>

namespace {

bool IsCheckType(TCellType T)
{
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox;
}

int SignOf(int V) { return V < 0 ? -1 : V > 0 ? 1 : 0; }

template <typename T> int Order(T A, T B) { return A > B ? 1 : A < B ? -1 : 0; }

// "[blanks][sign]digits[.digits][(e|E)[sign]digits]" with nothing after it. On failure Fallback
// is the integer the digits read before the failing character make (sign and point ignored).
bool ReadSortNumber(QStringView S, double &Value, double &Fallback)
{
    qsizetype i = 0;
    const qsizetype n = S.size();
    Fallback = 0;
    auto digit = [&](qsizetype k) { return k < n && S[k] >= QLatin1Char('0') && S[k] <= QLatin1Char('9'); };
    auto take = [&](qsizetype k) { Fallback = Fallback * 10 + (S[k].unicode() - u'0'); };
    while (i < n && S[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    if (i < n && (S[i] == QLatin1Char('+') || S[i] == QLatin1Char('-')))
        ++i;
    bool mantissa = false;
    while (digit(i)) {
        take(i++);
        mantissa = true;
    }
    if (i < n && S[i] == QLatin1Char('.')) {
        ++i;
        while (digit(i)) {
            take(i++);
            mantissa = true;
        }
    }
    if (!mantissa)
        return false;
    if (i < n && (S[i] == QLatin1Char('e') || S[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (S[i] == QLatin1Char('+') || S[i] == QLatin1Char('-')))
            ++i;
        if (!digit(i))
            return false;
        while (digit(i))
            take(i++);
    }
    if (i != n)
        return false;
    bool ok = false;
    Value = S.mid(start).toDouble(&ok);
    return ok;
}

// The first separator stands at position 2 or 3 (1-based), is not the last character and has a
// digit on each side.
bool SeparatorAtDatePlace(const UnicodeString &T, QChar Sep)
{
    const qsizetype p = T.indexOf(Sep);
    return (p == 1 || p == 2) && p + 1 < T.size() && CharIsDigit(T[p - 1]) && CharIsDigit(T[p + 1]);
}

enum : std::uint16_t {
    kNumOk = 1,      // the number conversion succeeded (or the display text is empty)
    kNumBlank = 2,   // the text is empty once prefix, suffix and separators are gone
    kIsNumber = 4,   // the text is a number as detection sees it
    kDateAt = 8,     // the first date separator stands where a date's does
    kHasDate = 16,   // the text holds a date separator
    kTimeAt = 32,    // the first time separator stands where a time's does
    kHasTime = 64,   // the text holds a time separator
    kCheckType = 128, // the cell holds a check box
    kChecked = 256,
};

struct TCellKey {
    UnicodeString Text;
    double Num = 0;
    double Date = 0;
    double Time = 0;
    std::intptr_t Image = 0;
    std::uint16_t Flags = 0;
};

// The keys of one column over the rows of a sort, and the cell comparison on them.
class TSortColumnKeys {
public:
    TSortColumnKeys(TExtStringGrid &G, int ACol, const std::vector<int> &Rows, int &Counter)
        : FGrid(G), FCol(ACol), FRows(Rows), FCounter(Counter)
    {
        TSortSettings *ss = G.SortSettings();
        FIgnoreCase = ss->IgnoreCase;
        FIgnoreBlanks = ss->IgnoreBlanks;
        FBlankLast = ss->BlankPos == blLast;
        FStyle = ss->AutoFormat ? ssAutomatic : FIgnoreCase ? ssAlphaNoCase : ssAlphabetic;
        G.DoGetFormat(ACol, FStyle, FPrefix, FSuffix);
        Build(ss->SortOnVirtualCells);
    }

    int Compare(int A, int B, int Direction) const
    {
        ++FCounter;
        const TCellKey &k1 = FKeys[std::size_t(A)];
        const TCellKey &k2 = FKeys[std::size_t(B)];
        const TSortStyle style = PairStyle(k1, k2);
        int r = 0;
        switch (style) {
        case ssNumeric:
        case ssFinancial:
            if ((k1.Flags & kNumOk) || (k2.Flags & kNumOk))
                r = Order(k1.Num, k2.Num);
            break;
        case ssDate:
        case ssDateTime:
        case ssShortDateEU:
        case ssShortDateUS:
            r = Order(k1.Date, k2.Date);
            break;
        case ssTime:
            r = Order(k1.Time, k2.Time);
            break;
        case ssAlphaNoCase:
            r = SignOf(CompareText(k1.Text, k2.Text));
            break;
        case ssAnsiAlphaCase:
            r = SignOf(AnsiCompareStr(k1.Text, k2.Text));
            break;
        case ssAnsiAlphaNoCase:
            r = SignOf(AnsiCompareText(k1.Text, k2.Text));
            break;
        case ssImages:
            r = k2.Image < k1.Image ? 1 : k2.Image == k1.Image ? 0 : -1;
            break;
        case ssCheckBox: {
            const bool c1 = k1.Flags & kChecked;
            const bool c2 = k2.Flags & kChecked;
            r = c1 && !c2 ? 1 : c1 == c2 ? 0 : -1;
            break;
        }
        case ssCustom:
            if (FGrid.OnCustomCompare)
                FGrid.OnCustomCompare(&FGrid, k1.Text, k2.Text, r);
            break;
        case ssRaw:
            if (FGrid.OnRawCompare)
                FGrid.OnRawCompare(&FGrid, FCol, FRows[std::size_t(A)], FRows[std::size_t(B)], r);
            break;
        default: // the alphabetic styles and the stripped texts of ssHTML
            r = SignOf(CompareStr(k1.Text, k2.Text));
            break;
        }
        if (FIgnoreBlanks && (Direction == 0 || Direction == 1)) {
            const bool e1 = Blank(k1, style);
            const bool e2 = Blank(k2, style);
            const int flip = Direction == 0 ? 1 : -1;
            if (e1 && !e2)
                r = (FBlankLast ? 1 : -1) * flip;
            else if (e2 && !e1)
                r = (FBlankLast ? -1 : 1) * flip;
        }
        return r;
    }

private:
    // Detection looks at the first cell only; the second is asked only for the separator.
    TSortStyle PairStyle(const TCellKey &K1, const TCellKey &K2) const
    {
        switch (FStyle) {
        case ssAutomatic:
            if (K1.Flags & kCheckType)
                return ssCheckBox;
            if (K1.Flags & kIsNumber)
                return ssNumeric;
            if (K1.Flags & kDateAt) {
                if (K2.Flags & kHasDate)
                    return (K1.Flags & kHasTime) ? ssDateTime : ssDate;
            } else if ((K1.Flags & kTimeAt) && (K2.Flags & kHasTime)) {
                return ssTime;
            }
            return FIgnoreCase ? ssAlphaNoCase : ssAlphabetic;
        case ssAlphaNumeric:
            return (K1.Flags & K2.Flags & kIsNumber) ? ssNumeric : ssAlphabetic;
        case ssAlphaNumericNoCase:
            return (K1.Flags & K2.Flags & kIsNumber) ? ssNumeric : ssAlphaNoCase;
        default:
            return FStyle;
        }
    }

    static bool Blank(const TCellKey &K, TSortStyle Style)
    {
        if (Style == ssNumeric || Style == ssFinancial)
            return K.Flags & kNumBlank;
        return K.Text.isEmpty();
    }

    void Build(bool Virtual)
    {
        const std::size_t n = FRows.size();
        FKeys.resize(n);
        const bool detect = FStyle == ssAutomatic;
        const bool numberFacts = detect || FStyle == ssAlphaNumeric || FStyle == ssAlphaNumericNoCase;
        const QChar ds = LocaleDateSeparator();
        const QChar ts = LocaleTimeSeparator();
        bool anyNumber = false, anyDate = false, anyTime = false, anyCheck = false;
        for (std::size_t i = 0; i < n; ++i) {
            const int row = FRows[i];
            TCellKey &k = FKeys[i];
            if (FStyle == ssHTML)
                k.Text = FGrid.StrippedCells(FCol, row);
            else
                k.Text = Virtual ? FGrid.Cells(FCol, row) : FGrid.Store().Text(FCol, row);
            if (numberFacts && !k.Text.isEmpty() && NumberKindOf(k.Text) != 2) {
                k.Flags |= kIsNumber;
                anyNumber = true;
            }
            if (!detect)
                continue;
            if (IsCheckType(FGrid.GetCellType(FCol, row))) {
                k.Flags |= kCheckType;
                anyCheck = true;
            }
            if (k.Text.contains(ds)) {
                k.Flags |= kHasDate;
                if (SeparatorAtDatePlace(k.Text, ds)) {
                    k.Flags |= kDateAt;
                    anyDate = true;
                }
            }
            if (k.Text.contains(ts)) {
                k.Flags |= kHasTime;
                if (!(k.Flags & kDateAt) && SeparatorAtDatePlace(k.Text, ts)) {
                    k.Flags |= kTimeAt;
                    anyTime = true;
                }
            }
        }
        // The values only the styles that can occur need, for the rows that can take part.
        const bool numbers = FStyle == ssNumeric || FStyle == ssFinancial || (numberFacts && anyNumber);
        for (std::size_t i = 0; i < n; ++i) {
            TCellKey &k = FKeys[i];
            const int row = FRows[i];
            if (numbers && ((FStyle != ssAlphaNumeric && FStyle != ssAlphaNumericNoCase) || (k.Flags & kIsNumber)))
                ReadNumber(k, FStyle == ssFinancial);
            switch (FStyle) {
            case ssDate:
            case ssDateTime:
                k.Date = DateOf(k.Text);
                break;
            case ssTime:
                k.Time = TimeOf(k.Text);
                break;
            case ssShortDateEU:
            case ssShortDateUS:
                try {
                    k.Date = FStyle == ssShortDateEU ? DateFromEUText(k.Text) : DateFromUSText(k.Text);
                } catch (const Exception &) {
                    k.Date = 0;
                }
                break;
            case ssImages:
                k.Image = FGrid.GetCellImageSortKey(FCol, row);
                break;
            case ssCheckBox:
                ReadCheck(k, row);
                break;
            case ssAutomatic:
                if (anyDate && (k.Flags & kHasDate))
                    k.Date = DateOf(k.Text);
                if (anyTime && (k.Flags & kHasTime))
                    k.Time = TimeOf(k.Text);
                if (anyCheck)
                    ReadCheck(k, row);
                break;
            default:
                break;
            }
        }
    }

    void ReadNumber(TCellKey &K, bool Financial) const
    {
        const QStringView whole(K.Text);
        UnicodeString prepared;
        QStringView s = whole;
        const QChar decimal = LocaleDecimalSeparator();
        if (!FPrefix.isEmpty() || !FSuffix.isEmpty() || Financial || decimal != QLatin1Char('.')) {
            prepared = K.Text;
            if (!FPrefix.isEmpty()) {
                const qsizetype p = prepared.indexOf(FPrefix);
                if (p >= 0)
                    prepared.remove(p, FPrefix.size());
            }
            if (!FSuffix.isEmpty()) {
                const qsizetype p = prepared.indexOf(FSuffix);
                if (p >= 0)
                    prepared.remove(p, FSuffix.size());
            }
            if (Financial)
                prepared.remove(LocaleThousandSeparator());
            if (decimal != QLatin1Char('.')) {
                const qsizetype p = prepared.indexOf(decimal);
                if (p >= 0)
                    prepared[p] = QLatin1Char('.');
            }
            s = prepared;
        }
        if (s.isEmpty())
            K.Flags |= kNumBlank;
        double value = 0, fallback = 0;
        if (ReadSortNumber(s, value, fallback)) {
            K.Num = value;
            K.Flags |= kNumOk;
        } else if (K.Text.isEmpty()) {
            K.Num = 0;
            K.Flags |= kNumOk;
        } else {
            K.Num = fallback;
        }
    }

    static double DateOf(const UnicodeString &T)
    {
        TDateTime d = 0;
        return !T.isEmpty() && TryStrToDateTime(T, d) ? double(d) : 0.0;
    }

    static double TimeOf(const UnicodeString &T)
    {
        TDateTime d = 0;
        return TryStrToTime(T, d) ? double(d) : 0.0;
    }

    void ReadCheck(TCellKey &K, int Row) const
    {
        bool state = false;
        if (FGrid.GetCheckBoxState(FCol, FGrid.RealRowIndex(Row), state) && state)
            K.Flags |= kChecked;
    }

    TExtStringGrid &FGrid;
    int FCol;
    const std::vector<int> &FRows;
    int &FCounter;
    TSortStyle FStyle = ssAutomatic;
    UnicodeString FPrefix;
    UnicodeString FSuffix;
    bool FIgnoreCase = false;
    bool FIgnoreBlanks = false;
    bool FBlankLast = false;
    std::vector<TCellKey> FKeys;
};

// The line comparisons of a sort over a set of rows; a column's keys are read when a comparison
// first reaches it (the columns right of the sort column only where ties need them).
class TRowComparer {
public:
    TRowComparer(TExtStringGrid &G, std::vector<int> Rows, int &Counter)
        : FGrid(G), FRows(std::move(Rows)), FCounter(Counter), FFull(G.SortSettings()->Full),
          FLastCol(G.AllColCount() - 1)
    {
    }

    const TSortColumnKeys &Keys(int ACol)
    {
        auto &slot = FColumns[ACol];
        if (!slot)
            slot = std::make_unique<TSortColumnKeys>(FGrid, ACol, FRows, FCounter);
        return *slot;
    }

    int Line(int ACol, int A, int B, int Direction)
    {
        for (int c = ACol;; ++c) {
            const int r = FGrid.IsIgnoredColumn(c) ? 0 : Keys(c).Compare(A, B, Direction);
            if (r != 0 || !FFull || c > FLastCol - 1)
                return r;
        }
    }

    int Indexed(int A, int B)
    {
        TSortIndexList *list = FGrid.SortIndexes();
        for (int i = 0; i < list->Count(); ++i) {
            const bool desc = !list->SortDirections(i);
            const int c = list->SortColumns(i);
            const int r = FGrid.IsIgnoredColumn(c) ? 0 : Keys(c).Compare(A, B, desc ? 1 : 0);
            if (r != 0 || !FFull)
                return desc ? -r : r;
        }
        return 0;
    }

    const std::vector<int> &Rows() const { return FRows; }

private:
    TExtStringGrid &FGrid;
    std::vector<int> FRows;
    int &FCounter;
    bool FFull;
    int FLastCol;
    std::map<int, std::unique_ptr<TSortColumnKeys>> FColumns;
};

// Sorts Idx stably by Before (a goes before b). Bottom-up: sorted runs made by insertion, then
// merged in rounds between Idx and a buffer of the same size; no recursion, and every index the
// loops touch is bounded by the arrays whatever Before answers.
template <typename F> void StableOrder(std::vector<int> &Idx, F Before)
{
    const std::size_t n = Idx.size();
    constexpr std::size_t Run = 24;
    for (std::size_t lo = 0; lo < n; lo += Run) {
        const std::size_t hi = std::min(lo + Run, n);
        for (std::size_t i = lo + 1; i < hi; ++i) {
            const int v = Idx[i];
            std::size_t j = i;
            while (j > lo && Before(v, Idx[j - 1])) {
                Idx[j] = Idx[j - 1];
                --j;
            }
            Idx[j] = v;
        }
    }
    if (n <= Run)
        return;
    std::vector<int> buf(n);
    for (std::size_t width = Run; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n);
            const std::size_t hi = std::min(lo + 2 * width, n);
            std::size_t i = lo, j = mid, k = lo;
            if (mid < hi && !Before(Idx[mid], Idx[mid - 1])) {
                std::copy(Idx.begin() + std::ptrdiff_t(lo), Idx.begin() + std::ptrdiff_t(hi), buf.begin() + std::ptrdiff_t(lo));
                continue;
            }
            while (i < mid && j < hi)
                buf[k++] = Before(Idx[j], Idx[i]) ? Idx[j++] : Idx[i++];
            while (i < mid)
                buf[k++] = Idx[i++];
            while (j < hi)
                buf[k++] = Idx[j++];
        }
        Idx.swap(buf);
    }
}

void SwapFlag(TIntList *List, int A, int B)
{
    if (!List || A < 0 || B < 0)
        return;
    const int n = List->Count();
    const int a = A < n ? List->Items(A) : 0;
    const int b = B < n ? List->Items(B) : 0;
    if (a == b)
        return;
    while (List->Count() <= std::max(A, B))
        List->Add(0);
    List->SetItems(A, b);
    List->SetItems(B, a);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Cell and line comparison

int TExtStringGrid::CompareCells(int ACol, int ARow1, int ARow2, int Direction)
{
    const std::vector<int> rows{ARow1, ARow2};
    const TSortColumnKeys keys(*this, ACol, rows, FCompares);
    return keys.Compare(0, 1, Direction);
}

bool TExtStringGrid::SortLine(int Col, int ARow1, int ARow2)
{
    const int direction = FSortSettings->Direction == sdDescending ? 1 : 0;
    for (int c = Col;; ++c) {
        const int r = CompareCells(c, ARow1, ARow2, direction);
        if (r == FSortDir) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0 || c >= AllColCount() - 1)
            return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Moving rows

void TExtStringGrid::SortSwapRows(int Index1, int Index2)
{
    ++FSwaps;
    if (Index1 >= 0 && Index2 >= 0 && Index1 < FSortRowXRef->Count() && Index2 < FSortRowXRef->Count()) {
        const int t = FSortRowXRef->Items(Index1);
        FSortRowXRef->SetItems(Index1, FSortRowXRef->Items(Index2));
        FSortRowXRef->SetItems(Index2, t);
    }
    if (Index1 == Index2 || Index1 < 0 || Index2 < 0)
        return;
    if (FSortSettings->SingleColumn) {
        // The stored texts travel, not the display texts: a display hook must not rewrite data.
        const int c = FSortSettings->Column;
        if (c < 0)
            return;
        const UnicodeString t1 = Store().Text(c, Index1);
        TObject *o1 = Store().Object(c, Index1);
        Store().SetText(c, Index1, Store().Text(c, Index2));
        Store().SetObject(c, Index1, Store().Object(c, Index2));
        Store().SetText(c, Index2, t1);
        Store().SetObject(c, Index2, o1);
    } else {
        Store().SwapRows(Index1, Index2);
        if (FSortBatch) {
            FSortHeightsMoved = SwapRowHeights(Index1, Index2) || FSortHeightsMoved;
        } else if (Index1 < RowCount() && Index2 < RowCount() && RowHeights(Index1) != RowHeights(Index2)) {
            const int h = RowHeights(Index1);
            SetRowHeights(Index1, RowHeights(Index2));
            SetRowHeights(Index2, h);
        }
        const bool hidden = NumHiddenRows() > 0;
        const int r1 = hidden ? RealRowIndex(Index1) : Index1;
        const int r2 = hidden ? RealRowIndex(Index2) : Index2;
        if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort)
            SwapFlag(FRowSelect, r1, r2);
        if (FShowModified->Enabled)
            SwapFlag(FModifiedRows, r1, r2);
    }
    if (FSortRow == Index1)
        FSortRow = Index2;
    else if (FSortRow == Index2)
        FSortRow = Index1;
}

template <typename F> void TExtStringGrid::ApplyRowOrder(int Left, const std::vector<int> &Order, F Also)
{
    const int n = int(Order.size());
    std::vector<int> at(static_cast<std::size_t>(n)), where(static_cast<std::size_t>(n));
    std::iota(at.begin(), at.end(), 0);
    std::iota(where.begin(), where.end(), 0);
    FSortBatch = true;
    FSortHeightsMoved = false;
    struct TEnd {
        TExtStringGrid *G;
        ~TEnd()
        {
            G->FSortBatch = false;
            if (G->FSortHeightsMoved)
                G->RowHeightsChanged();
        }
    } end{this};
    for (int k = 0; k < n; ++k) {
        const int o = Order[std::size_t(k)] - Left;
        const int p = where[std::size_t(o)];
        if (p == k)
            continue;
        SortSwapRows(Left + k, Left + p);
        Also(Left + k, Left + p);
        const int o2 = at[std::size_t(k)];
        at[std::size_t(k)] = o;
        at[std::size_t(p)] = o2;
        where[std::size_t(o)] = k;
        where[std::size_t(o2)] = p;
    }
}

void TExtStringGrid::SortRows(int Left, int Right, bool Indexed, int ACol)
{
    FSortDir = FSortSettings->Direction == sdDescending ? -1 : 1;
    Left = std::max(Left, 0);
    Right = std::min(Right, RowCount() - 1);
    if (Right <= Left)
        return;
    std::vector<int> rows(std::size_t(Right - Left + 1));
    std::iota(rows.begin(), rows.end(), Left);
    TRowComparer cmp(*this, std::move(rows), FCompares);
    std::vector<int> idx(std::size_t(Right - Left + 1));
    std::iota(idx.begin(), idx.end(), 0);
    if (Indexed) {
        StableOrder(idx, [&](int A, int B) { return cmp.Indexed(A, B) == -1; });
    } else {
        const int direction = FSortSettings->Direction == sdDescending ? 1 : 0;
        const int before = -FSortDir;
        StableOrder(idx, [&](int A, int B) { return cmp.Line(ACol, A, B, direction) == before; });
    }
    for (int &i : idx)
        i += Left;
    ApplyRowOrder(Left, idx, [](int, int) {});
}

// ---------------------------------------------------------------------------------------------
// The sorts

template <typename F> void TExtStringGrid::SortFrame(bool RestoreColumn0, F Body)
{
    const bool keep0 = RestoreColumn0 && FSortSettings->NormalCellsOnly && FixedCols() > 0;
    std::vector<UnicodeString> column0;
    if (keep0) {
        column0.reserve(std::size_t(RowCount()));
        for (int r = 0; r < RowCount(); ++r)
            column0.push_back(Store().Text(0, r));
    }
    const int top = TopRow();
    BeginUpdate();
    const bool footer = FFloatingFooter->Visible();
    const int fixedFooters = FFixedFooters;
    FFloatingFooter->SetVisible(false);
    auto restore = [&] {
        for (int r = 0; r < int(column0.size()) && r < RowCount(); ++r)
            Store().SetText(0, r, column0[std::size_t(r)]);
        if (FNavigation->KeepScrollOnSort)
            SetTopRow(top);
        FFloatingFooter->SetVisible(footer);
        FFixedFooters = fixedFooters;
        EndUpdate();
        if (footer && FFooterPanel)
            FFooterPanel->Invalidate();
        RepaintSearchPanel();
    };
    try {
        Body();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TExtStringGrid::RestoreRowAfterSort(int OldRow)
{
    const bool entered = FEntered;
    FEntered = false;
    if (FNavigation->MoveRowOnSort) {
        if (FSortRow >= FixedRows() && FSortRow < RowCount() && FSortRow != Row())
            SetRow(FSortRow);
        FOldRowSel = -1;
    } else if (OldRow != Row() && OldRow < RowCount()) {
        SetRow(OldRow);
    }
    FEntered = entered;
}

void TExtStringGrid::InitSortXRef()
{
    FSortRowXRef->Clear();
    for (int r = 0; r < RowCount(); ++r)
        FSortRowXRef->Add(r);
}

void TExtStringGrid::QSort()
{
    if (FSortSettings->Column < 0)
        return;
    if (FSortRowXRef->Count() != RowCount())
        InitSortXRef();
    FSortIndexes->Clear();
    SortFrame(true, [&] {
        const int oldRow = Row();
        FSortRow = oldRow;
        SortRows(FixedRows(), RowCount() - FFixedFooters - 1, false, FSortSettings->Column);
        if (!FMouseActions->DisjunctRowSelect())
            RestoreRowAfterSort(oldRow);
        // Without MoveRowOnSort the current row keeps its index but shows another row.
        if (!FNavigation->MoveRowOnSort && OnRowChanged)
            OnRowChanged(this, Row(), Row());
    });
}

void TExtStringGrid::QSortIndexed()
{
    if (FSortIndexes->Count() == 0)
        throw RIdeZareVorev(QStringLiteral("No indexes specified for indexed sort"));
    if (FSortRowXRef->Count() != RowCount())
        InitSortXRef();
    SortFrame(true, [&] {
        const int oldRow = Row();
        FSortRow = oldRow;
        SortRows(FixedRows(), RowCount() - FFixedFooters - 1, true, -1);
        RestoreRowAfterSort(oldRow);
    });
}

void TExtStringGrid::SortGroupRows(bool Indexed)
{
    if (!Indexed && FSortSettings->Column < 0)
        return;
    if (FSortRowXRef->Count() != RowCount())
        InitSortXRef();
    SortFrame(true, [&] {
        const int oldRow = Row();
        FSortRow = oldRow;
        const int first = FixedRows();
        const int last = RowCount() - FFixedFooters - 1;
        int level = -1;
        for (int r = first; r <= last; ++r)
            if (IsNode(r))
                level = std::max(level, GetNodeLevel(r));
        for (int r = first; r <= last; ++r) {
            if (!IsNode(r) || GetNodeState(r) || GetNodeLevel(r) != level)
                continue;
            const int span = GetNodeSpan(r);
            if (span >= 3)
                SortRows(r + 1, std::min(r + span - 1, last), Indexed, FSortSettings->Column);
        }
        RestoreRowAfterSort(oldRow);
    });
}

void TExtStringGrid::QSortGroup() { SortGroupRows(false); }

void TExtStringGrid::QSortGroupIndexed() { SortGroupRows(true); }

void TExtStringGrid::QUnSort()
{
    // Rows came or went since the reference was taken: the rows as they stand become it.
    if (FSortRowXRef->Count() != RowCount()) {
        InitSortXRef();
        return;
    }
    FUnSortRowXRef->Clear();
    for (int i = 0; i < FSortRowXRef->Count(); ++i)
        FUnSortRowXRef->Add(FSortRowXRef->Items(i));
    SortFrame(true, [&] {
        std::vector<int> idx(static_cast<std::size_t>(RowCount()));
        std::iota(idx.begin(), idx.end(), 0);
        std::vector<int> value(idx.size());
        for (std::size_t i = 0; i < idx.size(); ++i)
            value[i] = FUnSortRowXRef->Items(int(i));
        StableOrder(idx, [&](int A, int B) { return value[std::size_t(A)] < value[std::size_t(B)]; });
        ApplyRowOrder(0, idx, [&](int A, int B) {
            const int t = FUnSortRowXRef->Items(A);
            FUnSortRowXRef->SetItems(A, FUnSortRowXRef->Items(B));
            FUnSortRowXRef->SetItems(B, t);
        });
    });
}

void TExtStringGrid::Sort(int Column, TSortDirection Direction)
{
    FSortSettings->Column = Column;
    FSortSettings->Direction = Direction;
    QSort();
}

void TExtStringGrid::SortByColumn(int Col)
{
    if (RowCount() <= 1)
        return;
    FSortSettings->Column = Col;
    QSort();
}

void TExtStringGrid::QuickSort(int ACol, int Left, int Right) { SortRows(Left, Right, false, ACol); }

void TExtStringGrid::QuickSortIndexed(int Left, int Right) { SortRows(Left, Right, true, -1); }

// ---------------------------------------------------------------------------------------------
// TSortSettings

void TSortSettings::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TSortSettings *>(Source);
    if (!s)
        return;
    AutoSortForGrouping = s->AutoSortForGrouping;
    AutoColumnMerge = s->AutoColumnMerge;
    Column = s->Column;
    Show = s->Show;
    IndexShow = s->IndexShow;
    IndexColor = s->IndexColor;
    Full = s->Full;
    SingleColumn = s->SingleColumn;
    IgnoreBlanks = s->IgnoreBlanks;
    BlankPos = s->BlankPos;
    AutoFormat = s->AutoFormat;
    Direction = s->Direction;
    FUpGlyph.Assign(&s->FUpGlyph);
    FDownGlyph.Assign(&s->FDownGlyph);
    FIndexUpGlyph.Assign(&s->FIndexUpGlyph);
    FIndexDownGlyph.Assign(&s->FIndexDownGlyph);
    IndexSortKey = s->IndexSortKey;
    InitSortDirection = s->InitSortDirection;
    FixedCols = s->FixedCols;
    NormalCellsOnly = s->NormalCellsOnly;
    Row = s->Row;
    UndoSort = s->UndoSort;
    HeaderColor = s->HeaderColor;
    HeaderColorTo = s->HeaderColorTo;
    HeaderMirrorColor = s->HeaderMirrorColor;
    HeaderMirrorColorTo = s->HeaderMirrorColorTo;
}

UnicodeString TSortSettings::SaveToString() const
{
    if (IndexShow)
        return QStringLiteral("i;") + (FGrid ? FGrid->SortIndexes()->SaveToString() : UnicodeString());
    return (Direction == sdDescending ? QStringLiteral("d") : QStringLiteral("u")) + QString::number(Column);
}

void TSortSettings::LoadFromString(const UnicodeString &Value)
{
    if (Value.isEmpty())
        return;
    Show = true;
    if (Value.size() < 2)
        throw Exception(QStringLiteral("Invalid sort settings specifier"));
    if (!Value.contains(QStringLiteral("i;"))) {
        IndexShow = false;
        Direction = Value.contains(QLatin1Char('u')) ? sdAscending : sdDescending;
        int col = 0;
        if (TryStrToInt(Value.mid(1), col)) {
            Column = col;
            if (FGrid)
                FGrid->QSort();
        }
        return;
    }
    IndexShow = true;
    const UnicodeString rest = Value.mid(2);
    if (!rest.isEmpty() && FGrid) {
        FGrid->SortIndexes()->LoadFromString(rest);
        FGrid->QSortIndexed();
    }
}

void TSortSettings::Remove()
{
    Column = -1;
    if (FGrid) {
        FGrid->SortIndexes()->Clear();
        RepaintHeaderRow();
    }
}

void TSortSettings::SetShow(bool Value)
{
    if (Show == Value)
        return;
    Show = Value;
    if (FGrid)
        FGrid->Invalidate();
}

void TSortSettings::SetRow(int Value)
{
    if (FGrid && Value >= FGrid->FixedRows())
        throw Exception(QStringLiteral("Sort row should be smaller than number of fixed rows"));
    Row = Value;
}

void TSortSettings::SetHeaderColorField(TColor &Field, TColor Value)
{
    if (Field == Value)
        return;
    Field = Value;
    RepaintHeaderRow();
}

void TSortSettings::RepaintHeaderRow()
{
    if (FGrid && FGrid->FixedRows() > 0)
        FGrid->RepaintRow(FGrid->FixedRows() - 1);
}
