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
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
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
    // What was read is plain ASCII now: converted without the locale machinery.
    char buf[64];
    qsizetype k = start < n && S[start] == QLatin1Char('+') ? start + 1 : start;
    if (n - k >= qsizetype(sizeof buf)) {
        bool ok = false;
        Value = S.mid(start).toDouble(&ok);
        return ok;
    }
    std::size_t len = 0;
    for (; k < n; ++k)
        buf[len++] = char(S[k].unicode());
    const auto res = std::from_chars(buf, buf + len, Value);
    return res.ec == std::errc() && std::isfinite(Value);
}

// A number as detection sees it can start with no other character: most texts are told apart by
// their first one.
bool MayBeNumber(const UnicodeString &T)
{
    const QChar c = T[0];
    return CharIsDigit(c) || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('e') ||
           c == QLatin1Char('E') || c == LocaleDecimalSeparator() || c == LocaleThousandSeparator();
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

// The keys of one column over the rows of a sort, and the cell comparison on them. Each kind of
// key lives in an array of its own, filled only where the column's style can ask for it, so that
// a comparison touches little memory.
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
        const auto a = std::size_t(A), b = std::size_t(B);
        // Every pair compares the same way and no blank is placed: the direct comparisons.
        if (FFast == kFastText)
            return SignOf(QStringView(FText[a]).compare(QStringView(FText[b])));
        if (FFast == kFastNumber)
            return Order(FNum[a], FNum[b]);
        const TSortStyle style = PairStyle(a, b);
        int r = 0;
        switch (style) {
        case ssNumeric:
        case ssFinancial:
            if ((FFlags[a] & kNumOk) || (FFlags[b] & kNumOk))
                r = Order(FNum[a], FNum[b]);
            break;
        case ssDate:
        case ssDateTime:
        case ssShortDateEU:
        case ssShortDateUS:
            r = Order(FDate[a], FDate[b]);
            break;
        case ssTime:
            r = Order(FTime[a], FTime[b]);
            break;
        case ssAlphaNoCase:
            r = SignOf(CompareText(FText[a], FText[b]));
            break;
        case ssAnsiAlphaCase:
            r = SignOf(AnsiCompareStr(FText[a], FText[b]));
            break;
        case ssAnsiAlphaNoCase:
            r = SignOf(AnsiCompareText(FText[a], FText[b]));
            break;
        case ssImages:
            r = FImage[b] < FImage[a] ? 1 : FImage[b] == FImage[a] ? 0 : -1;
            break;
        case ssCheckBox: {
            const bool c1 = FFlags[a] & kChecked;
            const bool c2 = FFlags[b] & kChecked;
            r = c1 && !c2 ? 1 : c1 == c2 ? 0 : -1;
            break;
        }
        case ssCustom:
            if (FGrid.OnCustomCompare)
                FGrid.OnCustomCompare(&FGrid, FText[a], FText[b], r);
            break;
        case ssRaw:
            if (FGrid.OnRawCompare)
                FGrid.OnRawCompare(&FGrid, FCol, FRows[a], FRows[b], r);
            break;
        default: // the alphabetic styles and the stripped texts of ssHTML
            r = SignOf(QStringView(FText[a]).compare(QStringView(FText[b])));
            break;
        }
        if (FIgnoreBlanks && (Direction == 0 || Direction == 1)) {
            const bool e1 = Blank(a, style);
            const bool e2 = Blank(b, style);
            const int flip = Direction == 0 ? 1 : -1;
            if (e1 && !e2)
                r = (FBlankLast ? 1 : -1) * flip;
            else if (e2 && !e1)
                r = (FBlankLast ? -1 : 1) * flip;
        }
        return r;
    }

    // The keys when every pair of the column compares them directly (no detection left to do,
    // no blanks to place); nullptr otherwise.
    const double *FastNumbers() const { return FFast == kFastNumber ? FNum.data() : nullptr; }
    const UnicodeString *FastTexts() const { return FFast == kFastText ? FText.data() : nullptr; }

private:
    enum TFast { kFastNone, kFastText, kFastNumber };

    // Detection looks at the first cell only; the second is asked only for the separator.
    TSortStyle PairStyle(std::size_t A, std::size_t B) const
    {
        switch (FStyle) {
        case ssAutomatic: {
            const auto f1 = FFlags[A], f2 = FFlags[B];
            if (f1 & kCheckType)
                return ssCheckBox;
            if (f1 & kIsNumber)
                return ssNumeric;
            if (f1 & kDateAt) {
                if (f2 & kHasDate)
                    return (f1 & kHasTime) ? ssDateTime : ssDate;
            } else if ((f1 & kTimeAt) && (f2 & kHasTime)) {
                return ssTime;
            }
            return FIgnoreCase ? ssAlphaNoCase : ssAlphabetic;
        }
        case ssAlphaNumeric:
            return (FFlags[A] & FFlags[B] & kIsNumber) ? ssNumeric : ssAlphabetic;
        case ssAlphaNumericNoCase:
            return (FFlags[A] & FFlags[B] & kIsNumber) ? ssNumeric : ssAlphaNoCase;
        default:
            return FStyle;
        }
    }

    bool Blank(std::size_t I, TSortStyle Style) const
    {
        if (Style == ssNumeric || Style == ssFinancial)
            return FFlags[I] & kNumBlank;
        return FText[I].isEmpty();
    }

    void Build(bool Virtual)
    {
        const std::size_t n = FRows.size();
        FText.resize(n);
        FFlags.assign(n, 0);
        const bool detect = FStyle == ssAutomatic;
        const bool numberFacts = detect || FStyle == ssAlphaNumeric || FStyle == ssAlphaNumericNoCase;
        const QChar ds = LocaleDateSeparator();
        const QChar ts = LocaleTimeSeparator();
        bool anyNumber = false, allNumbers = true, anyDate = false, anyTime = false, anyCheck = false;
        for (std::size_t i = 0; i < n; ++i) {
            const int row = FRows[i];
            UnicodeString &t = FText[i];
            std::uint16_t &f = FFlags[i];
            if (FStyle == ssHTML)
                t = FGrid.StrippedCells(FCol, row);
            else
                t = Virtual ? FGrid.Cells(FCol, row) : FGrid.Store().Text(FCol, row);
            if (numberFacts && !t.isEmpty() && MayBeNumber(t) && NumberKindOf(t) != 2) {
                f |= kIsNumber;
                anyNumber = true;
            } else {
                allNumbers = false;
            }
            if (!detect)
                continue;
            if (IsCheckType(FGrid.GetCellType(FCol, row))) {
                f |= kCheckType;
                anyCheck = true;
            }
            if (t.contains(ds)) {
                f |= kHasDate;
                if (SeparatorAtDatePlace(t, ds)) {
                    f |= kDateAt;
                    anyDate = true;
                }
            }
            if (t.contains(ts)) {
                f |= kHasTime;
                if (!(f & kDateAt) && SeparatorAtDatePlace(t, ts)) {
                    f |= kTimeAt;
                    anyTime = true;
                }
            }
        }
        // The values only the styles that can occur need, for the rows that can take part.
        const bool alphaNumeric = FStyle == ssAlphaNumeric || FStyle == ssAlphaNumericNoCase;
        const bool numbers = FStyle == ssNumeric || FStyle == ssFinancial || (numberFacts && anyNumber);
        const bool dates = FStyle == ssDate || FStyle == ssDateTime || FStyle == ssShortDateEU ||
                           FStyle == ssShortDateUS || (detect && anyDate);
        if (numbers)
            FNum.assign(n, 0);
        if (dates)
            FDate.assign(n, 0);
        if (FStyle == ssTime || (detect && anyTime))
            FTime.assign(n, 0);
        if (FStyle == ssImages)
            FImage.assign(n, 0);
        bool allNumOk = true;
        for (std::size_t i = 0; i < n; ++i) {
            const UnicodeString &t = FText[i];
            std::uint16_t &f = FFlags[i];
            const int row = FRows[i];
            if (numbers && (!alphaNumeric || (f & kIsNumber))) {
                ReadNumber(i, FStyle == ssFinancial);
                allNumOk = allNumOk && (f & kNumOk);
            }
            switch (FStyle) {
            case ssDate:
            case ssDateTime:
                FDate[i] = DateOf(t);
                break;
            case ssTime:
                FTime[i] = TimeOf(t);
                break;
            case ssShortDateEU:
            case ssShortDateUS:
                try {
                    FDate[i] = FStyle == ssShortDateEU ? DateFromEUText(t) : DateFromUSText(t);
                } catch (const Exception &) {
                    FDate[i] = 0;
                }
                break;
            case ssImages:
                FImage[i] = FGrid.GetCellImageSortKey(FCol, row);
                break;
            case ssCheckBox:
                ReadCheck(f, row);
                break;
            case ssAutomatic:
                if (anyDate && (f & kHasDate))
                    FDate[i] = DateOf(t);
                if (anyTime && (f & kHasTime))
                    FTime[i] = TimeOf(t);
                if (anyCheck)
                    ReadCheck(f, row);
                break;
            default:
                break;
            }
        }
        if (FIgnoreBlanks)
            return;
        const bool plainText = FStyle == ssAlphabetic || FStyle == ssAlphaCase || FStyle == ssHTML ||
                               (detect && FIgnoreCase == false && !anyCheck && !anyNumber && !anyDate && !anyTime);
        const bool plainNumber = ((FStyle == ssNumeric || FStyle == ssFinancial) && allNumOk) ||
                                 (detect && !anyCheck && allNumbers && allNumOk && n > 0) ||
                                 (alphaNumeric && allNumbers && allNumOk && n > 0);
        if (plainText)
            FFast = kFastText;
        else if (plainNumber)
            FFast = kFastNumber;
    }

    void ReadNumber(std::size_t I, bool Financial)
    {
        const UnicodeString &text = FText[I];
        std::uint16_t &f = FFlags[I];
        UnicodeString prepared;
        QStringView s(text);
        const QChar decimal = LocaleDecimalSeparator();
        if (!FPrefix.isEmpty() || !FSuffix.isEmpty() || Financial || decimal != QLatin1Char('.')) {
            prepared = text;
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
            f |= kNumBlank;
        double value = 0, fallback = 0;
        if (ReadSortNumber(s, value, fallback)) {
            FNum[I] = value;
            f |= kNumOk;
        } else if (text.isEmpty()) {
            FNum[I] = 0;
            f |= kNumOk;
        } else {
            FNum[I] = fallback;
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

    void ReadCheck(std::uint16_t &F, int Row) const
    {
        bool state = false;
        if (FGrid.GetCheckBoxState(FCol, FGrid.RealRowIndex(Row), state) && state)
            F |= kChecked;
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
    TFast FFast = kFastNone;
    std::vector<UnicodeString> FText;
    std::vector<std::uint16_t> FFlags;
    std::vector<double> FNum;
    std::vector<double> FDate;
    std::vector<double> FTime;
    std::vector<std::intptr_t> FImage;
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
        if (ACol >= int(FColumns.size())) {
            FColumns.resize(std::size_t(ACol) + 1);
            FIgnored.resize(std::size_t(ACol) + 1, -1);
        }
        auto &slot = FColumns[std::size_t(ACol)];
        if (!slot)
            slot = std::make_unique<TSortColumnKeys>(FGrid, ACol, FRows, FCounter);
        return *slot;
    }

    // Columns outside the grid hold nothing to tell rows apart.
    bool Ignored(int ACol)
    {
        if (ACol < 0 || ACol > FLastCol)
            return true;
        Keys(ACol);
        signed char &i = FIgnored[std::size_t(ACol)];
        if (i < 0)
            i = FGrid.IsIgnoredColumn(ACol) ? 1 : 0;
        return i == 1;
    }

    // The keys of the column a sort starts with; nullptr when it is ignored.
    const TSortColumnKeys *Leading(int ACol) { return Ignored(ACol) ? nullptr : FColumns[std::size_t(ACol)].get(); }

    int Line(int ACol, int A, int B, int Direction)
    {
        for (int c = ACol;; ++c) {
            const int r = Ignored(c) ? 0 : FColumns[std::size_t(c)]->Compare(A, B, Direction);
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
            const int r = Ignored(c) ? 0 : FColumns[std::size_t(c)]->Compare(A, B, desc ? 1 : 0);
            if (r != 0 || !FFull)
                return desc ? -r : r;
        }
        return 0;
    }

private:
    TExtStringGrid &FGrid;
    std::vector<int> FRows;
    int &FCounter;
    bool FFull;
    int FLastCol;
    std::vector<std::unique_ptr<TSortColumnKeys>> FColumns;
    std::vector<signed char> FIgnored;
};

// Sorts Idx stably by Before (a goes before b). Bottom-up: sorted runs made by insertion, then
// merged in rounds between Idx and a buffer of the same size; no recursion, and every index the
// loops touch is bounded by the arrays whatever Before answers.
template <typename F> void StableOrder(std::vector<int> &Idx, F Before)
{
    const std::size_t n = Idx.size();
    constexpr std::size_t Run = 8;
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
        // A column whose keys compare directly is compared inline; the columns after it only
        // for a tie.
        const TSortColumnKeys *lead = cmp.Leading(ACol);
        const bool next = FSortSettings->Full && ACol < AllColCount() - 1;
        int &count = FCompares;
        auto tie = [&](int A, int B) { return next && cmp.Line(ACol + 1, A, B, direction) == before; };
        if (const double *v = lead ? lead->FastNumbers() : nullptr) {
            StableOrder(idx, [&](int A, int B) {
                ++count;
                const double a = v[A], b = v[B];
                return a == b ? tie(A, B) : before < 0 ? a < b : a > b;
            });
        } else if (const UnicodeString *t = lead ? lead->FastTexts() : nullptr) {
            StableOrder(idx, [&](int A, int B) {
                ++count;
                const int r = QStringView(t[A]).compare(QStringView(t[B]));
                return r == 0 ? tie(A, B) : before < 0 ? r < 0 : r > 0;
            });
        } else {
            StableOrder(idx, [&](int A, int B) { return cmp.Line(ACol, A, B, direction) == before; });
        }
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

// ---------------------------------------------------------------------------------------------
// The header click

void TExtStringGrid::SortByHeaderClick(int RealCol, bool IndexKey)
{
    HideInplaceEdit();
    if (FSortRowXRef->Count() != RowCount())
        InitSortXRef();
    TSortSettings *ss = FSortSettings;
    // Merged runs would travel as broken spans: they are split for the sort and, with
    // AutoColumnMerge, formed again over the new order.
    const int merged = FMergedColumns->Count();
    for (int i = 0; i < merged; ++i)
        SplitColumnCells(FMergedColumns->Items(i));
    const auto started = std::chrono::steady_clock::now();
    const bool grouped = GroupColumn() != -1;
    const bool initAscending = ss->InitSortDirection == sdAscending;
    if (IndexKey) {
        if (!ss->IndexShow) {
            // The column sorted so far stays the first key; the click adds the next one.
            FSortIndexes->Clear();
            if (ss->Column >= 0 && ss->Column != RealCol)
                FSortIndexes->AddIndex(ss->Column, ss->Direction == sdAscending);
        }
        const int at = FSortIndexes->FindIndex(RealCol);
        bool undo = false;
        if (at < 0) {
            FSortIndexes->AddIndex(RealCol, initAscending);
        } else {
            FSortIndexes->ToggleIndex(RealCol);
            undo = ss->UndoSort && FSortIndexes->SortDirections(at) == initAscending;
            if (undo)
                FSortIndexes->Delete(at);
        }
        // Without the key the remaining keys would order the rows as the last sort left them,
        // not as they were.
        if (undo)
            QUnSort();
        const int last = FSortIndexes->Count() - 1;
        ss->IndexShow = last >= 0;
        if (last >= 0) {
            const int p = undo ? 0 : FSortIndexes->FindIndex(RealCol);
            ss->Column = FSortIndexes->SortColumns(p);
            ss->Direction = FSortIndexes->SortDirections(p) ? sdAscending : sdDescending;
            if (grouped)
                QSortGroupIndexed();
            else
                QSortIndexed();
        } else {
            ss->Column = -1;
            ss->Direction = ss->InitSortDirection;
        }
    } else {
        const bool same = ss->Column == RealCol && !ss->IndexShow;
        ss->IndexShow = false;
        bool undo = false;
        if (same) {
            ss->ToggleDirection();
            undo = ss->UndoSort && ss->Direction == ss->InitSortDirection;
        } else {
            ss->Column = RealCol;
            ss->Direction = ss->InitSortDirection;
        }
        if (undo) {
            QUnSort();
            FSortIndexes->Clear();
            ss->Column = -1;
        } else if (grouped) {
            QSortGroup();
        } else {
            QSort();
        }
    }
    FSortTime = Cardinal(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count());
    if (merged > 0 && ss->AutoColumnMerge)
        MergeAllColumnCells();
    if (FControlList->Count() > 0)
        CellControlsUpdate(true);
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
